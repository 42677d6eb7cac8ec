#include "import/import_leftovers.h"

#include "generator/file_replacement.h"
#include "import/import_manifest.h"

namespace qv::import {

std::size_t RemoveImportLeftovers(const OpenFolder& favorites) {
  std::size_t removed = RemoveLeftoverFiles(favorites, FileReplacements::kTemporaryPrefix) +
                        RemoveLeftoverFiles(favorites, kManifestFileName);
  const Result<std::vector<FolderEntry>> entries = favorites.Entries();
  if (!entries.ok()) return removed;
  for (const FolderEntry& entry : *entries) {
    if (entry.type != FolderEntry::Type::kFolder) continue;
    const Result<OpenFolder> category = favorites.OpenSubfolder(entry.name);
    if (category.ok())
      removed += RemoveLeftoverFiles(*category, FileReplacements::kTemporaryPrefix);
  }
  return removed;
}

}  // namespace qv::import
