#include "import/bookmarks_html_end.h"

#include <optional>
#include <string>

#include "generator/text.h"

namespace qv::import {
namespace {

// What may follow the last tag of a whole file: blanks, zero bytes and the
// old end-of-file mark (Ctrl-Z).
constexpr std::string_view kTrailing(" \t\r\n\f\0\x1A", 7);

bool IsAsciiAlphanumeric(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

struct Tag {
  std::string name;  // lower case, "/" before the name of an end tag
  std::size_t start = 0;
  std::size_t end = 0;  // after its ">"
};

// The last tag of the first `end` characters of `html`, when they end in one.
std::optional<Tag> LastTag(std::string_view html, std::size_t end) {
  const std::size_t last = html.substr(0, end).find_last_not_of(kTrailing);
  if (last == std::string_view::npos || html[last] != '>') return std::nullopt;
  const std::size_t open = html.rfind('<', last);
  if (open == std::string_view::npos) return std::nullopt;
  std::string_view inside = html.substr(open + 1, last - open - 1);
  const bool closing = inside.starts_with('/');
  if (closing) inside.remove_prefix(1);
  std::size_t length = 0;
  while (length < inside.size() && IsAsciiAlphanumeric(inside[length])) ++length;
  if (length == 0) return std::nullopt;
  return Tag{(closing ? "/" : "") + AsciiLowerCase(inside.substr(0, length)), open, last + 1};
}

// True when `tail` ends the line and holds nothing but line ends, zero bytes
// and Ctrl-Z: a cut falls there once in a line, a cut after a blank of the
// next line's indent not at all.
bool EndsTheLine(std::string_view tail) {
  return tail.find_first_of("\r\n") == 0 &&
         tail.find_first_not_of(std::string_view("\r\n\0\x1A", 4)) == std::string_view::npos;
}

}  // namespace

bool EndsWithTag(std::string_view html) {
  const std::size_t last = html.find_last_not_of(kTrailing);
  return last != std::string_view::npos && html[last] == '>';
}

bool EndsAfterWholeEntry(std::string_view html) {
  std::optional<Tag> last = LastTag(html, html.size());
  if (!last) return false;
  if (last->name == "/html") return true;
  if (!EndsTheLine(html.substr(last->end))) return false;
  if (last->name == "p") {
    // Browsers write "<p>" after every "</DL>"; after anything else it
    // tells nothing.
    last = LastTag(html, last->start);
    return last && last->name == "/dl";
  }
  return last->name == "/a" || last->name == "/dt" || last->name == "/dl";
}

}  // namespace qv::import
