// What the executables set up in their process before the first run.
#pragma once

namespace qv {

// A write past the file size limit fails with an error the run reports,
// instead of the signal that would end the process without a word and leave
// a temporary file behind. Nothing to do where there is no such signal.
void IgnoreFileSizeSignal();

}  // namespace qv
