// The preview: the one widget that shows the generated page, held by the main
// window.
#pragma once

#include <QString>
#include <QWidget>

namespace qv {

class PagePreview : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  // Starts showing the page file at `page_path`; returns without waiting for it.
  virtual void Navigate(const QString& page_path) = 0;

 signals:
  // The page asked for last has been shown (or failed to load).
  void PageShown(bool ok);
};

}  // namespace qv
