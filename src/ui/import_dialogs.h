// The dialogs of the "Import bookmarks..." button: a list of the sources found
// with "From a file..." after them, the desktop's file chooser, and a box
// with the outcome, all over the settings window.
#pragma once

#include <QWidget>

#include "control/bookmark_import.h"

namespace qv {

class QtImportDialogs : public ImportView {
 public:
  explicit QtImportDialogs(QWidget* parent) : parent_(parent) {}

  std::optional<std::size_t> ChooseSource(const std::vector<BookmarkSource>& sources,
                                          const ImportWords& words) override;
  std::optional<std::string> ChooseFile(const ImportWords& words) override;
  void ShowOutcome(const Message& message) override;

 private:
  QWidget* parent_;
};

}  // namespace qv
