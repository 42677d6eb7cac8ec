// The line reader against a plain splitter: every line, its end and the
// look-ahead agree, also where a line end falls between two buffer fills.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generator/text_file.h"
#include "support/scratch.h"

namespace qv::fuzz {
namespace {

// The reader fills its buffer 64 KiB at a time.
constexpr std::size_t kFill = 64 * 1024;

// Lines end at CR LF, CR or LF; a last line without end is a line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, stop - start));
    start = stop + 1;
    if (text[stop] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

// Reads the file at `path` mixing Next, Skip and NextStartsWith, and checks
// each step against `expected`.
void ReadAndCompare(const std::string& path, const std::vector<std::string>& expected) {
  LineReader reader(path, kLongestTextLine);
  Check(reader.is_open(), "the file opens");
  std::string line;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string& want = expected[i];
    const std::string_view half = std::string_view(want).substr(0, want.size() / 2);
    Check(reader.NextStartsWith(half), "the next line starts with its own first half");
    const std::string longer = want + "x";
    Check(!reader.NextStartsWith(longer), "no line starts with more than itself");
    if (i + 1 < expected.size() && !expected[i + 1].empty()) {
      const std::string& after = expected[i + 1];
      Check(reader.NextStartsWith(after) == std::string_view(want).starts_with(after),
            "the look-ahead stays within the next line");
    }
    if (want.size() % 3 == 1) {
      Check(reader.Skip(), "a line is there to skip");
    } else {
      Check(reader.Next(line) && line == want, "the line read is the line written");
    }
  }
  Check(!reader.Next(line) && !reader.Skip() && !reader.NextStartsWith(""),
        "nothing after the last line");
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitLines(input);
  ReadAndCompare(WriteScratchFile("lines.txt", input), lines);

  // The same text behind a long first line, so that its middle byte is the
  // first of the second buffer fill.
  if (input.size() / 2 + 2 < kFill) {
    const std::string filler(kFill - input.size() / 2 - 2, 'f');
    std::vector<std::string> padded_lines{filler};
    padded_lines.insert(padded_lines.end(), lines.begin(), lines.end());
    ReadAndCompare(WriteScratchFile("padded.txt", filler + "\r\n" + std::string(input)),
                   padded_lines);
  }
  return 0;
}
