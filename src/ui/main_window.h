// Form1, the main window: a frame around the preview W1.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

namespace qv {

class PagePreview;

// The window's design measures, in twips.
inline constexpr QSize kMainClientTwips(10545, 8595);
inline constexpr QRect kPreviewTwips(120, 0, 11775, 9135);

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Takes `preview` as its child W1.
  explicit MainWindow(PagePreview* preview, QWidget* parent = nullptr);

  PagePreview* preview() const { return preview_; }

 signals:
  void Activated();

 protected:
  bool event(QEvent* event) override;

 private:
  PagePreview* preview_;
};

}  // namespace qv
