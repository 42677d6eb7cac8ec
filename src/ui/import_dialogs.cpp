#include "ui/import_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

#include "import/bookmark_readers.h"
#include "import/browser_profiles.h"
#include "import/favorites_import.h"
#include "import/import_target.h"

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
  const QString path = QFileDialog::getOpenFileName(
      parent_, QString::fromUtf8(words.title), QString(), QString::fromUtf8(words.file_filter));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

void QtImportDialogs::ShowOutcome(const Message& message) {
  QMessageBox::information(parent_, QString::fromStdString(message.title),
                           QString::fromStdString(message.text));
}

std::vector<BookmarkSource> SystemBookmarkImporter::SourcesFound() {
  std::vector<BookmarkSource> sources;
  for (const import::BrowserProfile& profile :
       import::FindBrowserProfiles(import::SystemPathsFromEnvironment())) {
    sources.push_back({profile.browser + " (" + profile.profile + ")", profile.store});
  }
  return sources;
}

Result<BookmarkImporter::Outcome> SystemBookmarkImporter::Import(const std::string& path,
                                                                 const std::string& app_folder) {
  // Read whole before anything is touched: a bad source changes nothing.
  const auto bookmarks = import::ReadBookmarkSource(path);
  if (!bookmarks.ok()) return bookmarks.status();
  const auto folder =
      import::SettleImportFolder(app_folder, import::SystemPathsFromEnvironment().home, false);
  if (!folder.ok()) return folder.status();
  const auto summary = import::ImportBookmarks(*bookmarks, *folder, {});
  if (!summary.ok()) return summary.status();
  return Outcome{*folder, import::SummaryLine(*summary, false)};
}

}  // namespace qv
