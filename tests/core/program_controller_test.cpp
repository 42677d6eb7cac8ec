// The program's event logic with windows that only record what they are told.
#include "control/program_controller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::TempFolder;

class RecordingMainView : public MainView {
 public:
  void ShowPage(const std::string& page_path) override { pages.push_back(page_path); }
  bool AnticipateColour(const std::string& old_code, const std::string& new_code) override {
    anticipated.push_back(old_code + ">" + new_code);
    return paints_ahead;
  }
  // Holds the tasks while `hold_tasks`, as an event loop busy with a burst.
  void RunAfterPendingEvents(std::function<void()> task) override {
    hold_tasks ? held.push_back(std::move(task)) : task();
  }
  void RunOnceRested(std::function<void()> task) override {
    hold_tasks ? void(rested = std::move(task)) : task();
  }
  void SetTitle(const std::string& text) override { title = text; }
  void Show() override { shown = true; }
  void Activate() override {}
  bool IsShown() const override { return shown; }

  std::vector<std::string> pages;
  std::vector<std::string> anticipated;  // "old>new"
  bool paints_ahead = true;
  bool hold_tasks = false;
  std::vector<std::function<void()>> held;
  std::function<void()> rested;  // waits for the moves to rest
  std::string title;
  bool shown = false;
};

class RecordingSettingsView : public SettingsView {
 public:
  void ShowState(const ProgramState& state) override {
    shown_state = state;
    ++states_shown;
    if (while_showing) while_showing();
  }
  void ShowCaptions(const CaptionSet& set) override { captions = &set; }
  void Show() override { shown = true; }
  bool IsShown() const override { return shown; }
  void ShowFavoritesFolderMissing(bool missing) override { favorites_missing = missing; }
  void ShowPagePath(const std::string& path) override { page_path = path; }
  void ShowError(const Message& message) override {
    errors.push_back(message.text);
    error_titles.push_back(message.title);
  }

  ProgramState shown_state;
  int states_shown = 0;
  std::function<void()> while_showing;  // what happens while a state is shown
  const CaptionSet* captions = nullptr;
  bool shown = false;
  bool favorites_missing = false;
  std::string page_path;
  std::vector<std::string> errors;
  std::vector<std::string> error_titles;
};

class NoDesktop : public Desktop {
 public:
  bool OpenDocument(const std::string&) override { return false; }
  void ShowWarning(const Message&) override {}
  std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
};

class RecordingWatch : public FavoritesWatch {
 public:
  void Follow(const PageSources& sources) override { followed.push_back(sources); }
  std::vector<PageSources> followed;
};

// Imports by writing one shortcut into the Favorites folder it is told of.
class FakeImporter : public BookmarkImporter {
 public:
  std::vector<BookmarkSource> SourcesFound() override { return sources; }
  Result<Outcome> Import(const std::string& path, const ProgramFolders&) override {
    imported.push_back(path);
    if (path == "bad") return Status::Error("bad: not a bookmarks file");
    std::filesystem::create_directories(favorites + "Imported");
    std::ofstream(favorites + "Imported/Site.url") << "URL=http://imported.example/\r\n";
    return Outcome{favorites, "1 added"};
  }
  std::vector<BookmarkSource> sources = {{"firefox (default)", "/ff/places.sqlite"}};
  std::vector<std::string> imported;
  std::string favorites;
};

// Picks what the test says and remembers what it was shown.
class ScriptedImportView : public ImportView {
 public:
  std::optional<std::size_t> ChooseSource(const std::vector<BookmarkSource>& offered,
                                          const ImportWords& words) override {
    offered_count = offered.size();
    from_file_caption = words.from_file;
    return choice;
  }
  std::optional<std::string> ChooseFile(const ImportWords&) override { return file; }
  void ShowOutcome(const Message& message) override { outcomes.push_back(message.text); }

  std::optional<std::size_t> choice;
  std::optional<std::string> file;
  std::size_t offered_count = 0;
  std::string from_file_caption;
  std::vector<std::string> outcomes;
};

class ProgramControllerTest : public ::testing::Test {
 protected:
  ProgramControllerTest() { favorites_.WriteFile("News/Link.url", "URL=http://n/\r\n"); }

  void StartWithLanguageLine(const std::string& line) {
    ProgramState saved;
    saved.settings.favorites_folder = favorites_.path();
    std::string file = FormatSettings(saved.settings, 0);
    file.replace(file.rfind(" 0"), 2, line);
    program_.WriteFile("ins.txt", file);
    controller_.Start();
  }

  TempFolder program_, favorites_;
  testing::FakeSurroundings surroundings_{program_.path()};
  RecordingMainView main_view_;
  RecordingSettingsView settings_view_;
  NoDesktop desktop_;
  ProgramController controller_{surroundings_, main_view_, settings_view_, desktop_, [] {}};
};

// Installed, a save makes the user's folder before the first run has, and
// the installation gets nothing.
TEST(InstalledProgramController, SavesInTheUsersFolderItMakes) {
  TempFolder installation, home;
  testing::FakeSurroundings surroundings(
      ProgramFolders{home.Path("data/vorlindo/"), installation.path(), {}});
  RecordingMainView main_view;
  RecordingSettingsView settings_view;
  NoDesktop desktop;
  ProgramController controller(surroundings, main_view, settings_view, desktop, [] {});
  controller.RefreshClicked();
  EXPECT_TRUE(settings_view.errors.empty());
  EXPECT_TRUE(home.Exists("data/vorlindo/ins.txt"));
  EXPECT_EQ(main_view.pages, std::vector<std::string>{home.Path("data/vorlindo/mijnstart.html")});
  EXPECT_EQ(settings_view.page_path, home.Path("data/vorlindo/mijnstart.html"));
  EXPECT_TRUE(installation.Entries().empty());
}

TEST_F(ProgramControllerTest, ARebuildWritesAndShowsThePageUnderTheNameJustSaved) {
  StartWithLanguageLine(" 0");
  controller_.FieldEdited(TextField::kPageFileName, " mine.html");
  controller_.RefreshClicked();
  const std::vector<std::string> pages = {program_.Path("mijnstart.html"),
                                          program_.Path(" mine.html")};
  EXPECT_EQ(main_view_.pages, pages);
  EXPECT_EQ(settings_view_.page_path, pages.back());
  EXPECT_NE(program_.ReadFile(" mine.html").find("News"), std::string::npos);
  EXPECT_TRUE(settings_view_.errors.empty());
}

// A name the run cannot use: the field shows the name used, a line in the
// window's language says why, once, and the next save keeps the name used.
TEST_F(ProgramControllerTest, APageNameThatCannotBeUsedIsShownAsTheNameUsedWithWhy) {
  struct Case {
    const char* language_line;
    const char* typed;
    const char* why;
  };
  for (const Case& c : {Case{" 0", "geen/map/pagina.html", "not the name of a file of its own"},
                        Case{" 1", "geen/map/pagina.html", "geen naam van een eigen bestand"},
                        Case{" 0", "INS.TXT", "keeps a file of its own"},
                        Case{" 1", "ins.txt", "bewaart zelf een bestand"}}) {
    SCOPED_TRACE(c.typed);
    settings_view_.errors.clear();
    StartWithLanguageLine(c.language_line);
    controller_.FieldEdited(TextField::kPageFileName, c.typed);
    controller_.RefreshClicked();
    EXPECT_EQ(settings_view_.shown_state.settings.page_file_name, "mijnstart.html");
    EXPECT_EQ(settings_view_.page_path, program_.Path("mijnstart.html"));
    ASSERT_EQ(settings_view_.errors.size(), 1u);
    EXPECT_NE(settings_view_.errors[0].find(std::string("\"") + c.typed + "\""), std::string::npos)
        << settings_view_.errors[0];
    EXPECT_NE(settings_view_.errors[0].find(c.why), std::string::npos) << settings_view_.errors[0];
    controller_.RefreshClicked();
    EXPECT_EQ(settings_view_.errors.size(), 1u);
    EXPECT_NE(program_.ReadFile("ins.txt").find("\r\nmijnstart.html\r\n"), std::string::npos);
  }
}

TEST_F(ProgramControllerTest, EveryLanguageCodeButOneShowsEnglishAndBecomesZero) {
  const std::pair<const char*, const CaptionSet*> cases[] = {{" 1", &kDutchCaptions},
                                                             {" 0", &kEnglishCaptions},
                                                             {" 2", &kEnglishCaptions},
                                                             {"-1", &kEnglishCaptions}};
  for (const auto& [line, captions] : cases) {
    StartWithLanguageLine(line);
    controller_.SettingsWindowActivated();
    EXPECT_EQ(settings_view_.captions, captions) << line;
    EXPECT_EQ(main_view_.title, captions->main_title) << line;
    EXPECT_EQ(controller_.state().language_code, captions == &kDutchCaptions ? 1 : 0) << line;
  }
}

// The page on show takes a colour before its rebuild only where the old code
// can stand for that colour alone: as the merge fits it, never shared with
// another colour, and a plain code.
TEST_F(ProgramControllerTest, ASliderMoveAnticipatesItsColourWhereThatCannotMislead) {
  struct Case {
    const char* name;
    Colour colour;
    const char* typed;        // the code saved before the move, or none
    const char* anticipated;  // "old>new", or none
  };
  const Case cases[] = {
      {"a link cell colour", Colour::kLinkCell, nullptr, "#FFCC99>#3366FF"},
      {"the page colour", Colour::kPage, nullptr, "#009933>#3366FF"},
      {"a code the merge cut", Colour::kHeaderCell, "#12345678", "#123456>#3366FF"},
      {"a code another colour has too", Colour::kLinkCell, "#003399", nullptr},
      {"a colour name", Colour::kBackground, "ivory", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    main_view_.anticipated.clear();
    StartWithLanguageLine(" 0");
    if (c.typed) {
      controller_.ColourCodeEdited(c.colour, c.typed);
      controller_.RefreshClicked();
    }
    controller_.SlidersMoved(c.colour, 0x33, 0x66, 0xFF);
    EXPECT_EQ(main_view_.anticipated,
              c.anticipated ? std::vector<std::string>{c.anticipated} : std::vector<std::string>{});
  }
  // The default button goes back from what the page shows now.
  main_view_.anticipated.clear();
  controller_.DefaultColourClicked(Colour::kBackground);
  EXPECT_EQ(main_view_.anticipated, std::vector<std::string>{"#3366FF>#FFFFF0"});
}

// Key repeat: every move shows at once, and the page follows once the moves
// rest, with the last; closing meanwhile still writes it. A move the page
// cannot paint ahead is rebuilt without waiting for the rest.
TEST_F(ProgramControllerTest, MovesPaintedAheadRebuildOnceTheyRestWithTheLast) {
  const auto page_has = [this](const char* code) {
    return program_.ReadFile("mijnstart.html").find(code) != std::string::npos;
  };
  // The move after the first is not painted ahead: it leaves a code the
  // header cells have too, or the preview says no.
  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared);
    StartWithLanguageLine(" 0");
    main_view_.hold_tasks = true;
    controller_.SlidersMoved(Colour::kLinkCell, 0x00, shared ? 0x33 : 0x00, 0x99);
    ASSERT_TRUE(main_view_.rested);
    main_view_.paints_ahead = shared;
    controller_.SlidersMoved(Colour::kLinkCell, 0, 0, 0x10);
    ASSERT_EQ(main_view_.held.size(), 1u);
    std::exchange(main_view_.held, {})[0]();
    EXPECT_TRUE(page_has("#000010"));
    main_view_.rested = nullptr;
    main_view_.hold_tasks = false;
    main_view_.paints_ahead = true;
  }

  for (const bool close_first : {false, true}) {
    SCOPED_TRACE(close_first);
    StartWithLanguageLine(" 0");
    main_view_.anticipated.clear();
    main_view_.hold_tasks = true;
    const std::size_t pages = main_view_.pages.size();
    for (const int blue : {0x10, 0x20, 0x30})
      controller_.SlidersMoved(Colour::kLinkCell, 0, 0, blue);
    EXPECT_EQ(main_view_.anticipated.size(), 3u);
    EXPECT_EQ(main_view_.pages.size(), pages);
    EXPECT_TRUE(main_view_.held.empty());
    if (close_first) controller_.SettingsWindowClosed();
    ASSERT_TRUE(main_view_.rested);
    std::exchange(main_view_.rested, nullptr)();
    EXPECT_EQ(main_view_.pages.size(), pages + 1);
    EXPECT_TRUE(page_has("#000030"));
    EXPECT_NE(program_.ReadFile("ins.txt").find("#000030"), std::string::npos);
    main_view_.hold_tasks = false;
  }
}

// Without a save there is no rebuild, so the page on show goes back to the
// page file it was changed ahead of.
TEST_F(ProgramControllerTest, AMoveThatCannotBeSavedTakesTheAnticipatedColourBack) {
  StartWithLanguageLine(" 0");
  std::filesystem::remove(program_.Path("ins.txt"));
  program_.MakeFolder("ins.txt");
  controller_.SlidersMoved(Colour::kLinkCell, 0x33, 0x66, 0xFF);
  EXPECT_EQ(main_view_.anticipated, std::vector<std::string>{"#FFCC99>#3366FF"});
  EXPECT_EQ(settings_view_.errors.size(), 1u);
  EXPECT_EQ(main_view_.pages, std::vector<std::string>(2, program_.Path("mijnstart.html")));
  EXPECT_EQ(program_.ReadFile("mijnstart.html").find("#3366FF"), std::string::npos);
}

TEST_F(ProgramControllerTest, AChangedFavoritesFolderRebuildsFromTheSavedSettingsAlone) {
  RecordingWatch watch;
  controller_.set_favorites_watch(&watch);
  StartWithLanguageLine(" 0");
  ASSERT_EQ(watch.followed.size(), 1u);
  EXPECT_EQ(watch.followed[0].favorites_folder, favorites_.path());
  EXPECT_FALSE(watch.followed[0].program_files);

  controller_.FieldEdited(TextField::kPageTitle, "Half typ");
  const int states_shown = settings_view_.states_shown;
  const std::string saved = program_.ReadFile("ins.txt");
  favorites_.WriteFile("News/Added.url", "URL=http://added.example/\r\n");
  controller_.FavoritesChanged();

  EXPECT_EQ(main_view_.pages.size(), 2u);
  EXPECT_NE(program_.ReadFile("mijnstart.html").find("http://added.example/"), std::string::npos);
  EXPECT_EQ(program_.ReadFile("ins.txt"), saved);
  EXPECT_EQ(controller_.state().settings.page_title, "Half typ");
  EXPECT_EQ(settings_view_.states_shown, states_shown);
  EXPECT_EQ(watch.followed.size(), 2u);
}

// A page that cannot be put in place: whether the user asked for the run or
// the Favorites folder changed, the window says why in its language.
TEST_F(ProgramControllerTest, ARunThatCannotWriteThePageSaysWhyInTheWindowsLanguage) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {" 0", "Page not built", "The page could not be built:\n"},
      {" 1", "Pagina niet gemaakt", "De pagina kon niet worden gemaakt:\n"}};
  for (const auto& [language_line, title, text] : cases) {
    StartWithLanguageLine(language_line);
    std::filesystem::remove(program_.Path("mijnstart.html"));
    program_.MakeFolder("mijnstart.html/blocked");
    settings_view_.errors.clear();
    settings_view_.error_titles.clear();
    controller_.RefreshClicked();
    controller_.FavoritesChanged();
    ASSERT_EQ(settings_view_.errors.size(), 2u) << title;
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(settings_view_.error_titles[i], title);
      EXPECT_TRUE(settings_view_.errors[i].starts_with(text)) << settings_view_.errors[i];
      EXPECT_NE(settings_view_.errors[i].find(program_.Path("mijnstart.html")), std::string::npos);
    }
    EXPECT_TRUE(program_.Exists("mijnstart.html/blocked"));
    std::filesystem::remove_all(program_.Path("mijnstart.html"));
  }
}

// Nothing saved, nothing rebuilt, and the window keeps what was typed; closing
// still ends the program, after saying that the change is lost.
TEST_F(ProgramControllerTest, AFailedSaveKeepsTheValuesAndClosingStillEnds) {
  StartWithLanguageLine(" 0");
  std::filesystem::remove(program_.Path("ins.txt"));
  program_.MakeFolder("ins.txt/blocked");
  controller_.FieldEdited(TextField::kPageTitle, "Dogs");
  controller_.RefreshClicked();
  ASSERT_EQ(settings_view_.errors.size(), 1u);
  EXPECT_NE(settings_view_.errors[0].find(program_.Path("ins.txt")), std::string::npos);
  EXPECT_EQ(main_view_.pages.size(), 1u);
  EXPECT_EQ(controller_.state().settings.page_title, "Dogs");

  std::size_t errors_when_ended = 0;
  controller_.set_end_program([&] { errors_when_ended = settings_view_.errors.size(); });
  controller_.SettingsWindowClosed();
  EXPECT_EQ(errors_when_ended, 2u);
  EXPECT_NE(settings_view_.errors[1].find("lost"), std::string::npos) << settings_view_.errors[1];
}

// The title size and a default colour: one waits for the next save, the
// other saves and rebuilds at once.
TEST_F(ProgramControllerTest, ATitleSizeWaitsForTheNextSaveWhileADefaultColourIsBuiltAtOnce) {
  StartWithLanguageLine(" 0");
  const std::string size_saved = "\r\n4\r\n 0";  // the title size, then the language
  controller_.TitleSizeClicked(3);
  EXPECT_EQ(TextOf(controller_.state().settings, TextField::kTitleSize), "4");
  EXPECT_EQ(main_view_.pages.size(), 1u);
  EXPECT_EQ(program_.ReadFile("ins.txt").find(size_saved), std::string::npos);

  controller_.SlidersMoved(Colour::kHeaderCell, 1, 0, 0);
  controller_.DefaultColourClicked(Colour::kHeaderCell);
  EXPECT_EQ(main_view_.pages.size(), 3u);
  const std::string code = DefaultCode(Colour::kHeaderCell);
  EXPECT_EQ(CodeOf(controller_.state().settings, Colour::kHeaderCell), code);
  EXPECT_NE(program_.ReadFile("ins.txt").find(size_saved), std::string::npos);
  EXPECT_NE(program_.ReadFile("ins.txt").find(code), std::string::npos);
  EXPECT_NE(program_.ReadFile("mijnstart.html").find(code), std::string::npos);
}

TEST_F(ProgramControllerTest, AChangeReportedDuringARebuildIsTakenUpAfterIt) {
  StartWithLanguageLine(" 0");
  bool rebuilt_inside = false;
  settings_view_.while_showing = [&] {
    settings_view_.while_showing = nullptr;
    const std::size_t pages = main_view_.pages.size();
    controller_.FavoritesChanged();
    rebuilt_inside = main_view_.pages.size() != pages;
  };
  controller_.RefreshClicked();
  EXPECT_FALSE(rebuilt_inside);
  EXPECT_EQ(main_view_.pages.size(), 3u);  // start-up, refresh, the change
}

TEST_F(ProgramControllerTest, TheImportButtonImportsWhatTheUserPicksAndRebuilds) {
  struct Case {
    std::optional<std::size_t> choice;
    std::optional<std::string> file;
    const char* imported;  // the path imported, or none
    const char* outcome;   // the start of the message, or none
  };
  const std::vector<Case> cases = {
      {0, std::nullopt, "/ff/places.sqlite", "Imported into"},
      {1, "/home/me/bookmarks.html", "/home/me/bookmarks.html", "Imported into"},
      {1, "bad", "bad", "Not imported:\nbad: not a bookmarks file"},
      {std::nullopt, std::nullopt, nullptr, nullptr},  // the choice cancelled
      {1, std::nullopt, nullptr, nullptr},             // the file chooser cancelled
  };
  for (const Case& c : cases) {
    FakeImporter importer;
    importer.favorites = favorites_.path();
    ScriptedImportView view;
    view.choice = c.choice;
    view.file = c.file;
    controller_.set_bookmark_import(&importer, &view);
    StartWithLanguageLine(" 0");
    const std::size_t pages = main_view_.pages.size();
    controller_.FieldEdited(TextField::kPageTitle, "Typed");
    controller_.ImportClicked();

    EXPECT_EQ(view.offered_count, 1u);
    EXPECT_EQ(view.from_file_caption, "From a file...");
    // The window's values are saved before the import looks at the settings.
    EXPECT_NE(program_.ReadFile("ins.txt").find("Typed"), std::string::npos);
    ASSERT_EQ(importer.imported.size(), c.imported ? 1u : 0u);
    if (c.imported) {
      EXPECT_EQ(importer.imported[0], c.imported);
    }
    ASSERT_EQ(view.outcomes.size(), c.outcome ? 1u : 0u);
    if (!c.outcome) continue;
    EXPECT_TRUE(view.outcomes[0].starts_with(c.outcome)) << view.outcomes[0];
    const bool imported = std::string(c.outcome) == "Imported into";
    EXPECT_EQ(main_view_.pages.size(), pages + (imported ? 1 : 0));
    if (imported) {
      EXPECT_NE(view.outcomes[0].find("1 added"), std::string::npos);
      EXPECT_NE(program_.ReadFile("mijnstart.html").find("imported.example"), std::string::npos);
    }
  }
}

TEST_F(ProgramControllerTest, TheImportDialogsSpeakTheWindowsLanguage) {
  FakeImporter importer;
  ScriptedImportView view;
  controller_.set_bookmark_import(&importer, &view);
  StartWithLanguageLine(" 1");
  controller_.ImportClicked();
  EXPECT_EQ(view.from_file_caption, "Uit een bestand...");
}

}  // namespace
}  // namespace qv
