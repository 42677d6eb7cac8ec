// Text rules and text files.
#include "generator/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "generator/file_replacement.h"
#include "generator/text_file.h"
#include "support/system_files.h"
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

TEST(UpperCaseTest, SimpleMappingPerCharacterWhateverTheLocaleOrPlatform) {
  // The tests run in the "C" locale. ß has no one-letter upper case; ı -> I is
  // shorter in bytes and ɐ -> Ɐ longer; broken bytes stay.
  const std::pair<std::string, std::string> cases[] = {
      {"cats 1 café straße σοφ ı ɐ a\377b\303", "CATS 1 CAFÉ STRAßE ΣΟΦ I Ɐ A\377B\303"},
      // Runs of every other letter (ā..ž), their neighbours that stay, and
      // both ends of the table.
      {"āĀăžſǅǆ ÿµ", "ĀĀĂŽSǄǄ ŸΜ"},
      {"кошки и собаки ёж ґ", "КОШКИ И СОБАКИ ЁЖ Ґ"},
      {"ⓐ ｚ ա ᲀ ꙁ 𐐨 𞤢 ᾀ", "Ⓐ Ｚ Ա В Ꙁ 𐐀 𞤀 ᾈ"},
      {"猫 😀 ǰ ŉ", "猫 😀 ǰ ŉ"}};  // no case, or only a longer upper case
  for (const auto& [text, upper] : cases) EXPECT_EQ(UpperCase(text), upper) << text;
}

TEST(Utf8ValidatorTest, JudgesTheWholeTextWhereverItIsCut) {
  const std::pair<std::string, bool> cases[] = {{"", true},
                                                {"plain", true},
                                                {"é€😀\U0010FFFF", true},
                                                {"\xC3", false},
                                                {"caf\xE9", false},
                                                {"\xE0\x9F\xBF", false},
                                                {"\xED\xA0\x80", false},
                                                {"\xF4\x90\x80\x80", false},
                                                {"\xC0\x80", false}};
  for (const auto& [text, valid] : cases) {
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      Utf8Validator validator;
      validator.Add(std::string_view(text).substr(0, cut));
      validator.Add(std::string_view(text).substr(cut));
      EXPECT_EQ(validator.valid(), valid) << text << " cut at " << cut;
    }
  }
}

TEST(EscapeHtmlTest, EscapesMarkupNumberSignsAndLineBreaks) {
  EXPECT_EQ(EscapeHtml("a&b <i>\"#1\"</i>\r\n'"),
            "a&amp;b &lt;i&gt;&quot;&#35;1&quot;&lt;/i&gt;&#13;&#10;'");
}

// Letters fold to lower case, so "_" comes before them; a shorter name whose
// letters match comes first whatever their case; only names that differ in
// letter case alone go by their first differing byte.
TEST(NameLessTest, OrdersNamesFoldedThenByBytes) {
  const struct {
    std::string_view first, second;
  } ordered[] = {{"a", "B"},    {"B", "c"},        {"abc", "abd"}, {"ab", "abc"},
                 {"AB", "ab"},  {"Ab", "aB"},      {"_", "A"},     {"Ab", "abc"},
                 {"ab", "ABC"}, {"z", "\xC3\xA9"}, {"", "a"},      {"News 10", "news 9"}};
  for (const auto& c : ordered) {
    EXPECT_TRUE(NameLess(c.first, c.second)) << c.first << " < " << c.second;
    EXPECT_FALSE(NameLess(c.second, c.first)) << c.second << " < " << c.first;
  }
  EXPECT_FALSE(NameLess("Same", "Same"));
}

TEST(FindAsciiFoldedTest, FindsInAnyLetterCase) {
  EXPECT_EQ(FindAsciiFolded("Site.URL.url", ".url"), 4u);
  EXPECT_EQ(FindAsciiFolded("Site.ur", ".url"), std::string_view::npos);
  EXPECT_EQ(FindAsciiFolded("abc", ""), 0u);
  EXPECT_TRUE(EqualAsciiFolded("InternetShortcut.W", "internetshortcut.w"));
  EXPECT_FALSE(EqualAsciiFolded("InternetShortcut", "internetshortcut.w"));
  EXPECT_FALSE(EqualAsciiFolded("\xC3\x89", "\xC3\xA9"));  // only ASCII letters fold
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  const std::pair<const char*, double> cases[] = {{" 1", 1},
                                                  {"-1", -1},
                                                  {"1.5", 1.5},
                                                  {"abc", 0},
                                                  {"", 0},
                                                  {"  1 2 3", 123},
                                                  {"\t-\n4", -4},
                                                  {"3abc", 3},
                                                  {"1.2.3", 1.2},
                                                  {"-.25", -0.25},
                                                  {"+7", 7},
                                                  {"+-7", 0},
                                                  {"1e3", 1000},
                                                  {"2D2", 200},
                                                  {"5E-1", 0.5},
                                                  {"1e", 1},
                                                  {"1,5", 1},
                                                  {"&H1F", 31},
                                                  {"&hff", 255},
                                                  {"&O17", 15},
                                                  {"&O8", 0},
                                                  {"&X1", 0},
                                                  {"\r1", 0},
                                                  {"00.00100", 0.001},
                                                  {"0.49999999999999994", 0.49999999999999994},
                                                  {"2.5000000000000004", 2.5000000000000004}};
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

TEST(RoundToInt16Test, HalvesGoToTheEvenNeighbourAndNothingElseRoundsUp) {
  const std::pair<double, int> cases[] = {{0.49999999999999994, 0},
                                          {0.5, 0},
                                          {1.5, 2},
                                          {2.5, 2},
                                          {-0.5, 0},
                                          {-1.5, -2},
                                          {-2.5000000000000004, -3},
                                          {4.5000000000000009, 5},
                                          {0.5000000000000001, 1},
                                          {32767.49, 32767},
                                          {-32768.5, -32768}};
  for (const auto& [value, rounded] : cases) {
    const Result<std::int16_t> result = RoundToInt16(value);
    ASSERT_TRUE(result.ok()) << value;
    EXPECT_EQ(*result, rounded) << value;
  }
  for (double value : {32767.5, -32769.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_FALSE(RoundToInt16(value).ok()) << value;
  }
}

using Lines = std::vector<std::string>;
constexpr std::size_t kBuffer = 64 * 1024;  // the reader's buffer

TEST(LineReaderTest, EveryTerminatorEndsALineAlsoAcrossTheBufferEdge) {
  testing::TempFolder folder;
  const std::string edge(kBuffer - 1, 'x'), long_line(3 * kBuffer + 17, 'y');
  constexpr std::size_t kNoCut = 1 << 20;
  const std::string cut_at_edge = long_line.substr(0, kBuffer + 5);
  const std::tuple<std::string, std::size_t, Lines> cases[] = {
      {"", kNoCut, {}},
      {"a\0b\nc\r\n\r\nd\n\re\r\r"s, kNoCut, {"a\0b"s, "c", "", "d", "", "e", ""}},
      {edge + "\r\nnext", kNoCut, {edge, "next"}},
      {edge + "\r", kNoCut, {edge}},
      {edge + "\r\r\n", kNoCut, {edge, ""}},
      {"a\n" + long_line + "\r\nb", kNoCut, {"a", long_line, "b"}},
      // A line past the longest is cut; the lines after it stay whole.
      {"a\n" + long_line + "\r\nb", kBuffer + 5, {"a", cut_at_edge, "b"}},
      {"abcdef\r\nabc\nab", 3, {"abc", "abc", "ab"}},
      {long_line, 2, {"yy"}}};
  for (const auto& [bytes, longest, lines] : cases) {
    folder.WriteFile("file.txt", bytes);
    EXPECT_EQ(ReadLines(folder.Path("file.txt"), 9, longest), lines) << bytes.substr(0, 20);
  }
  EXPECT_EQ(ReadLines(folder.Path("file.txt"), 1, kNoCut), Lines{long_line});
  EXPECT_EQ(ReadLines(folder.Path("missing.txt"), 9, kNoCut), Lines{});
}

TEST(LineReaderTest, AFileThatIsNotUtf8AsAWholeIsReadInTheAnsiCodePage) {
  // Where files have no code page of their own, every file reads as bytes.
  const unsigned code_page = testing::AnsiCodePage();
  if (code_page != 0 && code_page != 1252) GTEST_SKIP() << "expects code page 1252";
  const bool ansi = code_page == 1252;
  const std::string x(kBuffer, 'x'), edge(kBuffer - 1, 'x');
  struct Case {
    std::string bytes;
    Lines as_ansi;  // in code page 1252
  };
  const Case cases[] = {
      {"caf\xE9\r\n\x80 5\r\n", {"café", "€ 5"}},
      {"café\r\n€\r\n", {"café", "€"}},
      // One byte past the first buffer decides for the whole file.
      {"é\r\n" + x + "\r\n\xE9", {"Ã©", x, "é"}},
      {edge + "€\r\n", {edge + "€"}},  // a character across the buffer edge
  };
  testing::TempFolder folder;
  for (const auto& [bytes, as_ansi] : cases) {
    folder.WriteFile("file.txt", bytes);
    const Lines as_bytes = ReadLines(folder.Path("file.txt"), 9, kLongestTextLine);
    EXPECT_EQ(ReadLines(folder.Path("file.txt"), 9, kLongestTextLine, FileText::kUtf8OrAnsi),
              ansi ? as_ansi : as_bytes)
        << bytes.substr(0, 20);
  }
}

TEST(LineWriterTest, EndsEveryLineWithCrLf) {
  testing::TempFolder folder;
  Lines lines = {"", "first", "\xC3\xA9"};
  for (int i = 0; i < 20'000; ++i) lines.push_back(std::to_string(i));
  auto out = ReplacementFile::Create(folder.path(), "out", folder.Path("out.txt"));
  ASSERT_TRUE(out.ok());
  LineWriter writer(**out);
  for (const auto& line : lines) writer.WriteLine(line);
  ASSERT_TRUE(writer.Flush().ok());
  ASSERT_TRUE((*out)->PutInPlace("out.txt").ok());
  EXPECT_EQ(folder.ReadFile("out.txt"), testing::CrLfLines(lines));
}

TEST(LineWriterTest, ReportsTheFirstFailure) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  testing::TempFolder folder;
  auto full = ReplacementFile::Create(folder.path(), "full", folder.Path("full.txt"));
  ASSERT_TRUE(full.ok());
  LineWriter full_writer(**full);
  const Status status = [&] {
    testing::FileSizeLimit limit(1000);
    for (int i = 0; i < 1000; ++i) full_writer.WriteLine("0123456789");
    return full_writer.Flush();
  }();
  EXPECT_NE(status.reason().find(folder.Path("full.txt")), std::string::npos) << status.reason();
}

}  // namespace
}  // namespace qv
