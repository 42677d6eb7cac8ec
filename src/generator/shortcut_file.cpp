#include "generator/shortcut_file.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "generator/file_system.h"
#include "generator/text.h"
#include "generator/utf7.h"

namespace qv {
namespace {

// The file is read in pieces of this size; a line longer than a piece is
// followed piece by piece. Shortcut files are mostly far smaller, and a run
// reads thousands of them: the piece is on the stack, not taken from the heap
// and given back for each file.
constexpr std::size_t kPieceSize = 16 * 1024;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kAddressKey = "URL=";
// Longer names are none of the shortcut's own sections and need not be kept.
constexpr std::size_t kLongestSectionName = 64;
constexpr char32_t kReplacementCharacter = 0xFFFD;

// Blanks and tabs, passed over before a key or a section name.
bool IsIndent(char c) {
  return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// The position of the first character of `piece` from `pos` on for which
// `stop` holds, or the size of `piece` when there is none.
template <typename Stop>
std::size_t FindFrom(std::string_view piece, std::size_t pos, Stop stop) {
  return static_cast<std::size_t>(std::find_if(piece.begin() + pos, piece.end(), stop) -
                                  piece.begin());
}

enum class Section { kOther, kShortcut, kAnsiCopy, kUnicodeCopy };

Section SectionNamed(std::string_view name) {
  while (!name.empty() && IsIndent(name.front())) name.remove_prefix(1);
  while (!name.empty() && IsIndent(name.back())) name.remove_suffix(1);
  if (EqualAsciiFolded(name, "internetshortcut")) return Section::kShortcut;
  if (EqualAsciiFolded(name, "internetshortcut.a")) return Section::kAnsiCopy;
  if (EqualAsciiFolded(name, "internetshortcut.w")) return Section::kUnicodeCopy;
  return Section::kOther;
}

// Turns UTF-16 LE into UTF-8 piece by piece: a code unit or a surrogate pair
// split between two pieces is joined again. A surrogate without its partner
// and an odd last byte become U+FFFD.
class Utf16Decoder {
 public:
  void Decode(std::string_view bytes, std::string& out) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t pos = 0;
    if (low_byte_ && !bytes.empty()) {
      AddUnit(static_cast<char16_t>(*low_byte_ | byte(0) << 8), out);
      low_byte_.reset();
      pos = 1;
    }
    for (; pos + 1 < bytes.size(); pos += 2) {
      AddUnit(static_cast<char16_t>(byte(pos) | byte(pos + 1) << 8), out);
    }
    if (pos < bytes.size()) low_byte_ = byte(pos);
  }

  void Finish(std::string& out) {
    if (high_surrogate_ != 0 || low_byte_) AppendUtf8(kReplacementCharacter, out);
    high_surrogate_ = 0;
    low_byte_.reset();
  }

 private:
  void AddUnit(char16_t unit, std::string& out) {
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high_surrogate_ != 0 && low) {
      AppendUtf8(0x10000 + ((high_surrogate_ - 0xD800) << 10) + (unit - 0xDC00), out);
      high_surrogate_ = 0;
      return;
    }
    if (high_surrogate_ != 0) AppendUtf8(kReplacementCharacter, out);
    high_surrogate_ = high ? unit : 0;
    if (!high) AppendUtf8(low ? kReplacementCharacter : unit, out);
  }

  std::optional<unsigned char> low_byte_;
  char16_t high_surrogate_ = 0;
};

// The text of a shortcut file in pieces, after its byte-order mark.
class ShortcutText {
 public:
  // The buffer is left uninitialised: filling it would cost more than
  // reading most files.
  explicit ShortcutText(ReadableFile& file) : file_(file) {}

  // The next piece of text; false at the end of the file.
  bool Next(std::string_view& piece) {
    if (finished_) return false;
    std::size_t size = file_.Read(buffer_.data(), kPieceSize);
    std::size_t start = 0;
    if (first_) {
      first_ = false;
      // A read may deliver fewer bytes than the longest mark.
      for (std::size_t more = size; more > 0 && size < kUtf8Mark.size(); size += more) {
        more = file_.Read(buffer_.data() + size, kPieceSize - size);
      }
      const std::string_view head(buffer_.data(), size);
      if (head.starts_with(kUtf8Mark)) start = kUtf8Mark.size();
      if (head.starts_with(kUtf16LeMark)) {
        start = kUtf16LeMark.size();
        utf16_ = true;
      }
    }
    const std::string_view bytes(buffer_.data() + start, size - start);
    if (size == 0) finished_ = true;
    if (!utf16_) {
      piece = bytes;
      return size > 0;
    }
    decoded_.clear();
    if (finished_) {
      utf16_decoder_.Finish(decoded_);
    } else {
      utf16_decoder_.Decode(bytes, decoded_);
    }
    piece = decoded_;
    return !finished_ || !decoded_.empty();
  }

 private:
  ReadableFile& file_;
  std::array<char, kPieceSize> buffer_;
  bool first_ = true;
  bool finished_ = false;
  bool utf16_ = false;
  Utf16Decoder utf16_decoder_;
  std::string decoded_;
};

// An address line that counts, and its place among the file's address lines
// (from 1; 0 for none).
struct AddressLine {
  std::string address;
  std::size_t place = 0;
};

// Follows the lines of a shortcut file piece by piece and keeps, per kind of
// section, the last address that counts.
class AddressLines {
 public:
  void Read(std::string_view piece) {
    std::size_t pos = 0;
    while (pos < piece.size()) pos = ReadFrom(piece, pos);
  }

  // The address that wins, once the last piece has been read.
  std::optional<std::string> Winner() && {
    EndLine();  // a last line without line end
    const bool copies_stand =
        ansi_copy_.place == 0 || !shortcut_address_ || ansi_copy_.address == *shortcut_address_;
    AddressLine* winner = &plain_;
    for (AddressLine* copy : {&ansi_copy_, &unicode_copy_}) {
      if (copies_stand && copy->place > winner->place) winner = copy;
    }
    if (winner->place == 0) return std::nullopt;
    return std::move(winner->address);
  }

 private:
  // Where the line in hand stands.
  enum class LinePart { kIndent, kKey, kAddress, kSectionName, kRest };

  // Reads on from `pos` in the current line part; returns where it stopped.
  std::size_t ReadFrom(std::string_view piece, std::size_t pos) {
    if (part_ == LinePart::kIndent) {
      pos = FindFrom(piece, pos, [](char c) { return !IsIndent(c); });
      if (pos == piece.size()) return pos;
    }
    const char c = piece[pos];
    switch (part_) {
      case LinePart::kIndent:
        if (IsLineEnd(c)) {
          EndLine();
        } else if (c == '[') {
          part_ = LinePart::kSectionName;
        } else {
          part_ = LinePart::kKey;
          return pos;  // the first character of the key
        }
        return pos + 1;
      case LinePart::kKey:
        return ReadKey(piece, pos);
      case LinePart::kSectionName:
        return ReadSectionName(piece, pos);
      case LinePart::kAddress:
      case LinePart::kRest:
        break;
    }
    // The rest of the line, kept whole or not at all.
    const std::size_t stop = FindFrom(piece, pos, IsLineEnd);
    if (part_ == LinePart::kAddress) {
      if (kept_.size() + (stop - pos) > kLongestShortcutAddress) {
        part_ = LinePart::kRest;
        std::string().swap(kept_);
      } else {
        kept_.append(piece.substr(pos, stop - pos));
      }
    }
    if (stop == piece.size()) return stop;
    EndLine();
    return stop + 1;
  }

  // Compares as much of the address key as the piece holds at once; a key
  // split between two pieces is kept in part.
  std::size_t ReadKey(std::string_view piece, std::size_t pos) {
    const std::string_view wanted = kAddressKey.substr(kept_.size());
    const std::string_view here = piece.substr(pos, wanted.size());
    const std::size_t matching = static_cast<std::size_t>(
        std::mismatch(here.begin(), here.end(), wanted.begin()).first - here.begin());
    if (matching < here.size()) {
      // The line ends before the key is whole, or holds another key.
      if (IsLineEnd(here[matching])) {
        EndLine();
        return pos + matching + 1;
      }
      part_ = LinePart::kRest;
      return pos + matching;
    }
    kept_.append(here);
    if (kept_.size() == kAddressKey.size()) {
      part_ = LinePart::kAddress;
      kept_.clear();
    }
    return pos + here.size();
  }

  std::size_t ReadSectionName(std::string_view piece, std::size_t pos) {
    const std::size_t stop = FindFrom(piece, pos, [](char c) { return c == ']' || IsLineEnd(c); });
    // One character beyond the longest name is enough to tell it too long.
    if (kept_.size() <= kLongestSectionName) {
      kept_.append(piece.substr(pos, std::min(stop - pos, kLongestSectionName + 1 - kept_.size())));
    }
    if (stop == piece.size()) return stop;
    if (piece[stop] != ']') {
      EndLine();  // no section header after all
    } else {
      section_ = SectionNamed(kept_);
      part_ = LinePart::kRest;
    }
    return stop + 1;
  }

  void EndLine() {
    if (part_ == LinePart::kAddress) TakeAddress();
    part_ = LinePart::kIndent;
    kept_.clear();
  }

  void TakeAddress() {
    const std::size_t place = ++address_count_;
    switch (section_) {
      case Section::kUnicodeCopy:
        if (Result<std::string> decoded = DecodeUtf7(kept_); decoded.ok()) {
          unicode_copy_ = {std::move(decoded).value(), place};
        }
        return;
      case Section::kAnsiCopy:
        ansi_copy_ = {std::move(kept_), place};
        return;
      case Section::kShortcut:
        shortcut_address_ = kept_;
        break;
      case Section::kOther:
        break;
    }
    plain_ = {std::move(kept_), place};
  }

  LinePart part_ = LinePart::kIndent;
  // What the line in hand has shown so far of its key, address or section
  // name.
  std::string kept_;
  Section section_ = Section::kOther;
  std::size_t address_count_ = 0;
  AddressLine plain_;
  AddressLine ansi_copy_;
  AddressLine unicode_copy_;
  std::optional<std::string> shortcut_address_;
};

}  // namespace

std::optional<std::string> ReadShortcutAddress(const std::string& path) {
  Result<std::unique_ptr<ReadableFile>> file = ReadableFile::Open(path);
  if (!file.ok()) return std::nullopt;  // a file that cannot be opened has no address
  return ReadShortcutAddress(**file);
}

std::optional<std::string> ReadShortcutAddress(ReadableFile& file) {
  ShortcutText text(file);
  AddressLines lines;
  std::string_view piece;
  while (text.Next(piece)) lines.Read(piece);
  return std::move(lines).Winner();
}

}  // namespace qv
