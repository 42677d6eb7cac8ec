#include "app/desktop_command_line.h"

#include "vorlindo_version.h"

namespace qv {
namespace {

constexpr const char* kProgramName = "vorlindo";

constexpr const char* kUsage =
    "usage: vorlindo [--help | --version]\n"
    "Shows the start page built from the Favorites folder, and the settings window that\n"
    "changes it. The settings and the page lie beside the program, or, when it is installed,\n"
    "in your own folder: $XDG_DATA_HOME/vorlindo (~/.local/share/vorlindo), on Windows\n"
    "%APPDATA%\\Qelmora Vorlindo. The settings window shows where the page is.\n"
    "  --help     print this help\n"
    "  --version  print the program's name and version\n";

}  // namespace

bool AnswerHelpOrVersion(const std::vector<std::string>& arguments, std::ostream& out) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "--help" || arguments[i] == "-h") {
      out << kUsage << std::flush;
      return true;
    }
    if (arguments[i] == "--version") {
      out << kProgramName << " " << kVersion << "\n" << std::flush;
      return true;
    }
  }
  return false;
}

int RefuseCommandLine(const std::string& argument, std::ostream& err) {
  err << kProgramName << ": " << (argument.starts_with('-') ? "unknown option " : "no use for ")
      << argument << "\n"
      << kUsage << std::flush;
  return 2;
}

}  // namespace qv
