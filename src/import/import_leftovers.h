// What imports that were killed leave in the Favorites folder: the hidden
// temporary files they wrote their shortcuts and their import list to before
// putting them in place. Such files are never shown, but a category folder
// that holds nothing else could not be removed, and the page would show it
// empty; the next import removes them.
#pragma once

#include <cstddef>

#include "generator/open_folder.h"

namespace qv::import {

// Removes the importer's temporary files (regular files and links with the
// names its writes give them, nothing else) from `favorites` and from each of
// its sub-folders, links to folders not followed. Only to be called while
// the import lock of the folder is held: they might be another import's
// files in the making otherwise. Returns how many went.
std::size_t RemoveImportLeftovers(const OpenFolder& favorites);

}  // namespace qv::import
