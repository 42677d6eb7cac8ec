#include "generator/types.h"
#include "settings/favorites_folder.h"

namespace qv {

Settings Settings::Defaults() {
  Settings settings;
  settings.T = {
      "My Startpage",
      kDefaultPageFileName,
      "Pim Voorbeeld",
      DesignFavoritesFolder(),
      "https://www.qelmora.example/banners/left-234x60.png",
      "https://www.qelmora.example/banners/right-234x60.png",
      // The description carries a line break of its own; the settings file
      // stores it as a blank.
      "Programmar and creator of educational software. Creator of 'Trevilo' (Kwistel)\r\n",
      "pim@qelmora.example",
      "https://www.qelmora.example/vorlindo/",
      "https://www.qelmora.example/vorlindo/",
      "<!------- !>",
      // Mixed case on purpose: the field's change rule upper-cases it the
      // first time the settings are read back.
      "A startpage about cats and dogs",
      "ANIMALS DOGS CATS PUPPY HORSE ETC",
      "5",
  };
  for (int i = 0; i < kColourCount; ++i) settings.Text1[i] = kDefaultColours[i];
  return settings;
}

}  // namespace qv
