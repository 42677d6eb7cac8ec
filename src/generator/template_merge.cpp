#include "generator/template_merge.h"

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "generator/text.h"

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
  // What the step puts in, where its kind uses one.
  std::string PageColours::*colour = nullptr;
  std::string PageTexts::*text = nullptr;
};

constexpr Step Colour(std::string_view literal, std::string PageColours::*colour) {
  return {literal, StepKind::kColour, colour, nullptr};
}
constexpr Step Text(std::string_view literal, StepKind kind, std::string PageTexts::*text) {
  return {literal, kind, nullptr, text};
}

// The order matters: each step sees the line as the steps before it left it.
constexpr Step kSteps[] = {
    Colour(kDefaultPageColour, &PageColours::page_colour),
    Colour(kDefaultLinkCellColour, &PageColours::link_cell_colour),
    Colour(kDefaultHeaderCellColour, &PageColours::header_cell_colour),
    Colour(kDefaultBackgroundColour, &PageColours::background_colour),
    Text("@#$LINK1!@#", StepKind::kWholeLine, &PageTexts::left_banner_link),
    Text("@#$LINK2!@#", StepKind::kWholeLine, &PageTexts::right_banner_link),
    Text("@#$LINK1GIF!@#", StepKind::kWholeLine, &PageTexts::left_banner_image),
    Text("@#$LINK2GIF!@#", StepKind::kWholeLine, &PageTexts::right_banner_image),
    Text("@#$TITEL@#$", StepKind::kWholeLine, &PageTexts::page_title),
    Text("@#$STATISTICS@#$", StepKind::kWholeLine, &PageTexts::statistics_code),
    Text("@#$EMAIL@#$", StepKind::kWholeLine, &PageTexts::email),
    Text("@#$CREATORDISCR@#$", StepKind::kWholeLine, &PageTexts::maker_description),
    Text("@#$CREATOR@#$", StepKind::kWholeLine, &PageTexts::maker_name),
    {"@#$LINE", StepKind::kLanguageLine},
    Text("@#$DESCRIPTION", StepKind::kHeadKept, &PageTexts::search_description),
    Text("@#$KEYWORDS", StepKind::kHeadKept, &PageTexts::search_keywords),
    Text("@#$TSIZE@#$", StepKind::kWholeLine, &PageTexts::title_size),
    {"@#$UPDATE@#$", StepKind::kUpdateLine},
};

// Every colour code takes exactly the room of the default it replaces.
constexpr std::size_t kColourLength = 7;

// A language file line carries its text from this character on.
constexpr std::size_t kLanguageTextStart = 12;

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

std::string UpdateLine(UpdateLineStyle style, const CalendarDate& today) {
  const std::string day = TwoDigits(today.day);
  const std::string month = TwoDigits(today.month);
  const std::string year = FourDigits(today.year);
  if (style == UpdateLineStyle::kDutch) {
    return "Laatst bijgewerkt : " + day + "-" + month + "-" + year;
  }
  return "Updated : " + month + "-" + day + "-" + year;
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
  switch (step.kind) {
    case StepKind::kColour:
      line.replace(found, step.literal.size(), FittedColour(sources.colours.*step.colour));
      break;
    case StepKind::kWholeLine:
      line = sources.texts.*step.text;
      break;
    case StepKind::kLanguageLine:
      if (auto text = LanguageText(line, found + step.literal.size(), sources.language_lines)) {
        line = std::move(*text);
      }
      break;
    case StepKind::kHeadKept:
      line = line.substr(0, found) + sources.texts.*step.text + "\">";
      break;
    case StepKind::kUpdateLine:
      if (sources.update_line != UpdateLineStyle::kLeftAsIs) {
        line = UpdateLine(sources.update_line, sources.today);
      }
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

}  // namespace qv
