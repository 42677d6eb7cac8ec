// The desktop program: the start page with its live preview and the settings window.
#include <QApplication>
#include <QLoggingCategory>
#include <cstdio>
#include <functional>
#include <future>
#include <string>

#include "app/console_output.h"
#include "app/desktop_command_line.h"
#include "app/process_setup.h"
#include "run/surroundings.h"
#include "ui/desktop_program.h"
#include "ui/startup_environment.h"
#include "ui/web_engine_preview.h"

int main(int argc, char* argv[]) {
  {
    qv::TextOutput out(qv::StandardStream::kOutput);
    if (qv::AnswerHelpOrVersion(qv::CommandLineArguments(argc, argv), out)) return 0;
  }
  const std::string no_display = qv::MissingDisplayMessage();
  if (!no_display.empty()) {
    std::fprintf(stderr, "%s\n", no_display.c_str());
    return 1;
  }
  qv::IgnoreFileSizeSignal();
  qv::PrepareBrowserEnvironment();
  // The browser engine describes its set-up at every start; nobody needs that.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

  // Qt takes its own options (such as -platform) out of the command line;
  // anything left is none of the program's.
  QApplication application(argc, argv);
  if (argc > 1) {
    qv::TextOutput err(qv::StandardStream::kError);
    return qv::RefuseCommandLine(argv[1], err);
  }
  qv::SystemSurroundings surroundings;
  // The first page is written while the windows and the browser engine start.
  std::future<qv::FirstRun> first_run =
      std::async(std::launch::async, qv::MakeFirstRun, std::ref(surroundings));
  qv::DesktopProgram program(surroundings, new qv::WebEnginePreview);
  program.Start(first_run.get());
  return QApplication::exec();
}
