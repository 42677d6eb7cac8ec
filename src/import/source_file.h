// Helpers the bookmark readers share: reading a store whole within a cap, and
// making its texts valid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "generator/open_folder.h"
#include "generator/status.h"

namespace qv::import {

// The bytes of the file at `path`; a file larger than `max_bytes` is refused
// without reading past the cap.
Result<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes);
// The same for the regular file `name` in `folder`; a link is not followed.
Result<std::string> ReadWholeFile(const OpenFolder& folder, const std::string& name,
                                  std::size_t max_bytes);

// `text` without a leading UTF-8 byte-order mark.
std::string_view WithoutByteOrderMark(std::string_view text);

// `text` with every byte that is not part of a valid UTF-8 sequence replaced
// by U+FFFD.
std::string RepairUtf8(std::string_view text);

// `text` shortened to at most `max_bytes` without splitting a UTF-8 sequence,
// "..." marking the cut; for quoting bytes of a file in a one-line message.
std::string ShortQuote(std::string_view text, std::size_t max_bytes);

}  // namespace qv::import
