// Internet Shortcut files: the address that opening one leads to.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qv {

class ReadableFile;

// The longest address a shortcut file line may give, in bytes as read (UTF-8
// for a UTF-16 file). A longer one is passed over: no browser opens such an
// address, and the reader never holds more than this of a line.
inline constexpr std::size_t kLongestShortcutAddress = 2 << 20;

// The address of the shortcut file at `path`, or nothing when it has none or
// cannot be read. The file is read to its end as lines (each ending at CR LF,
// CR or LF), and only the line in hand is ever held:
// - A line whose first characters after blanks and tabs are "URL=" holds an
//   address: the rest of the line, unchanged. The last such line wins,
//   whichever section it stands in. Other keys ("url=", "BASEURL=",
//   "IconFile=", "Prop3=") never count.
// - In the section [InternetShortcut.W] the address is stored in UTF-7 and is
//   decoded; one that is not valid UTF-7 is passed over.
// - When the last address in [InternetShortcut.A] differs from the last one
//   in [InternetShortcut], a tool that knows no Unicode copy has changed the
//   address: the lines of both [InternetShortcut.A] and [InternetShortcut.W]
//   are passed over.
//   Section names are matched in any letter case, blanks around them ignored.
// - A file that starts with the UTF-16 LE byte-order mark is read as UTF-16
//   and its text taken as UTF-8; the UTF-8 mark is passed over; every other
//   file is taken byte for byte.
std::optional<std::string> ReadShortcutAddress(const std::string& path);

// The same for a file already open, read from where it stands to its end.
std::optional<std::string> ReadShortcutAddress(ReadableFile& file);

}  // namespace qv
