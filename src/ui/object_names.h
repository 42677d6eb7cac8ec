// The object names of the settings window's controls, which say what each one
// is: "pageTitleField", "linkCellColourRedSlider", "titleSize4Button".
#pragma once

#include <QString>

#include "settings/settings.h"

namespace qv {

enum class Channel { kRed, kGreen, kBlue };
inline constexpr int kChannelCount = 3;

QString FieldObjectName(TextField field);                       // "pageTitleField"
QString FieldLabelObjectName(TextField field);                  // "pageTitleLabel"
QString CodeFieldObjectName(Colour colour);                     // "pageColourCodeField"
QString DefaultButtonObjectName(Colour colour);                 // "pageColourDefaultButton"
QString SwatchObjectName(Colour colour);                        // "pageColourSwatch"
QString SlidersObjectName(Colour colour);                       // "pageColourSliders"
QString SliderObjectName(Colour colour, Channel channel);       // "pageColourRedSlider"
QString SliderLabelObjectName(Colour colour, Channel channel);  // "pageColourRedLabel"
QString TitleSizeButtonObjectName(int option);                  // "titleSize1Button" for 0

}  // namespace qv
