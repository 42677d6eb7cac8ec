// The fuzz targets hand their input to readers that take a path: the input
// becomes a file in a folder of the process's own, made under $TMPDIR (tools/fuzz
// points it at memory) and removed when the process ends normally.
#pragma once

#include <string>
#include <string_view>

#include "support/temp_folder.h"

namespace qv::fuzz {

// The folder of this process, made on first use.
const testing::TempFolder& Scratch();

// Writes `bytes` to the file `name` in the scratch folder; returns its path.
std::string WriteScratchFile(std::string_view name, std::string_view bytes);

// True when `text` is valid UTF-8 (RFC 3629), as judged by the C library's
// own decoder: an oracle independent of the program's text rules.
bool IsValidUtf8(std::string_view text);

// The number of characters of `text` when every byte that starts no valid
// UTF-8 sequence counts as one character, by the C library's decoder.
std::size_t Utf8CharCount(std::string_view text);

// Aborts with `what` when `holds` is false, so that libFuzzer keeps the input.
void Check(bool holds, const char* what);

}  // namespace qv::fuzz
