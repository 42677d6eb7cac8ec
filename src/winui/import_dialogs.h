// The dialogs of the "Import bookmarks..." button: a list of the sources
// found with "From a file..." after them, the system's file chooser, and a
// box with the outcome, all over the settings window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "control/bookmark_import.h"
#include "generator/windows_api.h"

namespace qv::winui {

// Lets the user pick a file: title, filter ("Name (*.a *.b);;Name (*)");
// none when the user cancels.
using FileChooser =
    std::function<std::optional<std::string>(const std::string& title, const std::string& filter)>;

class Win32ImportDialogs : public ImportView {
 public:
  Win32ImportDialogs(HWND owner, FileChooser chooser)
      : owner_(owner), chooser_(std::move(chooser)) {}

  std::optional<std::size_t> ChooseSource(const std::vector<BookmarkSource>& sources,
                                          const ImportWords& words) override;
  std::optional<std::string> ChooseFile(const ImportWords& words) override;
  void ShowOutcome(const Message& message) override;

 private:
  HWND owner_;
  FileChooser chooser_;
};

// The importer this build brings for the button: the user's browsers and the
// bookmark readers, into the Favorites folder of the settings; none where the
// build has no import (system_importer_included.cpp,
// system_importer_left_out.cpp).
std::unique_ptr<BookmarkImporter> ImporterOfThisBuild();

}  // namespace qv::winui
