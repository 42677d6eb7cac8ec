// Text files as this program reads and writes them. A line read ends at CR LF,
// at CR or at LF, and the terminator is not part of it; a last line without
// terminator is a line, an empty file has no lines. Every line written ends in
// CR LF. A file that cannot be opened reads as no lines. A reader keeps at
// most its longest-line bytes of a line and passes over the rest, so that no
// file, however damaged, takes more memory than that. Lines are written as
// they are given (UTF-8 inside the program).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/file_system.h"
#include "generator/status.h"

namespace qv {

// The longest line kept from a template, a language file or the Wine
// registry: hand-written HTML and text, whose lines stay far below it even
// with an inline picture. The bound only keeps a damaged file from filling
// the memory.
inline constexpr std::size_t kLongestTextLine = 16 << 20;

// How the bytes of a file become the text of its lines.
enum class FileText {
  // As they are: files that this program writes itself, shortcuts, and every
  // file off Windows.
  kBytes,
  // Files the user keeps (settings, templates, language files): UTF-8, or on
  // Windows, when the file as a whole is not valid UTF-8, text in the ANSI
  // code page, as older versions of the program and many editors wrote them;
  // such lines are converted to UTF-8.
  kUtf8OrAnsi,
};

class LineReader {
 public:
  LineReader(const std::string& path, std::size_t longest_line, FileText text = FileText::kBytes);

  bool is_open() const { return file_ != nullptr; }
  // Ok when the file is open, else why it could not be opened.
  const Status& open_status() const { return open_status_; }
  // Ok, or why the file could not be read to its end: the lines before the
  // failure were read, and the reader ended there as at the end of the file.
  Status read_status() const;

  // Reads the next line into `line`, cut to the longest line; false at the
  // end of the file.
  bool Next(std::string& line);
  // Passes over the next line without keeping it; false at the end.
  bool Skip();
  // True when the next line begins with `prefix`, without consuming anything.
  // It looks at the file's bytes, so `prefix` is best plain ASCII.
  bool NextStartsWith(std::string_view prefix);

 private:
  bool Fill();
  // Consumes the rest of the current line, appending it to `sink` when given.
  bool ReadLine(std::string* sink);

  std::string path_;
  std::size_t longest_line_;
  std::unique_ptr<ReadableFile> file_;
  Status open_status_ = Status::Ok();
  std::unique_ptr<char[]> buffer_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool from_ansi_ = false;
};

// Reads at most `max_lines` lines of the file at `path`, each cut to
// `longest_line`.
std::vector<std::string> ReadLines(const std::string& path, std::size_t max_lines,
                                   std::size_t longest_line, FileText text = FileText::kBytes);

// Writes lines into a file that its caller owns and closes.
class LineWriter {
 public:
  explicit LineWriter(WritableFile& file) : file_(file) {}
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Writes `line` followed by CR LF. After a failure nothing more is written.
  void WriteLine(std::string_view line);
  // Writes the pieces one after the other as one line, followed by CR LF.
  void WriteLine(std::initializer_list<std::string_view> pieces);
  // Hands what is buffered to the file; reports the first failure of any
  // write.
  Status Flush();

 private:
  WritableFile& file_;
  std::string buffer_;
  Status status_ = Status::Ok();
};

}  // namespace qv
