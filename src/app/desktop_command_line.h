// The desktop program's command line: without arguments it opens its
// windows; it answers --help and --version without opening any.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qv {

// When `arguments` (the program's name first) ask for the help or the
// version, prints it to `out` and returns true.
bool AnswerHelpOrVersion(const std::vector<std::string>& arguments, std::ostream& out);

// Prints what `argument` is, and the usage, to `err` for a command line the
// program does not take, and returns the exit status for it, 2.
int RefuseCommandLine(const std::string& argument, std::ostream& err);

}  // namespace qv
