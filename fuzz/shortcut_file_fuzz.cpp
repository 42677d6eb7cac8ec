// The shortcut reader on any file, and UTF-7 on any text. The address read
// must not depend on where the file's pieces begin, and UTF-7 must give back
// what it was given.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "generator/shortcut_file.h"
#include "generator/utf7.h"
#include "support/scratch.h"

namespace qv::fuzz {
namespace {

// The reader takes the file 64 KiB at a time.
constexpr std::size_t kPiece = 64 * 1024;

// `input` behind a comment line that ends where its middle byte becomes the
// first of the second piece; the byte-order mark stays in front, and in a
// UTF-16 file the comment is UTF-16 too. The address must not change.
std::string BehindComment(std::string_view input) {
  std::string_view mark;
  if (input.starts_with("\xEF\xBB\xBF")) mark = input.substr(0, 3);
  if (input.starts_with("\xFF\xFE")) mark = input.substr(0, 2);
  const std::string_view rest = input.substr(mark.size());
  const bool utf16 = mark.size() == 2;
  std::size_t length = kPiece - mark.size() - rest.size() / 2;
  if (utf16) length -= length % 2;  // whole UTF-16 code units
  std::string comment;
  const auto add = [&](char c) {
    comment += c;
    if (utf16) comment += '\0';
  };
  add(';');
  while (comment.size() + (utf16 ? 4 : 2) < length) add('c');
  add('\r');
  add('\n');
  return std::string(mark) + comment + std::string(rest);
}

void CheckUtf7(std::string_view input) {
  // Encoded text always decodes, to the text itself when that is UTF-8.
  const Result<std::string> back = DecodeUtf7(EncodeUtf7(input));
  Check(back.ok(), "encoded UTF-7 decodes");
  Check(IsValidUtf8(*back), "decoded UTF-7 is UTF-8");
  if (IsValidUtf8(input)) Check(*back == input, "UTF-7 gives back its text");
  // Whatever decodes is UTF-8 and survives the way back and forth.
  if (const Result<std::string> decoded = DecodeUtf7(input); decoded.ok()) {
    Check(IsValidUtf8(*decoded), "decoded UTF-7 is UTF-8");
    const Result<std::string> again = DecodeUtf7(EncodeUtf7(*decoded));
    Check(again.ok() && *again == *decoded, "decoded UTF-7 encodes and decodes unchanged");
  }
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> address =
      qv::ReadShortcutAddress(WriteScratchFile("shortcut.url", input));
  Check(!address || address->size() <= qv::kLongestShortcutAddress, "no address is too long");
  if (input.size() < qv::fuzz::kPiece / 2) {
    const std::optional<std::string> behind =
        qv::ReadShortcutAddress(WriteScratchFile("behind.url", BehindComment(input)));
    Check(behind == address, "the address does not depend on where pieces begin");
  }
  CheckUtf7(input);
  return 0;
}
