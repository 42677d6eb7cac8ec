#include "ui/object_names.h"

#include <array>

namespace qv {
namespace {

constexpr std::array<const char*, kTextFieldCount> kFieldNames = {
    "pageTitle",        "pageFileName",      "makerName",      "favoritesFolder", "leftBannerImage",
    "rightBannerImage", "makerDescription",  "email",          "leftBannerLink",  "rightBannerLink",
    "statisticsCode",   "searchDescription", "searchKeywords", "titleSize"};
constexpr std::array<const char*, kColourCount> kColourNames = {
    "pageColour", "linkCellColour", "headerCellColour", "backgroundColour"};
constexpr std::array<const char*, kChannelCount> kChannelNames = {"Red", "Green", "Blue"};

QString Name(TextField field, const char* kind) {
  return QString::fromLatin1(kFieldNames[static_cast<int>(field)]) + QLatin1String(kind);
}

QString Name(Colour colour, const char* kind) {
  return QString::fromLatin1(kColourNames[static_cast<int>(colour)]) + QLatin1String(kind);
}

QString Name(Colour colour, Channel channel, const char* kind) {
  return Name(colour, kChannelNames[static_cast<int>(channel)]) + QLatin1String(kind);
}

}  // namespace

QString FieldObjectName(TextField field) {
  return Name(field, "Field");
}
QString FieldLabelObjectName(TextField field) {
  return Name(field, "Label");
}
QString CodeFieldObjectName(Colour colour) {
  return Name(colour, "CodeField");
}
QString DefaultButtonObjectName(Colour colour) {
  return Name(colour, "DefaultButton");
}
QString SwatchObjectName(Colour colour) {
  return Name(colour, "Swatch");
}
QString SlidersObjectName(Colour colour) {
  return Name(colour, "Sliders");
}
QString SliderObjectName(Colour colour, Channel channel) {
  return Name(colour, channel, "Slider");
}
QString SliderLabelObjectName(Colour colour, Channel channel) {
  return Name(colour, channel, "Label");
}
QString TitleSizeButtonObjectName(int option) {
  return QStringLiteral("titleSize%1Button").arg(option + 1);
}

}  // namespace qv
