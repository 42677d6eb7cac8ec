#include "ui/main_window.h"

#include <QEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "control/captions.h"
#include "ui/accessible_controls.h"
#include "ui/page_preview.h"
#include "ui/twips.h"

namespace qv {
namespace {

// The least time between the end of one task run after the pending events
// and the start of the next.
constexpr qint64 kTaskSpacingMs = 100;

}  // namespace

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
  rest_.setSingleShot(true);
  rest_.setInterval(static_cast<int>(kColoursRestMs));
  connect(&rest_, &QTimer::timeout, this, [this] {
    const std::function<void()> task = std::exchange(rested_task_, nullptr);
    if (task) task();
    since_task_ended_.start();
  });
}

void MainWindow::ShowPage(const std::string& page_path) {
  preview_->Navigate(QString::fromStdString(page_path));
}

bool MainWindow::AnticipateColour(const std::string& old_code, const std::string& new_code) {
  return preview_->AnticipateColour(QString::fromStdString(old_code),
                                    QString::fromStdString(new_code));
}

// A queued call waits behind the window events already read; it is dropped
// with the window. While a slider keeps moving, the calls come one after
// another, each a rebuild that holds the window's thread while the page goes
// to disk: the next starts only some time after the last ended, so that in
// between the preview's frames reach the screen and the key presses are read.
void MainWindow::RunAfterPendingEvents(std::function<void()> task) {
  auto run = [this, task = std::move(task)] {
    task();
    since_task_ended_.start();
  };
  const qint64 wait =
      since_task_ended_.isValid() ? kTaskSpacingMs - since_task_ended_.elapsed() : 0;
  if (wait <= 0) {
    QMetaObject::invokeMethod(this, std::move(run), Qt::QueuedConnection);
  } else {
    QTimer::singleShot(static_cast<int>(wait), this, std::move(run));
  }
}

void MainWindow::RunOnceRested(std::function<void()> task) {
  rested_task_ = std::move(task);
  rest_.start();
}

void MainWindow::SetTitle(const std::string& title) {
  setWindowTitle(QString::fromStdString(title));
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) emit Activated();
  return QWidget::event(event);
}

}  // namespace qv
