#include "settings/settings.h"

#include "settings/favorites_lookup.h"

namespace qv {
namespace {

constexpr std::array<std::string Settings::*, kTextFieldCount> kTextMembers = {
    &Settings::page_title,        &Settings::page_file_name,
    &Settings::maker_name,        &Settings::favorites_folder,
    &Settings::left_banner_image, &Settings::right_banner_image,
    &Settings::maker_description, &Settings::email,
    &Settings::left_banner_link,  &Settings::right_banner_link,
    &Settings::statistics_code,   &Settings::search_description,
    &Settings::search_keywords,   &Settings::title_size};

constexpr std::array<std::string Settings::*, kColourCount> kColourMembers = {
    &Settings::page_colour, &Settings::link_cell_colour, &Settings::header_cell_colour,
    &Settings::background_colour};

constexpr std::array<const char*, kColourCount> kDefaultCodes = {
    kDefaultPageColour, kDefaultLinkCellColour, kDefaultHeaderCellColour, kDefaultBackgroundColour};

}  // namespace

std::string& TextOf(Settings& settings, TextField field) {
  return settings.*kTextMembers[static_cast<int>(field)];
}

const std::string& TextOf(const Settings& settings, TextField field) {
  return settings.*kTextMembers[static_cast<int>(field)];
}

std::string& CodeOf(Settings& settings, Colour colour) {
  return settings.*kColourMembers[static_cast<int>(colour)];
}

const std::string& CodeOf(const Settings& settings, Colour colour) {
  return settings.*kColourMembers[static_cast<int>(colour)];
}

const char* DefaultCode(Colour colour) {
  return kDefaultCodes[static_cast<int>(colour)];
}

Settings DefaultSettings() {
  Settings settings;
  settings.page_title = "My Startpage";
  settings.maker_name = "Pim Voorbeeld";
  settings.favorites_folder = DesignFavoritesFolder();
  settings.left_banner_image = "https://www.qelmora.example/banners/left-234x60.png";
  settings.right_banner_image = "https://www.qelmora.example/banners/right-234x60.png";
  // The description carries a line break of its own; the settings file
  // stores it as a blank.
  settings.maker_description =
      "Programmar and creator of educational software. Creator of 'Trevilo' (Kwistel)\r\n";
  settings.email = "pim@qelmora.example";
  settings.left_banner_link = "https://www.qelmora.example/vorlindo/";
  settings.right_banner_link = "https://www.qelmora.example/vorlindo/";
  settings.statistics_code = "<!------- !>";
  // Mixed case on purpose: the field's change rule upper-cases it the first
  // time the settings are read back.
  settings.search_description = "A startpage about cats and dogs";
  settings.search_keywords = "ANIMALS DOGS CATS PUPPY HORSE ETC";
  settings.title_size = "5";
  return settings;
}

}  // namespace qv
