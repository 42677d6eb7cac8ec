// What the console programs print reaches a file or a pipe as the bytes of
// its UTF-8 text, and a console as its characters, however the writes cut it.
#include "app/console_output.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

// What a device was given, each write apart.
struct Given {
  std::vector<std::u16string> characters;
  std::vector<std::string> bytes;
  int flushes = 0;

  std::u16string AllCharacters() const {
    std::u16string all;
    for (const std::u16string& piece : characters) all += piece;
    return all;
  }
};

class RecordingDevice : public OutputDevice {
 public:
  RecordingDevice(bool console, Given& given) : console_(console), given_(given) {}
  bool IsConsole() const override { return console_; }
  void WriteCharacters(std::u16string_view text) override { given_.characters.emplace_back(text); }
  void WriteBytes(std::string_view bytes) override { given_.bytes.emplace_back(bytes); }
  void Flush() override { ++given_.flushes; }

 private:
  bool console_;
  Given& given_;
};

const std::string kPagePath = "C:\\Start\\start-\xC3\xBC\xE2\x82\xAC\xD0\xB6.html\n";
const std::u16string kPageCharacters = u"C:\\Start\\start-ü€ж.html\n";

TEST(TextOutput, AFileOrPipeGetsTheBytesAsTheyAreAtEachLineEndAndFlush) {
  Given given;
  {
    TextOutput out(std::make_unique<RecordingDevice>(false, given));
    out << kPagePath.substr(0, 20);
    EXPECT_TRUE(given.bytes.empty()) << "given before the line ends";
    out << kPagePath.substr(20);
    EXPECT_EQ(given.bytes, std::vector<std::string>{kPagePath});
    out << "\xFF half \xE2\x82" << std::flush;
    EXPECT_EQ(given.bytes.back(), "\xFF half \xE2\x82");
    EXPECT_EQ(given.flushes, 1);
    out << "left";
  }
  EXPECT_EQ(given.bytes.back(), "left");
  EXPECT_TRUE(given.characters.empty());
}

TEST(TextOutput, AConsoleGetsTheCharactersWhereverTheWritesCutThem) {
  for (std::size_t cut = 0; cut <= kPagePath.size(); ++cut) {
    Given given;
    {
      TextOutput out(std::make_unique<RecordingDevice>(true, given));
      out << kPagePath.substr(0, cut) << std::flush << kPagePath.substr(cut);
    }
    EXPECT_EQ(given.AllCharacters(), kPageCharacters) << "cut at " << cut;
    EXPECT_TRUE(given.bytes.empty());
  }
}

TEST(TextOutput, BytesThatAreNoUtf8ShowOnAConsoleAsReplacementCharacters) {
  Given given;
  {
    TextOutput out(std::make_unique<RecordingDevice>(true, given));
    out << "a\xFF"
           "b\n"
        << "c\xE2\x82";  // the text ends inside a character
  }
  EXPECT_EQ(given.AllCharacters(), u"a\uFFFDb\nc\uFFFD\uFFFD");  // one for each byte
}

}  // namespace
}  // namespace qv
