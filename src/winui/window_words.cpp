#include "winui/window_words.h"

namespace qv::winui {
namespace {

constexpr WindowWords kDutchWords = {
    "De pagina is gemaakt, maar dit venster kan haar niet tonen: {}.",
    "Windows geeft het geen webweergave",
    "de webweergave kon haar niet laden (fout {})",
    "Bladwijzers importeren zit niet in deze versie van het programma.",
    "OK",
    "Annuleren",
};

constexpr WindowWords kEnglishWords = {
    "The page has been written, but this window cannot show it: {}.",
    "Windows gives it no web control",
    "the web control could not load it (error {})",
    "Importing bookmarks is not part of this build of the program.",
    "OK",
    "Cancel",
};

}  // namespace

const WindowWords& WindowWordsFor(const CaptionSet& captions) {
  return &captions == &kEnglishCaptions ? kEnglishWords : kDutchWords;
}

}  // namespace qv::winui
