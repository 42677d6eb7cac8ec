// The main window: the web control asked for every page built, in its newest
// document mode, and the words with a way to the browser where it cannot
// show the page; one settings window however often the main window is
// activated.
#include "control/captions.h"
#include "winui/browser_emulation.h"
#include "winui/window_text.h"
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

class PreviewTest : public WinuiProgramTest {
 protected:
  void SetUp() override { WriteSettingsFile(); }

  const PagePreview& Preview() { return program_->main_window().preview(); }
  // Whether the control's `address` is the page file, as a path or a file
  // address.
  bool NamesPage(std::string address) {
    for (char& c : address) c = c == '/' ? '\\' : c;
    const std::string page = folder_.Path("mijnstart.html");
    return address == page || address == "file:\\\\\\" + page;
  }
};

TEST_F(PreviewTest, TheWebControlIsAskedForEveryPageBuiltInItsNewestDocumentMode) {
  StartProgram();
  ASSERT_EQ(Runs(), 1);
  EXPECT_TRUE(NamesPage(Preview().navigations()[0])) << Preview().navigations()[0];
  SetSlider(Colour::kPage, Channel::kBlue, 9);
  ASSERT_EQ(Runs(), 2);
  EXPECT_TRUE(NamesPage(Preview().navigations()[1]));
  EXPECT_EQ(DocumentModeAskedFor(ExecutableName()), kNewestDocumentMode);
  // A control without an engine to show the page (Wine's) fails each one;
  // the window then says so instead of showing nothing.
  HWND words = Control(kPreviewFailureTextId);
  EXPECT_EQ(IsWindowVisible(words) != FALSE, Preview().failure_shown());
  if (Preview().failure_shown()) {
    EXPECT_NE(TextOf(words).find("the web control could not load it (error 0x"), std::string::npos)
        << TextOf(words);
  }
}

TEST_F(PreviewTest, WithoutAWebControlTheWindowSaysSoInItsLanguageAndOffersTheBrowser) {
  DesktopServices services = FakeServices();
  services.web_control = false;
  Start(std::move(services));
  const std::string page = folder_.Path("mijnstart.html");
  EXPECT_EQ(Preview().navigations(), std::vector<std::string>{page});
  EXPECT_TRUE(IsWindowVisible(Control(kPreviewFailureTextId)));
  EXPECT_EQ(Text(kPreviewFailureTextId),
            "The page has been written, but this window cannot show it: Windows gives it no web "
            "control.\n\n" +
                page);
  Click(kDutchFlagId);
  EXPECT_EQ(Text(kPreviewFailureTextId),
            "De pagina is gemaakt, maar dit venster kan haar niet tonen: Windows geeft het geen "
            "webweergave.\n\n" +
                page);
  EXPECT_EQ(Text(kPreviewOpenInBrowserId), kDutchCaptions.open_in_browser);
  Click(kPreviewOpenInBrowserId);
  EXPECT_EQ(opened_, std::vector<std::string>{page});
  EXPECT_TRUE(folder_.Exists("mijnstart.html"));
}

TEST_F(PreviewTest, OneSettingsWindowHoweverOftenAndAClosedMainWindowComesBack) {
  StartProgram();
  SetActiveWindow(Main());
  Pump();
  SetActiveWindow(Main());
  Pump();
  int settings_windows = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM count) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        *reinterpret_cast<int*>(count) +=
            lstrcmpW(name, L"VorlindoSettingsWindow") == 0 && IsWindowVisible(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&settings_windows));
  EXPECT_EQ(settings_windows, 1);

  // Closing the main window leaves the program running; the next page
  // built brings it back.
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Main()));
  EXPECT_TRUE(IsWindowVisible(Settings()));
  Click(kRefreshId);
  EXPECT_TRUE(IsWindowVisible(Main()));
}

}  // namespace
}  // namespace qv::winui::testing
