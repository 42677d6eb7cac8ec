// The preview: the one widget that shows the generated page, held by the main
// window.
#pragma once

#include <QString>
#include <QWidget>

namespace qv {

// How long after the last colour painted ahead the colours count as at rest,
// for the page to be built and read: longer than a held key's repeat, and
// than the window's thread is held up on a busy machine.
inline constexpr qint64 kColoursRestMs = 150;

class PagePreview : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // Starts showing the page file at `page_path`; returns without waiting for it.
  virtual void Navigate(const QString& page_path) = 0;
  // Paints `new_code` wherever the page on show holds `old_code`, ahead of
  // the page that will confirm it; true when it will. A preview that cannot
  // does nothing.
  virtual bool AnticipateColour(const QString& old_code, const QString& new_code) {
    Q_UNUSED(old_code);
    Q_UNUSED(new_code);
    return false;
  }

 signals:
  // The page asked for last has been shown (or failed to load).
  void PageShown(bool ok);
};

}  // namespace qv
