// The values that travel between the settings file, the settings window and
// the generation run, and the tables the run's stages hand to each other.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace qv {

// Indexes of the text fields T(0) to T(13).
inline constexpr int kTitleField = 0;               // "@#$TITEL@#$"
inline constexpr int kPageFileField = 1;            // source of PageFileName
inline constexpr int kCreatorField = 2;             // "@#$CREATOR@#$"
inline constexpr int kFavoritesField = 3;           // folder to scan
inline constexpr int kLeftBannerImageField = 4;     // "@#$LINK1GIF!@#"
inline constexpr int kRightBannerImageField = 5;    // "@#$LINK2GIF!@#"
inline constexpr int kCreatorDescriptionField = 6;  // "@#$CREATORDISCR@#$"
inline constexpr int kEmailField = 7;               // "@#$EMAIL@#$"
inline constexpr int kLeftBannerLinkField = 8;      // "@#$LINK1!@#"
inline constexpr int kRightBannerLinkField = 9;     // "@#$LINK2!@#"
inline constexpr int kStatisticsField = 10;         // "@#$STATISTICS@#$"
inline constexpr int kDescriptionField = 11;        // "@#$DESCRIPTION", upper-cased
inline constexpr int kKeywordsField = 12;           // "@#$KEYWORDS", upper-cased
inline constexpr int kTitleSizeField = 13;          // "@#$TSIZE@#$", "1" to "5"
inline constexpr int kFieldCount = 14;

// Indexes of the colour codes Text1(0) to Text1(3), named after what the
// default colour paints in the page.
inline constexpr int kPageColour = 0;        // replaces "#009933"
inline constexpr int kLinkCellColour = 1;    // replaces "#FFCC99"
inline constexpr int kHeaderCellColour = 2;  // replaces "#003399"
inline constexpr int kBackgroundColour = 3;  // replaces "#FFFFF0"
inline constexpr int kColourCount = 4;

// The title-size buttons Option1(0) to Option1(4) carry the captions "1" to "5".
inline constexpr int kTitleSizeOptionCount = 5;
inline constexpr int kNoTitleSizeOption = -1;

inline constexpr const char* kDefaultPageFileName = "mijnstart.html";

// The maker's web site: shown without its scheme in the settings window and
// the home of the default banners.
inline constexpr const char* kMakerSiteAddress = "https://www.qelmora.example/";
inline constexpr const char* kMakerSiteCaption = "www.qelmora.example";

// The default colour codes; the link table paints with two of them and the
// merge replaces all four with the user's colours.
inline constexpr std::array<const char*, kColourCount> kDefaultColours = {"#009933", "#FFCC99",
                                                                          "#003399", "#FFFFF0"};

// The user's values: the texts of T(0)..T(13) and Text1(0)..Text1(3).
struct Settings {
  std::array<std::string, kFieldCount> T;
  std::array<std::string, kColourCount> Text1;

  // The values in force before a settings file exists.
  static Settings Defaults();

  bool operator==(const Settings&) const = default;
};

// Everything the program keeps between events: the settings window's values,
// the two program-wide globals and which title-size button is selected.
// The generation run reads and writes it; the windows mirror it.
struct ProgramState {
  Settings settings = Settings::Defaults();
  std::int16_t LanguageCode = 0;  // 1 Dutch, anything else English
  std::string PageFileName = kDefaultPageFileName;
  int selectedTitleSizeOption = kNoTitleSizeOption;  // 0..4 or none
};

// Ten language text slots; slots 1 to 9 hold the first nine lines of the
// language file, slot 0 stays empty.
inline constexpr int kLanguageLineCount = 10;
using LanguageLines = std::array<std::string, kLanguageLineCount>;

// Page columns A (left), B (middle) and C (right).
enum class PageColumn { A = 0, B = 1, C = 2 };
inline constexpr int kPageColumnCount = 3;

// The table that carries the catalogue to the link table writer: six text
// columns, rows from 0. Page column c uses caption column c and address
// column c + 3. A caption beginning with ";" is a category header.
class LinkGrid {
 public:
  static constexpr int kColumnCount = 6;
  using Row = std::array<std::string, kColumnCount>;

  void Clear() { rows_.clear(); }
  // Adds one empty row at the bottom.
  void AddRow() { rows_.emplace_back(); }
  // Makes room for `rows` rows at once, so that a growing grid never holds
  // two copies of its rows.
  void Reserve(std::size_t rows) { rows_.reserve(rows); }
  // Highest row in use, -1 when there is none.
  int MaxRow() const { return static_cast<int>(rows_.size()) - 1; }
  const std::string& Cell(int row, int column) const { return rows_[row][column]; }
  void SetCell(int row, int column, std::string text) { rows_[row][column] = std::move(text); }
  const std::vector<Row>& rows() const { return rows_; }

 private:
  std::vector<Row> rows_;
};

// The category folder names of the three page columns, each list kept in
// name order, and the running weights that balance the columns.
struct ColumnLists {
  std::array<std::vector<std::string>, kPageColumnCount> lists;  // ListA, ListB, ListC
  std::array<long long, kPageColumnCount> weights{};             // LabelA, LabelB, LabelC
  // The visible files of each category folder as the scan counted them, so
  // that the link collection turns exactly those into links without listing
  // any folder a second time.
  std::unordered_map<std::string, std::vector<std::string>> category_files;

  void Clear() {
    for (auto& list : lists) list.clear();
    weights = {};
    category_files.clear();
  }
};

// A calendar date, for the update line of the page.
struct CalendarDate {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
};

}  // namespace qv
