// The desktop program on Windows: the start page in the system's web control
// and the settings window, in Windows' own controls.
#include "generator/windows_api.h"

#include <string>
#include <vector>

#include "app/console_output.h"
#include "app/desktop_command_line.h"
#include "app/process_setup.h"
#include "run/surroundings.h"
#include "winui/desktop_program.h"

namespace {

// A windowed program has no console of its own: what it prints goes to the
// console it was started from, unless that output was sent elsewhere.
void PrintToTheStartingConsole() {
  if (GetStdHandle(STD_OUTPUT_HANDLE) != nullptr || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  for (const DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) SetStdHandle(stream, console);
  }
}

// The answer to a command line with arguments: the help or the version, or
// the usage for one the program does not take.
int AnswerCommandLine(const std::vector<std::string>& arguments) {
  PrintToTheStartingConsole();
  {
    qv::TextOutput out(qv::StandardStream::kOutput);
    if (qv::AnswerHelpOrVersion(arguments, out)) return 0;
  }
  qv::TextOutput err(qv::StandardStream::kError);
  return qv::RefuseCommandLine(arguments[1], err);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = qv::CommandLineArguments(argc, argv);
  if (arguments.size() > 1) return AnswerCommandLine(arguments);
  qv::IgnoreFileSizeSignal();
  const qv::winui::OleApartment apartment;
  qv::SystemSurroundings surroundings;
  qv::winui::DesktopProgram program(surroundings);
  program.Start();
  return program.Run();
}
