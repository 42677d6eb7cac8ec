// The document mode of the system's web control. Unless told otherwise, the
// control shows pages as a browser of 2006 did; a value under the current
// user, named after the executable, asks for its newest mode (11, "edge"),
// whatever the page declares.
#pragma once

#include <string>

#include "generator/status.h"

namespace qv::winui {

// The value that asks for the newest document mode.
inline constexpr unsigned long kNewestDocumentMode = 11001;

// Writes kNewestDocumentMode for the executable named `executable_name`
// ("vorlindo.exe") unless it is there already.
Status AskForNewestDocumentMode(const std::string& executable_name);

// The document mode asked for `executable_name`; 0 when none is.
unsigned long DocumentModeAskedFor(const std::string& executable_name);

// The file name of the running executable.
std::string ExecutableName();

}  // namespace qv::winui
