#include "ui/desktop.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>

namespace qv {
namespace {

// Runs the opener ("$@") and waits up to three seconds for it: its failure
// in that time is this script's exit code; an opener still running then is
// a browser at work and is left to run on, so this script ends with 0.
constexpr char kWaitAtFirst[] =
    "\"$@\" & opener=$!\n"
    "(sleep 3; kill -USR1 $$) & timer=$!\n"
    "trap 'exit 0' USR1\n"
    "wait $opener\n"
    "code=$?\n"
    "kill $timer 2>/dev/null\n"
    "exit $code\n";

}  // namespace

DocumentOpener DesktopOpener() {
  return ProgramOpener(QStringLiteral("xdg-open"));
}

DocumentOpener ProgramOpener(const QString& program) {
  return [program](const QUrl& address, OpenFailed failed) {
    auto* process = new QProcess;
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exit_code, QProcess::ExitStatus status) {
                       process->deleteLater();
                       if (status != QProcess::NormalExit) exit_code = -1;
                       if (exit_code != 0 && failed) failed(exit_code);
                     });
    process->start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QString::fromLatin1(kWaitAtFirst), QStringLiteral("sh"),
                    program, address.toString(QUrl::FullyEncoded)});
    if (process->waitForStarted()) return true;
    delete process;
    return false;
  };
}

FolderChooser DesktopFolderChooser() {
  return [](const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(nullptr, title, start);
  };
}

QUrl DocumentAddress(const QString& document) {
  // Two letters or more before the colon: "c:" is a drive, not a scheme.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(document).hasMatch()) return QUrl(document);
  return QUrl::fromLocalFile(document);
}

bool QtDesktop::OpenDocument(const std::string& document) {
  const QUrl address = DocumentAddress(QString::fromStdString(document));
  std::weak_ptr<int> alive = alive_;
  return address.isValid() && opener_(address, [this, alive, document](int exit_code) {
           if (!alive.expired() && open_failed_) open_failed_(document, exit_code);
         });
}

void QtDesktop::ShowWarning(const Message& message) {
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::Ok);
  box.exec();
}

QString ChooserStart(const QString& folder) {
  // A relative path would be taken from the program's current folder, which
  // is no folder of the user's.
  if (QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir()) return folder;
  return QDir::homePath();
}

std::string QtDesktop::ChooseFolder(const std::string& title, const std::string& start) {
  const QString folder =
      chooser_(QString::fromStdString(title),
               ChooserStart(QDir::fromNativeSeparators(QString::fromStdString(start))));
  return folder.isEmpty() ? std::string() : QDir::toNativeSeparators(folder).toStdString();
}

}  // namespace qv
