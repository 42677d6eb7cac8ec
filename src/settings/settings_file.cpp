#include "settings/settings_file.h"

#include <array>
#include <string>

#include "generator/file_system.h"
#include "generator/side_files.h"
#include "generator/text.h"
#include "generator/text_file.h"

namespace qv {
namespace {

// Files of the program itself, in lower case. A page of one of these names
// would be deleted and rewritten by every run, taking the settings, a template
// or the program with it.
constexpr std::array<const char*, 11> kOwnFileNames = {
    kSettingsFileName,        kHeaderTemplateName, kFooterTemplateName,   kDutchLanguageFileName,
    kEnglishLanguageFileName, kOptionFileName,     kIntermediateFileName, "vorlindo",
    "vorlindo-build",         "vorlindo.exe",      "vorlindo-build.exe"};

// Trailing blanks and dots are passed over because Windows drops them from a
// file name: "ins.txt. " opens "ins.txt" there.
bool IsOwnFileName(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
  const std::string folded = AsciiLowerCase(name);
  for (const char* own : kOwnFileNames) {
    if (folded == own) return true;
  }
  return false;
}

// Every line break of `value` (CR LF, CR or LF) becomes one blank, so that the
// value keeps to its own line of the file.
std::string OnOneLine(std::string_view value) {
  std::string line;
  line.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      line += ' ';
    } else {
      line += c;
    }
  }
  return line;
}

// " 0", " 1", "-1": a blank stands where a minus sign would.
std::string FormatLanguageCode(std::int16_t code) {
  return code < 0 ? std::to_string(code) : " " + std::to_string(code);
}

// The line-19 value; a line without a number gives 0, a number outside the
// 16-bit range leaves the code as it was.
void ReadLanguageCode(LineReader& reader, std::int16_t& code) {
  std::string line;
  if (!reader.Next(line)) {
    code = 0;
    return;
  }
  if (auto value = RoundToInt16(LeadingNumber(line))) code = *value;
}

// A title size of zero or below becomes 3; then the button that matches it is
// selected, which writes its bare digit back. A size past the buttons selects
// none and stays as written.
void RepairTitleSize(ProgramState& state) {
  std::string& size = state.settings.T[kTitleSizeField];
  if (LeadingNumber(size) <= 0) size = "3";
  const auto option = RoundToInt16(LeadingNumber(size) - 1);
  if (option && *option >= 0 && *option < kTitleSizeOptionCount) {
    SelectTitleSizeOption(state, *option);
  } else {
    state.selectedTitleSizeOption = kNoTitleSizeOption;
  }
}

}  // namespace

std::string PageFileNameFrom(std::string_view page_file_field) {
  if (TrimBlanks(page_file_field).empty() || !IsPlainFileName(page_file_field) ||
      IsOwnFileName(page_file_field)) {
    return kDefaultPageFileName;
  }
  return std::string(page_file_field);
}

std::string FormatSettings(const Settings& settings, std::int16_t language_code) {
  std::string text;
  for (const auto& colour : settings.Text1) text += OnOneLine(colour) + "\r\n";
  for (const auto& field : settings.T) text += OnOneLine(field) + "\r\n";
  text += FormatLanguageCode(language_code) + "\r\n";
  return text;
}

Status SaveSettings(ProgramState& state, const std::string& app_folder) {
  const std::string path = app_folder + kSettingsFileName;
  const Status written =
      ReplaceFileAtomically(path, FormatSettings(state.settings, state.LanguageCode));
  if (!written.ok()) return written;  // its reason names the file
  state.PageFileName = PageFileNameFrom(state.settings.T[kPageFileField]);
  return Status::Ok();
}

void ApplyFieldChangeRule(Settings& settings, int field) {
  if (field == kDescriptionField || field == kKeywordsField) {
    settings.T[field] = UpperCase(settings.T[field]);
  }
}

void SelectTitleSizeOption(ProgramState& state, int option) {
  if (option < 0 || option >= kTitleSizeOptionCount) return;
  state.selectedTitleSizeOption = option;
  state.settings.T[kTitleSizeField] = std::to_string(option + 1);
}

bool LoadSettings(ProgramState& state, const std::string& app_folder) {
  if (!VisibleFileExists(app_folder, kSettingsFileName)) return false;
  LineReader reader(app_folder + kSettingsFileName);
  if (!reader.is_open()) return false;

  Settings& settings = state.settings;
  std::string line;
  bool more = true;
  for (int i = 0; more && i < kColourCount; ++i) {
    if ((more = reader.Next(line))) settings.Text1[i] = line;
  }
  for (int i = 0; more && i < kFieldCount; ++i) {
    if ((more = reader.Next(line))) {
      settings.T[i] = line;
      ApplyFieldChangeRule(settings, i);
    }
  }
  if (more) {
    ReadLanguageCode(reader, state.LanguageCode);
  } else {
    state.LanguageCode = 0;
  }
  RepairTitleSize(state);
  return true;
}

}  // namespace qv
