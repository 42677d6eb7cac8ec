// The desktop as the program uses it: its opener for documents and web
// addresses, and message boxes of their own.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>

#include "control/views.h"

namespace qv {

// Called when what took an address ends at once with a failure, with its
// exit code; later, from the event loop.
using OpenFailed = std::function<void(int exit_code)>;
// The desktop's opener; true when it took the address.
using DocumentOpener = std::function<bool(const QUrl&, OpenFailed failed)>;

DocumentOpener DesktopOpener();
// Hands the address to `program` (the desktop's opener, "xdg-open") as its
// one argument. What the program ends with in its first seconds is reported;
// after that it runs on by itself, beyond the end of this program.
DocumentOpener ProgramOpener(const QString& program);

// The desktop's folder chooser: the chosen folder, or an empty text.
using FolderChooser = std::function<QString(const QString& title, const QString& start)>;

FolderChooser DesktopFolderChooser();

// Where a chooser starts for `folder`: the folder when it is there, else the
// user's home folder.
QString ChooserStart(const QString& folder);

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

  // Who hears of a document whose opener ended at once with a failure.
  void set_open_failed(std::function<void(const std::string& document, int exit_code)> heard) {
    open_failed_ = std::move(heard);
  }

 private:
  DocumentOpener opener_;
  FolderChooser chooser_;
  std::function<void(const std::string&, int)> open_failed_;
  // Lives as long as this desktop: a failure that comes later is dropped.
  std::shared_ptr<int> alive_ = std::make_shared<int>();
};

}  // namespace qv
