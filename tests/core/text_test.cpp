// Text rules and text files.
#include "generator/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "generator/text_file.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using namespace std::string_literals;

TEST(CharCountTest, BrokenSequencesCountByteByByte) {
  // é € an emoji and U+10FFFF are one character each.
  EXPECT_EQ(CharCount("\303\251\342\202\254\360\237\230\200\364\217\277\277"), 4u);
  // An overlong NUL, an overlong three-byte form, a surrogate, beyond U+10FFFF,
  // a lone continuation byte, sequences cut off by another character or the end.
  EXPECT_EQ(CharCount("\300\200\340\237\277\355\240\200\364\220\200\200\200\342\202a\303"), 17u);
}

TEST(UpperCaseTest, SimpleMappingPerCharacterWhateverTheLocale) {
  // The tests run in the "C" locale. ß has no one-letter upper case; ı -> I is
  // shorter in bytes and ɐ -> Ɐ longer; broken bytes stay.
  EXPECT_EQ(UpperCase("cats 1 café straße σοφ ı ɐ a\377b\303"),
            "CATS 1 CAFÉ STRAßE ΣΟΦ I Ɐ A\377B\303");
}

TEST(EscapeHtmlTest, EscapesMarkupNumberSignsAndLineBreaks) {
  EXPECT_EQ(EscapeHtml("a&b <i>\"#1\"</i>\r\n'"),
            "a&amp;b &lt;i&gt;&quot;&#35;1&quot;&lt;/i&gt;&#13;&#10;'");
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  const std::pair<const char*, double> cases[] = {
      {" 1", 1},        {"-1", -1},     {"1.5", 1.5},  {"abc", 0},         {"", 0},
      {"  1 2 3", 123}, {"\t-\n4", -4}, {"3abc", 3},   {"1.2.3", 1.2},     {"-.25", -0.25},
      {"+7", 7},        {"+-7", 0},     {"1e3", 1000}, {"2D2", 200},       {"5E-1", 0.5},
      {"1e", 1},        {"1,5", 1},     {"&H1F", 31},  {"&hff", 255},      {"&O17", 15},
      {"&O8", 0},       {"&X1", 0},     {"\r1", 0},    {"00.00100", 0.001}};
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
  // Huge inputs end quickly and at the right limit.
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(LeadingNumber("1e99999999999999999999999999"), inf);
  EXPECT_EQ(LeadingNumber(std::string(5'000'000, '9')), inf);
  EXPECT_EQ(LeadingNumber("0." + std::string(5'000'000, '0') + "1"), 0.0);
  EXPECT_EQ(LeadingNumber("&H" + std::string(5'000'000, 'F')), inf);
  // The first digits put the value exactly half-way between 1 and the next
  // double; a digit far behind them decides, however far.
  const std::string half_way = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(LeadingNumber(half_way), 1.0);
  EXPECT_EQ(LeadingNumber(half_way + std::string(2'000, '0') + "1"), std::nextafter(1.0, 2.0));
  EXPECT_EQ(LeadingNumber(half_way + std::string(2'000, '0') + "e0"), 1.0);
}

using Lines = std::vector<std::string>;
constexpr std::size_t kBuffer = 64 * 1024;  // the reader's buffer

TEST(LineReaderTest, EveryTerminatorEndsALineAlsoAcrossTheBufferEdge) {
  testing::TempFolder folder;
  const std::string edge(kBuffer - 1, 'x'), long_line(3 * kBuffer + 17, 'y');
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"a\0b\nc\r\n\r\nd\n\re\r\r"s, {"a\0b"s, "c", "", "d", "", "e", ""}},
      {edge + "\r\nnext", {edge, "next"}},
      {edge + "\r", {edge}},
      {edge + "\r\r\n", {edge, ""}},
      {"a\n" + long_line + "\r\nb", {"a", long_line, "b"}}};
  for (const auto& [bytes, lines] : cases) {
    folder.WriteFile("file.txt", bytes);
    EXPECT_EQ(ReadLines(folder.Path("file.txt"), 9), lines) << bytes.substr(0, 20);
  }
  EXPECT_EQ(ReadLines(folder.Path("file.txt"), 1), Lines{"a"});
  EXPECT_EQ(ReadLines(folder.Path("missing.txt"), 9), Lines{});
}

TEST(LineWriterTest, EndsEveryLineWithCrLfAndReportsTheFirstFailure) {
  testing::TempFolder folder;
  Lines lines = {"", "first", "\xC3\xA9"};
  for (int i = 0; i < 20'000; ++i) lines.push_back(std::to_string(i));
  {
    LineWriter writer(folder.Path("out.txt"));
    for (const auto& line : lines) writer.WriteLine(line);
  }  // closed on destruction
  EXPECT_EQ(folder.ReadFile("out.txt"), testing::CrLfLines(lines));

  LineWriter full(folder.Path("full.txt"));
  const Status status = [&] {
    testing::FileSizeLimit limit(1000);
    for (int i = 0; i < 1000; ++i) full.WriteLine("0123456789");
    return full.Close();
  }();
  EXPECT_NE(status.reason().find(folder.Path("full.txt")), std::string::npos) << status.reason();
}

}  // namespace
}  // namespace qv
