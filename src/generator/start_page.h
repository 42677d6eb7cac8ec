// The generation run: builds the start page from scratch.
#pragma once

#include <string>
#include <vector>

#include "generator/status.h"
#include "generator/surroundings.h"
#include "generator/types.h"

namespace qv {

// What a run leaves for its caller. The run itself never stops early: a step
// that fails is passed over and the run goes on; `problems` says which, in a
// line each, for a caller that wants to tell the user.
struct RunReport {
  std::string page_path;              // program folder followed by PageFileName
  Status page_status = Status::Ok();  // whether the page itself was written
  std::vector<std::string> problems;
};

// Reads the settings file into `state`, settles the Favorites folder, the
// language lines and PageFileName, removes the old page, scans the Favorites
// folder, writes the page and asks the preview to show it.
RunReport BuildStartPage(ProgramState& state, RunSurroundings& surroundings);

}  // namespace qv
