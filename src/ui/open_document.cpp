#include "ui/open_document.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QRegularExpression>

namespace qv {

DocumentOpener DesktopOpener() {
  return [](const QUrl& address) { return QDesktopServices::openUrl(address); };
}

QUrl DocumentAddress(const QString& document) {
  // Two letters or more before the colon: "c:" is a drive, not a scheme.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(document).hasMatch()) return QUrl(document);
  return QUrl::fromLocalFile(document);
}

QString OpenFailedText(const QString& document) {
  return QStringLiteral("Opstarten bestand ") + document +
         QStringLiteral(
             " mislukt!!\r(geen koppeling met het programma, document bestaat niet meer)");
}

void OpenDocument(const QString& document, const DocumentOpener& opener) {
  const QUrl address = DocumentAddress(document);
  if (address.isValid() && opener(address)) return;
  QMessageBox message(QMessageBox::Warning, QString::fromUtf8(kOpenFailedTitle),
                      OpenFailedText(document), QMessageBox::Ok);
  message.exec();
}

}  // namespace qv
