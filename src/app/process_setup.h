// What the executables set up in their process before the first run.
#pragma once

#include <string>
#include <vector>

namespace qv {

// A write past the file size limit fails with an error the run reports,
// instead of the signal that would end the process without a word and leave
// a temporary file behind. Nothing to do where there is no such signal.
void IgnoreFileSizeSignal();

// The command line, the program's name first, as UTF-8: on Windows from the
// system's UTF-16 form, since `argv` holds it in the ANSI code page there,
// where a path outside the code page is lost; elsewhere `argv` as it is.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace qv
