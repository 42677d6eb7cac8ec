#include "control/captions.h"

#include "control/bookmark_import.h"

namespace qv {

constexpr CaptionSet kDutchCaptions = {
    {"Titel van de pagina", "HTML-pagina (het resultaat)", "Jouw naam", "Pad naar favorieten",
     "HTTP-pad advertentie (links) (234x60)", "HTTP-pad advertentie (rechts) (234x60)",
     "Jouw omschrijving", "Jouw e-mailadres", "Indien geklikt doorlinken naar",
     "Indien geklikt doorlinken naar", "HTML-code voor statistieken", "Zoekmachine Omschrijving",
     "Zoekmachine steekwoorden", "Formaat van de titel"},
    "Rood",
    "Groen",
    "Blauw",
    "&Verversen",
    "Standaard",
    "Instellingen",
    "Qelmora Vorlindo maker",
    "Bladwijzers &importeren...",
    "Kies je favorietenmap met ... of typ het pad",
    "Deze map bestaat niet, dus de pagina toont geen categorieën. Maak de map, of kies een "
    "andere met ...",
    "...",
    "Map kiezen",
    "Map met favorieten kiezen",
    "&Openen in browser",
    "Waar de pagina staat",
    "De pagina krijgt {}.",
    "De pagina kan {} niet als kleur gebruiken.",
    "Alleen de eerste zeven tekens komen op de pagina.",
    "Probleem",
    "Opstarten bestand {} mislukt!!\r(geen koppeling met het programma, document bestaat niet "
    "meer)",
    {{"Titel van de pagina", "Bestandsnaam van de pagina", "Jouw naam", "Map met favorieten",
      "Afbeelding van de linker advertentie", "Afbeelding van de rechter advertentie",
      "Jouw omschrijving", "Jouw e-mailadres", "Link van de linker advertentie",
      "Link van de rechter advertentie", "HTML-code voor statistieken",
      "Omschrijving voor zoekmachines", "Steekwoorden voor zoekmachines",
      "Formaat van de titel, 1 tot en met 5"},
     {"paginakleur", "kleur van de linkvakken", "kleur van de categoriekoppen", "achtergrondkleur"},
     "{}, rood",
     "{}, groen",
     "{}, blauw",
     "code van de {}",
     "standaard {}",
     "De code is nu {}; een verschuiving vervangt die door de kleur van de drie schuifregelaars.",
     "leeg",
     "Formaat van de titel",
     "Titelformaat {}",
     "Nederlands",
     "English",
     "Opent de website van de maker",
     "Pad van de pagina"},
};

// The windows are created with the Dutch set, except for the captions they
// carry before the first language is chosen.
constexpr CaptionSet CreatedCaptions(CaptionSet captions) {
  captions.field_labels = {"Titel van de pagina",
                           "Html-pagina",
                           "Naam maker",
                           "Pad naar favorieten",
                           "HTP-pad naar advertentie links",
                           "HTP-pad naar advertentie rechts",
                           "Omschrijving maker",
                           "E-mailadres",
                           "Indien geklikt doorlinken naar",
                           "Indien geklikt doorlinken naar",
                           "HTML code for statistics",
                           "Zoekmachine Omschrijving",
                           "Zoekmachine Steekwoorden",
                           "Formaat van de titel ( 1 t/m 5 )"};
  captions.red = "Red";
  captions.green = "Green";
  captions.blue = "Blue";
  captions.refresh = "refresh";
  captions.settings_title = "Form2";
  captions.main_title = "Form1";
  captions.import_bookmarks = "Import bookmarks...";
  return captions;
}

constexpr CaptionSet kCreatedCaptions = CreatedCaptions(kDutchCaptions);

const CaptionSet kEnglishCaptions = {
    {"Title on top of the page", "HTML-page (the final result)", "Your name", "Path to favorites",
     "HTTP-path advertisment (left) (234x60)", "HTTP-path advertisment (right) (234x60)",
     "Your discription", "Your e-mailaddress", "if clicked redirect to ", "if clicked redirect to ",
     "HTML-code for statistics", "Search-robot description", "Search-robot keywords",
     "Size of the main title"},
    "Red",
    "Green",
    "Blue",
    "&Refresh",
    "Standard",
    "Setup",
    "Qelmora Vorlindo creator",
    "&Import bookmarks...",
    "Choose your Favorites folder with ... or type its path",
    "This folder is not there, so the page shows no categories. Create it, or choose "
    "another with ...",
    "...",
    "Choose folder",
    "Choose the Favorites folder",
    "&Open in browser",
    "Where the page is",
    "The page gets {}.",
    "The page cannot use {} as a colour.",
    "Only the first seven characters reach the page.",
    "Problem",
    "Opening {} failed!!\r(no program is linked to it, or the document no longer exists)",
    {{"Page title", "Page file name", "Your name", "Favorites folder", "Left banner picture",
      "Right banner picture", "Your description", "Your e-mail address", "Left banner link",
      "Right banner link", "Statistics code", "Search engine description", "Search engine keywords",
      "Title size, 1 to 5"},
     {"page colour", "link cell colour", "category header colour", "background colour"},
     "{}, red",
     "{}, green",
     "{}, blue",
     "{} code",
     "default {}",
     "The code is now {}; a move replaces it with the colour of the three sliders.",
     "empty",
     "Title size",
     "Title size {}",
     "Nederlands",
     "English",
     "Opens the maker's web site",
     "Page path"},
};

constexpr ImportWords kDutchImportWords = {
    "Bladwijzers importeren",
    "Waar komen de bladwijzers vandaan?",
    "Uit een bestand...",
    "Bladwijzers (*.html *.htm *.json places.sqlite Bookmarks);;Alle bestanden (*)",
    "Geïmporteerd in",
    "Niet geïmporteerd:"};
constexpr ImportWords kEnglishImportWords = {
    "Import bookmarks", "Where do the bookmarks come from?",
    "From a file...",   "Bookmarks (*.html *.htm *.json places.sqlite Bookmarks);;All files (*)",
    "Imported into",    "Not imported:"};

const ImportWords& ImportWordsOf(Language language) {
  return language == Language::kDutch ? kDutchImportWords : kEnglishImportWords;
}

const CaptionSet& CaptionsOf(Language language) {
  return language == Language::kDutch ? kDutchCaptions : kEnglishCaptions;
}

std::string FillIn(const char* pattern, const std::string& value) {
  std::string text = pattern;
  const std::size_t marker = text.find("{}");
  if (marker != std::string::npos) text.replace(marker, 2, value);
  return text;
}

std::string ColourControlName(const AccessibleNames& names, const char* pattern, Colour colour) {
  std::string name = FillIn(pattern, names.colours[static_cast<int>(colour)]);
  // The names are ASCII at their start.
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

const char* FieldLabel(const CaptionSet& captions, TextField field) {
  return captions.field_labels[static_cast<int>(field)];
}

std::string SliderDescription(const AccessibleNames& names, const std::string& code) {
  return FillIn(names.slider_code, code.empty() ? names.empty_code : code);
}

}  // namespace qv
