#include "generator/link_table.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace qv {
namespace {

// A file with room for so many bytes; a write beyond them fails.
class SmallFile : public WritableFile {
 public:
  SmallFile(std::size_t room, std::string name) : room_(room), name_(std::move(name)) {}
  Status Append(std::string_view data) override {
    if (data.size() > room_) return Status::Error("cannot write " + name_ + ": no space left");
    room_ -= data.size();
    return Status::Ok();
  }
  Status Close() override { return Status::Ok(); }

 private:
  std::size_t room_;
  std::string name_;
};

// A failed write of the jump list counts as much as one of the page: a run
// that ends well must have written both whole.
TEST(WriteLinkTableTest, TellsTheFirstFailedWriteOfEitherFile) {
  testing::TempFolder program;
  program.WriteFile("koptekst.txt", "<html>\r\n");
  program.WriteFile("voettekst.txt", " @#$OPTION@#$\r\n</html>\r\n");
  LinkGrid grid;
  grid.AddRow();
  grid.SetCell(0, 0, ";News");
  const PageTexts texts;
  const PageColours colours;
  const LanguageLines language_lines;
  const MergeSources sources{texts, colours, language_lines, UpdateLineStyle::kEnglish, {}};
  constexpr std::size_t kRoom = 1 << 20;
  const struct {
    std::size_t page_room, jump_list_room;
    const char* failed;
  } cases[] = {{kRoom, kRoom, ""}, {10, kRoom, "page"}, {kRoom, 10, "jump list"}, {10, 10, "page"}};
  for (const auto& c : cases) {
    SmallFile page(c.page_room, "page"), jump_list(c.jump_list_room, "jump list");
    const Status status =
        WriteLinkTable(grid, {program.Path("koptekst.txt"), program.Path("voettekst.txt")}, sources,
                       page, jump_list);
    EXPECT_EQ(status.ok(), *c.failed == '\0') << c.failed;
    if (!status.ok()) {
      EXPECT_EQ(status.reason(), std::string("cannot write ") + c.failed + ": no space left");
    }
  }
}

}  // namespace
}  // namespace qv
