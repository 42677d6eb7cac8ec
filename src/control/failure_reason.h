// A failure's reason as the windows show it: for the common failures of the
// system, a sentence in the window's language with the system's words after
// it as a detail; otherwise the reason as it came.
#pragma once

#include <cstdint>
#include <string>

#include "generator/status.h"

namespace qv {

std::string ReasonInLanguage(const Status& status, std::int16_t language_code);

}  // namespace qv
