#include "ui/main_window.h"

#include <QEvent>

#include "ui/caption_tables.h"
#include "ui/page_preview.h"
#include "ui/twips.h"

namespace qv {

MainWindow::MainWindow(PagePreview* preview, QWidget* parent) : QWidget(parent), preview_(preview) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromUtf8(kCreatedCaptions.main_title));
  const double dots_per_inch = ScreenDotsPerInch(*this);
  resize(TwipsToPixels(kMainClientTwips, dots_per_inch));
  // The preview keeps its design size and place whatever the window's size.
  preview_->setParent(this);
  preview_->setObjectName(QStringLiteral("W1"));
  preview_->setGeometry(TwipsToPixels(kPreviewTwips, dots_per_inch));
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) emit Activated();
  return QWidget::event(event);
}

}  // namespace qv
