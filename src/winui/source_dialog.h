// The dialog in which the user picks where bookmarks come from: a list of
// choices under a question, with OK and Cancel.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "generator/windows_api.h"

namespace qv::winui {

struct SourceDialogWords {
  std::string title;
  std::string question;
  std::string ok;
  std::string cancel;
};

// Shows `choices` (the first selected) over `owner` until the user picks one
// (OK, Return or a double click) or cancels; the index picked, or none.
std::optional<std::size_t> ChooseFromList(HWND owner, const SourceDialogWords& words,
                                          const std::vector<std::string>& choices);

}  // namespace qv::winui
