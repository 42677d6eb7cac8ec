#include "ui/main_window.h"

#include <QEvent>
#include <QVBoxLayout>

#include "control/captions.h"
#include "ui/accessible_controls.h"
#include "ui/page_preview.h"
#include "ui/twips.h"

namespace qv {

MainWindow::MainWindow(PagePreview* preview, QWidget* parent) : QWidget(parent), preview_(preview) {
  InstallAccessibleControls();
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(QString::fromUtf8(kCreatedCaptions.main_title));
  // The window opens at its design size; the preview fills it at any size.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  preview_->setObjectName(QStringLiteral("pagePreview"));
  layout->addWidget(preview_);
  resize(TwipsToPixels(kMainClientTwips, ScreenDotsPerInch(*this)));
}

void MainWindow::ShowPage(const std::string& page_path) {
  preview_->Navigate(QString::fromStdString(page_path));
}

void MainWindow::AnticipateColour(const std::string& old_code, const std::string& new_code) {
  preview_->AnticipateColour(QString::fromStdString(old_code), QString::fromStdString(new_code));
}

// A queued call waits behind the window events already read; it is dropped
// with the window.
void MainWindow::RunAfterPendingEvents(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void MainWindow::SetTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) emit Activated();
  return QWidget::event(event);
}

}  // namespace qv
