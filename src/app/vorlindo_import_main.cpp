// vorlindo-import: brings a browser's bookmarks into the Favorites folder of
// the settings beside the program; see RunImportCommand.
#include <iostream>
#include <string>
#include <vector>

#include "import/import_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  qv::import::SystemImportSurroundings surroundings;
  return qv::import::RunImportCommand(arguments, surroundings, std::cout, std::cerr);
}
