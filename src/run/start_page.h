// The generation run: builds the start page from scratch.
#pragma once

#include <string>
#include <vector>

#include "generator/status.h"
#include "run/surroundings.h"
#include "settings/program_state.h"

namespace qv {

// What a run leaves for its caller, who shows the page. The run itself never
// stops early: a step that fails is passed over and the run goes on;
// `problems` says which, in a line each, for a caller that wants to tell the
// user.
struct RunReport {
  std::string page_path;              // the program folder followed by the page file name
  Status page_status = Status::Ok();  // whether the page itself was written
  std::vector<std::string> problems;
};

// Reads the settings file into `state`, settles the Favorites folder, the
// language lines and the page file name, removes the old page, scans the
// Favorites folder and writes the page. Shows nothing.
RunReport BuildStartPage(ProgramState& state, RunSurroundings& surroundings);

}  // namespace qv
