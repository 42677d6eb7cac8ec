#include "settings/settings_file.h"

#include <array>
#include <string>

#include "generator/file_replacement.h"
#include "generator/file_system.h"
#include "generator/side_files.h"
#include "generator/text.h"
#include "generator/text_file.h"
#include "settings/language.h"

namespace qv {
namespace {

// Files of the program itself, in lower case. A page of one of these names
// would be deleted and rewritten by every run, taking the settings, a template
// or the program with it.
constexpr std::array<const char*, 13> kOwnFileNames = {
    kSettingsFileName,        kHeaderTemplateName, kFooterTemplateName,   kDutchLanguageFileName,
    kEnglishLanguageFileName, kOptionFileName,     kIntermediateFileName, "vorlindo",
    "vorlindo-build",         "vorlindo-import",   "vorlindo.exe",        "vorlindo-build.exe",
    "vorlindo-import.exe"};

// Trailing blanks and dots are passed over because Windows drops them from a
// file name: "ins.txt. " opens "ins.txt" there.
bool IsOwnFileName(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
  const std::string folded = AsciiLowerCase(name);
  if (IsTemporaryFileName(folded, kIntermediateFileName)) return true;
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
  if (const Result<std::int16_t> value = RoundToInt16(LeadingNumber(line)); value.ok()) {
    code = *value;
  }
}

// A title size of zero or below becomes 3; then the button that matches it is
// selected, which writes its bare digit back. A size past the buttons selects
// none and stays as written.
void RepairTitleSize(ProgramState& state) {
  std::string& size = state.settings.title_size;
  if (LeadingNumber(size) <= 0) size = "3";
  const Result<std::int16_t> option = RoundToInt16(LeadingNumber(size) - 1);
  if (option.ok() && *option >= 0 && *option < kTitleSizeOptionCount) {
    SelectTitleSizeOption(state, *option);
  } else {
    state.selected_title_size = kNoTitleSizeOption;
  }
}

// Ok when there is no settings file or a load reads it; else why not.
Status SettingsFileReadable(const std::string& app_folder) {
  if (!HasSettingsFile(app_folder)) return Status::Ok();
  ProgramState read;
  return LoadSettings(read, app_folder);
}

}  // namespace

PageNameRefusal PageFileNameRefusal(std::string_view page_file_field) {
  if (TrimBlanks(page_file_field).empty()) return PageNameRefusal::kNone;
  if (!IsPlainFileName(page_file_field)) return PageNameRefusal::kNotAPlainName;
  if (IsOwnFileName(page_file_field)) return PageNameRefusal::kProgramsOwnName;
  return PageNameRefusal::kNone;
}

const char* RefusalReason(PageNameRefusal refusal) {
  switch (refusal) {
    case PageNameRefusal::kNotAPlainName:
      return "it is not the name of a file of its own in the program's folder";
    case PageNameRefusal::kProgramsOwnName:
      return "the program keeps a file of its own under it";
    case PageNameRefusal::kNone:
      break;
  }
  return "";
}

std::string PageFileNameFrom(std::string_view page_file_field) {
  if (TrimBlanks(page_file_field).empty() ||
      PageFileNameRefusal(page_file_field) != PageNameRefusal::kNone) {
    return kDefaultPageFileName;
  }
  return std::string(page_file_field);
}

std::string FormatSettings(const Settings& settings, std::int16_t language_code) {
  std::string text;
  for (const Colour colour : kColours) text += OnOneLine(CodeOf(settings, colour)) + "\r\n";
  for (const TextField field : kTextFields) text += OnOneLine(TextOf(settings, field)) + "\r\n";
  text += FormatLanguageCode(language_code) + "\r\n";
  return text;
}

Status SaveSettings(const ProgramState& state, const std::string& app_folder) {
  if (const Status readable = SettingsFileReadable(app_folder); !readable.ok()) {
    return Status::Error(readable.reason() + "; saving over it would lose what it holds");
  }
  // The reason of a failure names the file.
  return ReplaceFileAtomically(app_folder + kSettingsFileName,
                               FormatSettings(state.settings, state.language_code));
}

void ApplyFieldChangeRule(Settings& settings, TextField field) {
  if (field == TextField::kSearchDescription || field == TextField::kSearchKeywords) {
    std::string& text = TextOf(settings, field);
    text = UpperCase(text);
  }
}

void SelectTitleSizeOption(ProgramState& state, int option) {
  if (option < 0 || option >= kTitleSizeOptionCount) return;
  state.selected_title_size = option;
  state.settings.title_size = std::to_string(option + 1);
}

bool HasSettingsFile(const std::string& app_folder) {
  return VisibleFileExists(app_folder, kSettingsFileName);
}

Status LoadSettings(ProgramState& state, const std::string& app_folder) {
  if (!HasSettingsFile(app_folder)) {
    return Status::Error("no settings file " + app_folder + kSettingsFileName);
  }
  LineReader reader(app_folder + kSettingsFileName, kLongestSettingsLine, FileText::kUtf8OrAnsi);
  if (!reader.is_open()) return reader.open_status();

  Settings& settings = state.settings;
  std::string line;
  bool more = true;
  for (auto colour = kColours.begin(); more && colour != kColours.end(); ++colour) {
    if ((more = reader.Next(line))) CodeOf(settings, *colour) = line;
  }
  for (auto field = kTextFields.begin(); more && field != kTextFields.end(); ++field) {
    if ((more = reader.Next(line))) {
      TextOf(settings, *field) = line;
      ApplyFieldChangeRule(settings, *field);
    }
  }
  if (more) {
    ReadLanguageCode(reader, state.language_code);
  } else {
    state.language_code = 0;
  }
  RepairTitleSize(state);
  return reader.read_status();
}

}  // namespace qv
