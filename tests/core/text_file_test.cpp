#include "generator/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using Lines = std::vector<std::string>;
constexpr std::size_t kBuffer = 64 * 1024;

Lines ReadAll(const testing::TempFolder& folder, const std::string& bytes) {
  folder.WriteFile("file.txt", bytes);
  return ReadLines(folder.Path("file.txt"), 1'000'000);
}

TEST(LineReaderTest, EveryTerminatorEndsALine) {
  testing::TempFolder folder;
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a\nb\n", {"a", "b"}},
      {"a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}},
      {"\r\r", {"", ""}},
      {std::string("a\0b", 3), {std::string("a\0b", 3)}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAll(folder, c.bytes), c.lines) << c.bytes;
  EXPECT_EQ(ReadLines(folder.Path("file.txt"), 0), Lines{});
}

TEST(LineReaderTest, TerminatorsAcrossTheBufferEdge) {
  testing::TempFolder folder;
  const std::string head(kBuffer - 1, 'x');
  EXPECT_EQ(ReadAll(folder, head + "\r\nnext"), (Lines{head, "next"}));
  EXPECT_EQ(ReadAll(folder, head + "\r"), (Lines{head}));
  EXPECT_EQ(ReadAll(folder, head + "\r\r\n"), (Lines{head, ""}));
  const std::string long_line(3 * kBuffer + 17, 'y');
  EXPECT_EQ(ReadAll(folder, "a\n" + long_line + "\r\nb"), (Lines{"a", long_line, "b"}));
}

TEST(LineReaderTest, PeeksAndSkipsWithoutKeepingLongLines) {
  testing::TempFolder folder;
  const std::string huge(8 * 1024 * 1024, 'U');
  // The first "URL=" straddles the buffer edge.
  const std::string pad(kBuffer - 4, 'p');
  folder.WriteFile("file.url", pad + "\r\nURL=a\r\n" + huge + "\nURL=b");
  LineReader reader(folder.Path("file.url"));
  std::string line;
  EXPECT_FALSE(reader.NextStartsWith("URL="));
  EXPECT_TRUE(reader.Skip());
  EXPECT_TRUE(reader.NextStartsWith("URL="));
  EXPECT_TRUE(reader.Next(line));
  EXPECT_EQ(line, "URL=a");
  EXPECT_FALSE(reader.NextStartsWith("URL="));
  EXPECT_TRUE(reader.Skip());
  EXPECT_FALSE(reader.NextStartsWith("URL=bc"));
  EXPECT_TRUE(reader.Next(line));
  EXPECT_EQ(line, "URL=b");
  EXPECT_FALSE(reader.NextStartsWith(""));
  EXPECT_FALSE(reader.Skip());
}

TEST(LineReaderTest, MissingFileHasNoLinesAndSaysWhy) {
  testing::TempFolder folder;
  LineReader reader(folder.Path("missing.txt"));
  EXPECT_FALSE(reader.is_open());
  EXPECT_NE(reader.open_error().find(folder.Path("missing.txt")), std::string::npos);
  EXPECT_FALSE(reader.NextStartsWith(""));
  EXPECT_FALSE(reader.Skip());
}

TEST(LineWriterTest, EndsEveryLineWithCrLfAndClosesOnDestruction) {
  testing::TempFolder folder;
  Lines lines = {"", "first", "\xC3\xA9"};
  for (int i = 0; i < 20'000; ++i) lines.push_back(std::to_string(i));
  {
    LineWriter writer(folder.Path("out.txt"));
    for (const auto& line : lines) writer.WriteLine(line);
  }
  EXPECT_EQ(folder.ReadFile("out.txt"), testing::CrLfLines(lines));
}

TEST(LineWriterTest, ReportsTheFirstFailure) {
  testing::TempFolder folder;
  for (const char* name : {"no/such/folder/out.txt", "out.txt"}) {
    LineWriter writer(folder.Path(name));
    Status status = Status::Ok();
    {
      testing::FileSizeLimit limit(1000);
      for (int i = 0; i < 1000; ++i) writer.WriteLine("0123456789");
      status = writer.Close();
    }
    EXPECT_FALSE(status.ok()) << name;
    EXPECT_NE(status.reason().find(folder.Path(name)), std::string::npos) << status.reason();
  }
}

}  // namespace
}  // namespace qv
