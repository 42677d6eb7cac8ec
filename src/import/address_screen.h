// Which bookmark addresses the import writes into shortcut files. A start
// page is for opening pages, files and mail; an address that runs script,
// queries the browser itself, or makes Windows reach another machine is left
// out: opening a network path or a search-ms: query there can hand the
// user's credentials to that machine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::import {

// Why the (cleaned) `address` is left out, as the import's summary counts
// it, or nothing when it is written:
// - "no address": empty;
// - "javascript:", "vbscript:", "data:", "place:": script, data held in the
//   address, or a query of the browser's own, none of it a page to open;
// - "network path": "\\host\share", "//host/..." and the like, and file:
//   addresses that name a host other than this machine ("file://host/...",
//   "file:////host/...", with "\" or percent-encoded slashes alike);
// - "no scheme": anything else without a scheme, drive paths ("C:\x")
//   included. Browsers store every bookmark with its scheme, so only a
//   hand-made file holds these; what they meant (a page beside the file, a
//   file on which system?) is a guess the import does not make;
// - "other scheme": every scheme not listed as written below.
// Written: http, https, ftp, mailto, file with a local path, and news and
// tel, which open the user's own news reader or phone program and reach no
// other machine's files.
std::optional<std::string> ReasonToLeaveOut(std::string_view address);

}  // namespace qv::import
