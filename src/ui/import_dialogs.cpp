#include "ui/import_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace qv {

std::optional<std::size_t> QtImportDialogs::ChooseSource(const std::vector<BookmarkSource>& sources,
                                                         const ImportWords& words) {
  QStringList items;
  for (const BookmarkSource& source : sources) items << QString::fromStdString(source.caption);
  items << QString::fromUtf8(words.from_file);
  bool chosen = false;
  const QString item =
      QInputDialog::getItem(parent_, QString::fromUtf8(words.title),
                            QString::fromUtf8(words.choose), items, 0, false, &chosen);
  if (!chosen) return std::nullopt;
  return static_cast<std::size_t>(items.indexOf(item));
}

std::optional<std::string> QtImportDialogs::ChooseFile(const ImportWords& words) {
  const QString path =
      QFileDialog::getOpenFileName(parent_, QString::fromUtf8(words.title), QDir::homePath(),
                                   QString::fromUtf8(words.file_filter));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

void QtImportDialogs::ShowOutcome(const Message& message) {
  QMessageBox::information(parent_, QString::fromStdString(message.title),
                           QString::fromStdString(message.text));
}

}  // namespace qv
