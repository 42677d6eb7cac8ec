// What the settings window shows a user: swatches that show the page's
// colour, the way to a Favorites folder on first start and a mark on one that
// is not there, and values of older settings files as they were written.
#include "generator/windows_api.h"

#include <commctrl.h>

#include "winui/window_text.h"
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

using GuidanceTest = WinuiProgramTest;

TEST_F(GuidanceTest, TheSwatchShowsTheColourThePageGetsFromTheTypedCode) {
  StartProgram();
  // How each colour's code is read is the page colour's own to say; here the
  // swatch follows it as the code is typed.
  struct Case {
    Colour colour;
    const char* typed;
    std::optional<Rgba> shown;
    const char* tip;
  };
  const Case cases[] = {
      {Colour::kPage, "#FFF", Rgba{255, 255, 255}, "The page gets \"#FFF\"."},
      {Colour::kLinkCell, "darkgreen", Rgba{0xDA, 0x00, 0xE0},
       "The page gets \"darkgre\". Only the first seven characters reach the page."},
      {Colour::kBackground, "#12", std::nullopt, "The page cannot use \"#12\" as a colour."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SendMessageW(Control(CodeFieldId(c.colour)), EM_SETSEL, 0, -1);
    Type(CodeFieldId(c.colour), c.typed);
    EXPECT_EQ(Text(CodeFieldId(c.colour)), c.typed);  // typing stays free
    EXPECT_EQ(program_->settings_window().SwatchColour(c.colour), c.shown);
    EXPECT_EQ(program_->settings_window().TipOf(SwatchId(c.colour)), c.tip);
  }
  Click(kDutchFlagId);
  EXPECT_EQ(program_->settings_window().TipOf(SwatchId(Colour::kBackground)),
            "De pagina kan \"#12\" niet als kleur gebruiken.");
}

TEST_F(GuidanceTest, WithoutAFavoritesFolderTheFieldSaysWhatToDoAndTheChooserFillsIt) {
  // No settings file, and the surroundings know no Favorites folder.
  Start(FakeServices());
  const int field = FieldId(TextField::kFavoritesFolder);
  SetText(Control(field), "");
  Click(kBritishFlagId);
  wchar_t hint[128] = {};
  SendMessageW(Control(field), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(hint), 128);
  EXPECT_STREQ(hint, L"Choose your Favorites folder with ... or type its path");
  EXPECT_EQ(program_->settings_window().TipOf(kChooseFolderId), "Choose folder");

  const int runs_before = Runs();
  chosen_folder_.reset();  // the user cancels
  Click(kChooseFolderId);
  EXPECT_EQ(Runs(), runs_before);
  EXPECT_EQ(Text(field), "");

  chosen_folder_ = folder_.Path("Favorites");
  Click(kChooseFolderId);
  EXPECT_EQ(Text(field), *chosen_folder_);
  EXPECT_EQ(Runs(), runs_before + 1);
  EXPECT_EQ(SettingsLine(7), *chosen_folder_);
  // The next choice starts where the last one ended.
  Click(kChooseFolderId);
  EXPECT_EQ(chooser_starts_.back(), *chosen_folder_);
}

TEST_F(GuidanceTest, AFavoritesFolderThatIsNotThereIsMarkedUntilThePageFindsIt) {
  StartProgram();
  HWND mark = Control(kFavoritesMissingMarkId);
  EXPECT_FALSE(IsWindowVisible(mark));
  const int field = FieldId(TextField::kFavoritesFolder);
  SendMessageW(Control(field), EM_SETSEL, 0, -1);
  Type(field, folder_.Path("Later"));
  Key(VK_RETURN, Control(field));
  EXPECT_TRUE(IsWindowVisible(mark));
  EXPECT_EQ(program_->settings_window().TipOf(kFavoritesMissingMarkId),
            "This folder is not there, so the page shows no categories. Create it, or choose "
            "another with ...");
  folder_.WriteFile("Later/Cats/Tabby.url", "URL=http://tabby.example/\r\n");
  Key(VK_RETURN, Control(field));
  EXPECT_FALSE(IsWindowVisible(mark));
}

TEST_F(GuidanceTest, ASettingsFileInTheSystemsCodePageReadsAsItWasWritten) {
  // As older versions wrote it: "é" as the one byte of Windows-1252, where
  // the program itself runs with UTF-8 as its code page.
  WriteSettingsFile();
  std::string settings = folder_.ReadFile("ins.txt");
  settings.replace(settings.find("Pim Voorbeeld"), 13,
                   "Pim Voorb\xE9"
                   "eld");
  folder_.WriteFile("ins.txt", settings);
  Start(FakeServices());
  EXPECT_EQ(Text(FieldId(TextField::kMakerName)),
            "Pim Voorb\xC3\xA9"
            "eld");
}

}  // namespace
}  // namespace qv::winui::testing
