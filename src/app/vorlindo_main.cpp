// The desktop program: the start page with its live preview and the settings window.
#include <QApplication>
#include <QLoggingCategory>
#include <cstdio>
#include <string>

#include "app/process_setup.h"
#include "run/surroundings.h"
#include "ui/desktop_program.h"
#include "ui/startup_environment.h"
#include "ui/web_engine_preview.h"

int main(int argc, char* argv[]) {
  const std::string no_display = qv::MissingDisplayMessage();
  if (!no_display.empty()) {
    std::fprintf(stderr, "%s\n", no_display.c_str());
    return 1;
  }
  qv::IgnoreFileSizeSignal();
  qv::PrepareBrowserEnvironment();
  // The browser engine describes its set-up at every start; nobody needs that.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

  QApplication application(argc, argv);
  qv::SystemSurroundings surroundings;
  qv::DesktopProgram program(surroundings, new qv::WebEnginePreview);
  program.Start();
  return QApplication::exec();
}
