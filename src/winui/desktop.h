// The desktop as the program uses it: the shell that opens documents and web
// addresses, message boxes of their own, and the folder chooser.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "control/views.h"
#include "generator/windows_api.h"

namespace qv::winui {

// Hands a document or web address to the desktop; true when it took it.
using DocumentOpener = std::function<bool(const std::string& document)>;
// Lets the user pick a folder: title, start; none when the user cancels.
using FolderChooser =
    std::function<std::optional<std::string>(const std::string& title, const std::string& start)>;

// The shell's "open", as a double click in Explorer does it.
DocumentOpener ShellOpener();

class Win32Desktop : public Desktop {
 public:
  Win32Desktop(DocumentOpener opener, FolderChooser chooser)
      : opener_(std::move(opener)), chooser_(std::move(chooser)) {}

  bool OpenDocument(const std::string& document) override { return opener_(document); }
  void ShowWarning(const Message& message) override;
  std::string ChooseFolder(const std::string& title, const std::string& start) override;

 private:
  DocumentOpener opener_;
  FolderChooser chooser_;
};

}  // namespace qv::winui
