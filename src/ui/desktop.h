// The desktop as the program uses it: its opener for documents and web
// addresses, and message boxes of their own.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

#include "control/views.h"

namespace qv {

// The desktop's opener; true when it took the address.
using DocumentOpener = std::function<bool(const QUrl&)>;

DocumentOpener DesktopOpener();

// The desktop's folder chooser: the chosen folder, or an empty text.
using FolderChooser = std::function<QString(const QString& title, const QString& start)>;

FolderChooser DesktopFolderChooser();

// What `document` names: a web address (it starts with a scheme such as
// "https:" or "mailto:") as it is, anything else as a file path.
QUrl DocumentAddress(const QString& document);

class QtDesktop : public Desktop {
 public:
  explicit QtDesktop(DocumentOpener opener = DesktopOpener(),
                     FolderChooser chooser = DesktopFolderChooser())
      : opener_(std::move(opener)), chooser_(std::move(chooser)) {}

  bool OpenDocument(const std::string& document) override;
  void ShowWarning(const Message& message) override;
  std::string ChooseFolder(const std::string& title, const std::string& start) override;

 private:
  DocumentOpener opener_;
  FolderChooser chooser_;
};

}  // namespace qv
