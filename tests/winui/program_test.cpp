// The running program and what lies beyond its windows: the Favorites folder
// followed on disk, the import of bookmarks into it, and the documents handed
// to the desktop.
#include "generator/windows_text.h"
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

using ProgramTest = WinuiProgramTest;

// An importer that finds one browser and reports what it was asked.
class FakeImporter : public BookmarkImporter {
 public:
  std::vector<BookmarkSource> SourcesFound() override { return {{"firefox (default)", "ff"}}; }
  Result<Outcome> Import(const std::string& path, const ProgramFolders&) override {
    imported.push_back(path);
    return Outcome{"C:\\Favorites\\", "2 added"};
  }
  std::vector<std::string> imported;
};

TEST_F(ProgramTest, ANewShortcutRefreshesThePreviewAndLeavesTheTypingAlone) {
  StartProgram();
  const int runs = Runs();
  SetFocus(Control(FieldId(TextField::kPageTitle)));
  Type(FieldId(TextField::kPageTitle), "Half ");
  const std::string typed = Text(FieldId(TextField::kPageTitle));
  ASSERT_NE(typed, "My Startpage");

  folder_.WriteFile("Favorites/Cats/Siamese.url", "URL=https://siamese.example/\r\n");
  ASSERT_TRUE(PumpUntil([&] { return Runs() > runs; }, 10000));
  EXPECT_NE(Page().find("https://siamese.example/"), std::string::npos);
  EXPECT_EQ(Text(FieldId(TextField::kPageTitle)), typed);
}

TEST_F(ProgramTest, TheImportButtonOffersTheBrowsersThenAFileAndTellsTheOutcome) {
  DesktopServices services = FakeServices();
  auto importer = std::make_unique<FakeImporter>();
  FakeImporter& fake = *importer;
  services.importer = std::move(importer);
  WriteSettingsFile();
  Start(std::move(services));
  chosen_file_ = "C:\\bookmarks.html";

  struct Case {
    int pick;  // the entry chosen; -1 cancels
    std::vector<std::string> imported;
    std::size_t boxes;  // the list, and the outcome if any
  };
  const Case cases[] = {{-1, {}, 1}, {0, {"ff"}, 2}, {1, {"ff", "C:\\bookmarks.html"}, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pick);
    std::vector<std::string> offered;
    DialogAnswerer answerer([&](HWND dialog) {
      HWND list = GetDlgItem(dialog, kSourceListId);
      if (list == nullptr) return DialogAnswerer::PressOk(dialog);
      for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t item[128] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
        offered.push_back(Utf8Text(item));
      }
      SendMessageW(list, LB_SETCURSEL, c.pick, 0);
      PostMessageW(dialog, WM_COMMAND, c.pick < 0 ? IDCANCEL : IDOK, 0);
    });
    Click(kImportBookmarksId);
    EXPECT_EQ(offered, (std::vector<std::string>{"firefox (default)", "From a file..."}));
    EXPECT_EQ(fake.imported, c.imported);
    ASSERT_EQ(answerer.seen.size(), c.boxes);
    EXPECT_EQ(answerer.seen[0].text, "Where do the bookmarks come from?");
    if (c.boxes == 2) {
      EXPECT_EQ(answerer.seen[1].title, "Import bookmarks");
      EXPECT_EQ(answerer.seen[1].text, "Imported into C:\\Favorites\\:\n2 added");
    }
  }
}

TEST_F(ProgramTest, ABuildWithoutTheImportSaysSoInTheWindowsLanguage) {
  StartProgram();  // the fake services bring no importer
  for (const auto& [flag, title, text] :
       {std::tuple{kBritishFlagId, "Import bookmarks",
                   "Importing bookmarks is not part of this build of the program."},
        std::tuple{kDutchFlagId, "Bladwijzers importeren",
                   "Bladwijzers importeren zit niet in deze versie van het programma."}}) {
    Click(flag);
    DialogAnswerer answerer;
    Click(kImportBookmarksId);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].title, title);
    EXPECT_EQ(answerer.seen[0].text, text);
  }
  EXPECT_EQ(Runs(), 1);
}

TEST_F(ProgramTest, TheDesktopOpensTheSiteAndThePageOrTheWindowSaysWhyNot) {
  StartProgram(" 1");
  const std::string page = folder_.Path("mijnstart.html");
  // The window says where the page is, under a caption in its language.
  EXPECT_EQ(Text(kPagePathId), page);
  EXPECT_EQ(Text(kPagePathLabelId), "Waar de pagina staat");
  struct Case {
    int control;
    int flag;
    std::string opened;
    const char* title;
    std::string text;
  };
  const Case cases[] = {
      {kMakerLinkId, kDutchFlagId, "https://www.qelmora.example/", "Probleem",
       "Opstarten bestand https://www.qelmora.example/ mislukt!!\r"
       "(geen koppeling met het programma, document bestaat niet meer)"},
      {kOpenInBrowserId, kBritishFlagId, page, "Problem",
       "Opening " + page +
           " failed!!\r(no program is linked to it, or the document no longer exists)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    Click(c.flag);
    DialogAnswerer answerer;
    opened_.clear();
    open_succeeds_ = true;
    Click(c.control);
    EXPECT_EQ(opened_, std::vector<std::string>{c.opened});
    EXPECT_TRUE(answerer.seen.empty());

    open_succeeds_ = false;
    Click(c.control);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].title, c.title);
    EXPECT_EQ(answerer.seen[0].text, c.text);
    EXPECT_TRUE(IsWindowVisible(Settings()));
  }
}

}  // namespace
}  // namespace qv::winui::testing
