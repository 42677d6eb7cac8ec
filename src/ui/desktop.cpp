#include "ui/desktop.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace qv {

DocumentOpener DesktopOpener() {
  return [](const QUrl& address) { return QDesktopServices::openUrl(address); };
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
  return address.isValid() && opener_(address);
}

void QtDesktop::ShowWarning(const Message& message) {
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::Ok);
  box.exec();
}

std::string QtDesktop::ChooseFolder(const std::string& title, const std::string& start) {
  const QString folder = chooser_(QString::fromStdString(title),
                                  QDir::fromNativeSeparators(QString::fromStdString(start)));
  return folder.isEmpty() ? std::string() : QDir::toNativeSeparators(folder).toStdString();
}

}  // namespace qv
