#include "winui/control_ids.h"

namespace qv::winui {

std::optional<Colour> ColourGroupOf(int id) {
  for (const Colour colour : kColours) {
    const int first = ColourGroupId(colour, 0);
    if (id >= first && id < first + kColourGroupIdStep) return colour;
  }
  return std::nullopt;
}

}  // namespace qv::winui
