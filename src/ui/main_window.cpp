#include "ui/main_window.h"

#include <QEvent>

#include "control/captions.h"
#include "ui/page_preview.h"
#include "ui/twips.h"

namespace qv {

MainWindow::MainWindow(PagePreview* preview, QWidget* parent) : QWidget(parent), preview_(preview) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QString::fromUtf8(kCreatedCaptions.main_title));
  const double dots_per_inch = ScreenDotsPerInch(*this);
  resize(TwipsToPixels(kMainClientTwips, dots_per_inch));
  // The preview keeps its design size and place whatever the window's size.
  preview_->setParent(this);
  preview_->setObjectName(QStringLiteral("pagePreview"));
  preview_->setGeometry(TwipsToPixels(kPreviewTwips, dots_per_inch));
}

void MainWindow::ShowPage(const std::string& page_path) {
  preview_->Navigate(QString::fromStdString(page_path));
}

void MainWindow::SetTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) emit Activated();
  return QWidget::event(event);
}

}  // namespace qv
