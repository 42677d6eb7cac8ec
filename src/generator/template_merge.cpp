#include "generator/template_merge.h"

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "generator/side_files.h"
#include "generator/text.h"
#include "generator/text_file.h"

namespace qv {
namespace {

enum class StepKind {
  kColour,        // overwrites the default colour with the user's, in place
  kWholeLine,     // the line becomes the field's text
  kLanguageLine,  // the line becomes the language line named by the next digit
  kHeadKept,      // the text before the literal stays, the attribute is closed
  kUpdateLine,    // the line becomes the date of the last update
};

struct Step {
  std::string_view literal;
  StepKind kind;
  int source;  // colour or field index, where the kind uses one
};

// The order matters: each step sees the line as the steps before it left it.
constexpr Step kSteps[] = {
    {"#009933", StepKind::kColour, kPageColour},
    {"#FFCC99", StepKind::kColour, kLinkCellColour},
    {"#003399", StepKind::kColour, kHeaderCellColour},
    {"#FFFFF0", StepKind::kColour, kBackgroundColour},
    {"@#$LINK1!@#", StepKind::kWholeLine, kLeftBannerLinkField},
    {"@#$LINK2!@#", StepKind::kWholeLine, kRightBannerLinkField},
    {"@#$LINK1GIF!@#", StepKind::kWholeLine, kLeftBannerImageField},
    {"@#$LINK2GIF!@#", StepKind::kWholeLine, kRightBannerImageField},
    {"@#$TITEL@#$", StepKind::kWholeLine, kTitleField},
    {"@#$STATISTICS@#$", StepKind::kWholeLine, kStatisticsField},
    {"@#$EMAIL@#$", StepKind::kWholeLine, kEmailField},
    {"@#$CREATORDISCR@#$", StepKind::kWholeLine, kCreatorDescriptionField},
    {"@#$CREATOR@#$", StepKind::kWholeLine, kCreatorField},
    {"@#$LINE", StepKind::kLanguageLine, 0},
    {"@#$DESCRIPTION", StepKind::kHeadKept, kDescriptionField},
    {"@#$KEYWORDS", StepKind::kHeadKept, kKeywordsField},
    {"@#$TSIZE@#$", StepKind::kWholeLine, kTitleSizeField},
    {"@#$UPDATE@#$", StepKind::kUpdateLine, 0},
};

// Every colour code takes exactly the room of the default it replaces.
constexpr std::size_t kColourLength = 7;

// A language file line carries its text from this character on.
constexpr std::size_t kLanguageTextStart = 12;

constexpr std::int16_t kEnglish = 0;
constexpr std::int16_t kDutch = 1;

std::string FittedColour(std::string_view code) {
  const std::string padded = std::string(code) + std::string(kColourLength, ' ');
  return std::string(LeftChars(padded, kColourLength));
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string FourDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", value);
  return text;
}

// Nothing when the language code has no date line of its own.
std::optional<std::string> UpdateLine(std::int16_t language_code, const CalendarDate& today) {
  const std::string day = TwoDigits(today.day);
  const std::string month = TwoDigits(today.month);
  const std::string year = FourDigits(today.year);
  if (language_code == kEnglish) return "Updated : " + month + "-" + day + "-" + year;
  if (language_code == kDutch) return "Laatst bijgewerkt : " + day + "-" + month + "-" + year;
  return std::nullopt;
}

// Nothing when no digit follows the placeholder.
std::optional<std::string> LanguageText(const std::string& line, std::size_t digit_at,
                                        const LanguageLines& language_lines) {
  if (digit_at >= line.size()) return std::nullopt;
  const char digit = line[digit_at];
  if (digit < '0' || digit > '9') return std::nullopt;
  const std::string& entry = language_lines[digit - '0'];
  return std::string(TrimBlanks(CharsFrom(entry, kLanguageTextStart)));
}

void ApplyStep(const Step& step, std::size_t found, std::string& line,
               const MergeSources& sources) {
  const Settings& settings = sources.settings;
  switch (step.kind) {
    case StepKind::kColour:
      line.replace(found, step.literal.size(), FittedColour(settings.Text1[step.source]));
      break;
    case StepKind::kWholeLine:
      line = settings.T[step.source];
      break;
    case StepKind::kLanguageLine:
      if (auto text = LanguageText(line, found + step.literal.size(), sources.language_lines)) {
        line = std::move(*text);
      }
      break;
    case StepKind::kHeadKept:
      line = line.substr(0, found) + settings.T[step.source] + "\">";
      break;
    case StepKind::kUpdateLine:
      if (auto text = UpdateLine(sources.language_code, sources.today)) line = std::move(*text);
      break;
  }
}

}  // namespace

std::string MergeLine(std::string line, const MergeSources& sources) {
  for (const Step& step : kSteps) {
    const std::size_t found = line.find(step.literal);
    if (found != std::string::npos) ApplyStep(step, found, line, sources);
  }
  return line;
}

Status MergePage(const std::string& app_folder, const std::string& page_file_name,
                 const MergeSources& sources) {
  const std::string source_path = app_folder + kIntermediateFileName;
  LineReader reader(source_path);
  if (!reader.is_open()) {
    return Status::Error(reader.open_error());
  }
  const std::string page_path = app_folder + page_file_name;
  LineWriter page(page_path);
  std::string line;
  while (page.is_open() && reader.Next(line)) page.WriteLine(MergeLine(std::move(line), sources));
  return page.Close();
}

}  // namespace qv
