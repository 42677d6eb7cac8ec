#include "import/source_file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "generator/file_system.h"
#include "generator/text.h"
#include "generator/text_encoding.h"

namespace qv::import {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

Status TooLarge(const std::string& path, std::size_t max_bytes) {
  return Status::Error(path + " is larger than " + std::to_string(max_bytes >> 20) +
                       " MiB, the most an import reads");
}

// The bytes of `file` up to its end, read into memory taken at `size` (the
// file's size, 0 when unknown), so that a file of tens of megabytes is copied
// once rather than again at each growth; one that grows meanwhile is read on,
// up to the cap.
Result<std::string> ReadAll(ReadableFile& file, const std::string& path, std::size_t max_bytes,
                            std::size_t size) {
  constexpr std::size_t kFirstPiece = 4096;
  // A byte more, so that the read which finds the end has room to try.
  std::string bytes(std::min(size == 0 ? kFirstPiece : size, max_bytes) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const std::size_t count =
        file.Read(bytes.data() + filled, std::min(bytes.size() - filled, kPiece));
    if (count == 0) break;
    filled += count;
    if (filled > max_bytes) return TooLarge(path, max_bytes);
    if (filled == bytes.size()) bytes.resize(std::min(2 * filled, max_bytes + 1));
  }
  if (!file.read_status().ok()) {
    return Status::Error("cannot read " + path + ": " + file.read_status().reason());
  }
  bytes.resize(filled);
  return bytes;
}

}  // namespace

Result<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  const Result<std::unique_ptr<ReadableFile>> opened = ReadableFile::Open(path);
  if (!opened.ok()) return opened.status();
  // The size refuses a huge file at once.
  std::error_code size_error;
  const std::uintmax_t size = std::filesystem::file_size(NativePath(path), size_error);
  if (size_error) return ReadAll(**opened, path, max_bytes, 0);
  if (size > max_bytes) return TooLarge(path, max_bytes);
  return ReadAll(**opened, path, max_bytes, static_cast<std::size_t>(size));
}

Result<std::string> ReadWholeFile(const OpenFolder& folder, const std::string& name,
                                  std::size_t max_bytes) {
  const Result<std::unique_ptr<ReadableFile>> opened = folder.OpenFile(name);
  if (!opened.ok()) return opened.status();
  return ReadAll(**opened, folder.path() + name, max_bytes, 0);
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}

std::string RepairUtf8(std::string_view text) {
  std::string repaired;
  repaired.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = Utf8CharAt(text, pos).length;
    if (length == 0) {
      repaired += "\xEF\xBF\xBD";
      ++pos;
    } else {
      repaired.append(text, pos, length);
      pos += length;
    }
  }
  return repaired;
}

std::string ShortQuote(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return std::string(text);
  std::size_t cut = max_bytes;
  while (cut > 0 && IsContinuation(static_cast<unsigned char>(text[cut]))) --cut;
  return std::string(text.substr(0, cut)) + "...";
}

}  // namespace qv::import
