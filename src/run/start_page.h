// The generation run: builds the start page from scratch.
#pragma once

#include <string>
#include <vector>

#include "generator/status.h"
#include "run/surroundings.h"
#include "settings/program_state.h"
#include "settings/settings_file.h"

namespace qv {

// What a run leaves for its caller, who shows the page. A step that fails
// without costing the page is passed over and the run goes on; `problems`
// says which, in a line each, for a caller that wants to tell the user. A
// failure that stops the page from being written whole ends the run and is
// `page_status`: the page and "option.txt" of the run before then stay
// exactly as they were.
struct RunReport {
  std::string page_path;              // the program folder followed by the page file name
  Status page_status = Status::Ok();  // ok only when this run wrote the whole page
  std::vector<std::string> problems;
  // A Favorites folder was named, but there was no folder under that name.
  bool favorites_folder_missing = false;
  // The page file name the settings asked for, when the run could not use it
  // and wrote the page under the usual name instead (empty otherwise), and why.
  std::string refused_page_file_name;
  PageNameRefusal page_name_refusal = PageNameRefusal::kNone;
};

// Waits for any other run in the same program folder to end (up to 30 s),
// reads the settings file into `state`, settles the Favorites folder, the
// language lines and the page file name (a name it cannot use becomes the
// usual one in `state` too, so that a window shows the name used), scans the Favorites folder and
// writes the page and "option.txt" aside, replacing the old ones only once
// they are whole. Removes what killed runs left of their temporary files
// ("mijnstart.tmp" and "mijnstart.tmp." and six letters or digits). Never
// throws, not even when memory runs out. Shows nothing.
RunReport BuildStartPage(ProgramState& state, RunSurroundings& surroundings);

}  // namespace qv
