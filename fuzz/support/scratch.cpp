#include "support/scratch.h"

#include <locale.h>
#include <wchar.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qv::fuzz {
namespace {

locale_t Utf8Locale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) {
    std::fputs("the fuzz targets need the C.UTF-8 locale\n", stderr);
    std::abort();
  }
  return locale;
}

// The length of the valid sequence at the start of `text`, 0 when none.
std::size_t SequenceLength(std::string_view text) {
  const locale_t previous = uselocale(Utf8Locale());
  mbstate_t state{};
  wchar_t wide = 0;
  const std::size_t length = mbrtowc(&wide, text.data(), text.size(), &state);
  uselocale(previous);
  if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2)) return 0;
  // The C library also decodes the old forms of code points past Unicode.
  if (static_cast<std::uint32_t>(wide) > 0x10FFFF) return 0;
  return length == 0 ? 1 : length;  // the zero byte is a character of its own
}

}  // namespace

const testing::TempFolder& Scratch() {
  static const testing::TempFolder folder;
  return folder;
}

std::string WriteScratchFile(std::string_view name, std::string_view bytes) {
  Scratch().WriteFile(name, bytes);
  return Scratch().Path(name);
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = SequenceLength(text.substr(pos));
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::size_t Utf8CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    const std::size_t length = SequenceLength(text.substr(pos));
    pos += length == 0 ? 1 : length;
  }
  return count;
}

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace qv::fuzz
