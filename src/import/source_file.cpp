#include "import/source_file.h"

#include <filesystem>
#include <memory>

#include "generator/file_system.h"
#include "generator/text.h"

namespace qv::import {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

Status TooLarge(const std::string& path, std::size_t max_bytes) {
  return Status::Error(path + " is larger than " + std::to_string(max_bytes >> 20) +
                       " MiB, the most an import reads");
}

// The bytes of `file` up to its end; the reads stop at the cap even when the
// file grows meanwhile.
Result<std::string> ReadAll(ReadableFile& file, const std::string& path, std::size_t max_bytes) {
  std::string bytes;
  constexpr std::size_t kChunk = 1 << 16;
  for (;;) {
    const std::size_t old_size = bytes.size();
    bytes.resize(old_size + kChunk);
    const std::size_t count = file.Read(bytes.data() + old_size, kChunk);
    bytes.resize(old_size + count);
    if (bytes.size() > max_bytes) return TooLarge(path, max_bytes);
    if (count == 0) break;
  }
  if (!file.read_status().ok()) {
    return Status::Error("cannot read " + path + ": " + file.read_status().reason());
  }
  return bytes;
}

}  // namespace

Result<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  const Result<std::unique_ptr<ReadableFile>> opened = ReadableFile::Open(path);
  if (!opened.ok()) return opened.status();
  // The size refuses a huge file at once.
  std::error_code size_error;
  if (std::filesystem::file_size(path, size_error) > max_bytes && !size_error) {
    return TooLarge(path, max_bytes);
  }
  return ReadAll(**opened, path, max_bytes);
}

Result<std::string> ReadWholeFile(const OpenFolder& folder, const std::string& name,
                                  std::size_t max_bytes) {
  const Result<std::unique_ptr<ReadableFile>> opened = folder.OpenFile(name);
  if (!opened.ok()) return opened.status();
  return ReadAll(**opened, folder.path() + name, max_bytes);
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
