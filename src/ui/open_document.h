// Handing a document or web address to the desktop's opener.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace qv {

// The desktop's opener; true when it took the address.
using DocumentOpener = std::function<bool(const QUrl&)>;

DocumentOpener DesktopOpener();

// What `document` names: a web address (it starts with a scheme such as
// "https:" or "mailto:") as it is, anything else as a file path.
QUrl DocumentAddress(const QString& document);

// The message a failed open shows, the same in every interface language.
inline constexpr const char* kOpenFailedTitle = "Probleem";
QString OpenFailedText(const QString& document);

// Opens `document`; when the opener fails, tells the user in a modal
// message box and returns.
void OpenDocument(const QString& document, const DocumentOpener& opener = DesktopOpener());

}  // namespace qv
