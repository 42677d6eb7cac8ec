#include "gui_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>

#include "ui/startup_environment.h"

namespace qv::testing {

MessageBoxAnswerer::MessageBoxAnswerer() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    seen.emplace_back(box->windowTitle(), box->text());
    box->button(QMessageBox::Ok)->click();
  });
  timer_.start(10);
}

void GuiProgramTest::Start() {
  preview_ = new RecordingPreview;
  program_ = std::make_unique<DesktopProgram>(
      surroundings_, preview_,
      [this](const QUrl& address, OpenFailed failed) {
        opened_.push_back(address.toString());
        open_failed_ = std::move(failed);
        return open_succeeds_;
      },
      [this](const QString&, const QString& start) {
        chooser_starts_.push_back(start);
        return chosen_folder_;
      });
  program_->controller().set_end_program([] {});
  program_->Start();
  ASSERT_TRUE(QTest::qWaitFor([this] { return program_->settings_window().isVisible(); }));
}

}  // namespace qv::testing

// Runs the tests inside one application object; without a display (as when
// the build lists the tests) they run on the offscreen platform.
int main(int argc, char* argv[]) {
  qv::PrepareBrowserEnvironment();
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
