// vorlindo-import: brings a browser's bookmarks into the Favorites folder of
// the settings beside the program; see RunImportCommand.
#include <string>
#include <vector>

#include "app/console_output.h"
#include "app/process_setup.h"
#include "import/import_command.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments = qv::CommandLineArguments(argc, argv);
  if (!arguments.empty()) arguments.erase(arguments.begin());
  qv::TextOutput out(qv::StandardStream::kOutput);
  qv::TextOutput err(qv::StandardStream::kError);
  qv::IgnoreFileSizeSignal();
  qv::import::SystemImportSurroundings surroundings;
  return qv::import::RunImportCommand(arguments, surroundings, out, err);
}
