#include "ui/import_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace qv {
namespace {

// A window manager shortens a title wider than its frame; the list dialog is
// narrow, so it is made wide enough for its title in a bold title font with
// room for the frame's buttons beside it.
int WidthForTitle(const QString& title) {
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.2);
  constexpr int kFrameButtons = 140;
  return QFontMetrics(font).horizontalAdvance(title) + kFrameButtons;
}

}  // namespace

std::optional<std::size_t> QtImportDialogs::ChooseSource(const std::vector<BookmarkSource>& sources,
                                                         const ImportWords& words) {
  QStringList items;
  for (const BookmarkSource& source : sources) items << QString::fromStdString(source.caption);
  items << QString::fromUtf8(words.from_file);
  QInputDialog dialog(parent_);
  dialog.setObjectName(QStringLiteral("importSourceDialog"));
  dialog.setWindowTitle(QString::fromUtf8(words.title));
  dialog.setLabelText(QString::fromUtf8(words.choose));
  dialog.setComboBoxItems(items);
  dialog.setComboBoxEditable(false);
  // The dialog keeps its own minimum width, the one its controls need; the
  // list is the control that can take more.
  if (auto* list = dialog.findChild<QComboBox*>()) {
    list->setMinimumWidth(WidthForTitle(dialog.windowTitle()));
  }
  const bool chosen = dialog.exec() == QDialog::Accepted;
  const QString item = dialog.textValue();
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
