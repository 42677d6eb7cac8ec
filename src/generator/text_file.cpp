#include "generator/text_file.h"

#include <algorithm>
#include <cstring>

#include "generator/text.h"
#include "generator/text_encoding.h"

namespace qv {
namespace {

// Reads and writes go through buffers of this size; a line longer than the
// buffer is passed on piece by piece, so skipping it never holds it whole.
constexpr std::size_t kBufferSize = 64 * 1024;

// True when the whole file is valid UTF-8, read once from start to end so
// that a file of any size is judged as a whole; false when it cannot be read.
bool IsUtf8File(const std::string& path, char* buffer) {
  Result<std::unique_ptr<ReadableFile>> file = ReadableFile::Open(path);
  if (!file.ok()) return false;
  Utf8Validator validator;
  for (std::size_t count;
       !validator.failed() && (count = (*file)->Read(buffer, kBufferSize)) > 0;) {
    validator.Add(std::string_view(buffer, count));
  }
  return validator.valid();
}

}  // namespace

LineReader::LineReader(const std::string& path, std::size_t longest_line, FileText text)
    : path_(path), longest_line_(longest_line) {
  // Left uninitialised: a run opens thousands of small shortcut files, and
  // filling each buffer first would cost more than reading the file.
  buffer_.reset(new char[kBufferSize]);
  // The choice is made for the whole file before its first line is read, so
  // that every line of it is read the same way.
  from_ansi_ =
      text == FileText::kUtf8OrAnsi && HasAnsiCodePage() && !IsUtf8File(path, buffer_.get());
  Result<std::unique_ptr<ReadableFile>> file = ReadableFile::Open(path);
  if (!file.ok()) {
    open_status_ = file.status();
    buffer_.reset();
    return;
  }
  file_ = std::move(file).value();
}

// Moves the unread bytes to the front of the buffer and reads more behind
// them; false when nothing was added (end of file, a read error, or a full
// buffer).
bool LineReader::Fill() {
  if (file_ == nullptr || eof_) return false;
  if (start_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + start_, end_ - start_);
    end_ -= start_;
    start_ = 0;
  }
  if (end_ == kBufferSize) return false;
  const std::size_t count = file_->Read(buffer_.get() + end_, kBufferSize - end_);
  if (count == 0) {
    eof_ = true;
    return false;
  }
  end_ += count;
  return true;
}

bool LineReader::ReadLine(std::string* sink) {
  if (start_ == end_ && !Fill()) return false;
  for (;;) {
    const char* begin = buffer_.get() + start_;
    const char* end = buffer_.get() + end_;
    const char* stop = std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
    if (sink != nullptr && sink->size() < longest_line_) {
      sink->append(begin, std::min<std::size_t>(stop - begin, longest_line_ - sink->size()));
    }
    if (stop == end) {
      start_ = end_;
      if (!Fill()) return true;  // a last line without terminator
      continue;
    }
    const bool carriage_return = *stop == '\r';
    start_ = static_cast<std::size_t>(stop - buffer_.get()) + 1;
    // A CR may be followed by its LF only after the next read.
    if (carriage_return && (start_ < end_ || Fill()) && buffer_[start_] == '\n') ++start_;
    return true;
  }
}

Status LineReader::read_status() const {
  if (file_ == nullptr || file_->read_status().ok()) return Status::Ok();
  return Status::Error("cannot read " + path_ + ": " + file_->read_status().reason());
}

bool LineReader::Next(std::string& line) {
  line.clear();
  if (!ReadLine(&line)) return false;
  if (from_ansi_) line = Utf8FromAnsi(line);
  return true;
}

bool LineReader::Skip() {
  return ReadLine(nullptr);
}

bool LineReader::NextStartsWith(std::string_view prefix) {
  if (file_ == nullptr) return false;
  // A terminator never belongs to a line, so such a prefix cannot match.
  if (prefix.find_first_of("\r\n") != std::string_view::npos) return false;
  if (prefix.size() > kBufferSize) return false;
  while (end_ - start_ < std::max<std::size_t>(prefix.size(), 1) && Fill()) {
  }
  if (start_ == end_) return false;  // no next line
  const std::size_t available = std::min(prefix.size(), end_ - start_);
  return std::string_view(buffer_.get() + start_, available) == prefix;
}

std::vector<std::string> ReadLines(const std::string& path, std::size_t max_lines,
                                   std::size_t longest_line, FileText text) {
  std::vector<std::string> lines;
  LineReader reader(path, longest_line, text);
  std::string line;
  while (lines.size() < max_lines && reader.Next(line)) lines.push_back(line);
  return lines;
}

void LineWriter::WriteLine(std::string_view line) {
  if (!status_.ok()) return;
  buffer_.append(line);
  buffer_.append("\r\n");
  if (buffer_.size() >= kBufferSize) Flush();
}

void LineWriter::WriteLine(std::initializer_list<std::string_view> pieces) {
  if (!status_.ok()) return;
  for (const std::string_view piece : pieces) buffer_.append(piece);
  buffer_.append("\r\n");
  if (buffer_.size() >= kBufferSize) Flush();
}

Status LineWriter::Flush() {
  if (status_.ok() && !buffer_.empty()) status_ = file_.Append(buffer_);
  buffer_.clear();
  return status_;
}

}  // namespace qv
