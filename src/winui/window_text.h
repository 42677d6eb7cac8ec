// The texts of windows and controls, which Windows keeps in UTF-16, as the
// program's UTF-8.
#pragma once

#include <string>

#include "generator/windows_api.h"

namespace qv::winui {

std::string TextOf(HWND window);

void SetText(HWND window, const std::string& text);

// Replaces the text of the edit control `field` when it differs, the caret
// staying where it was (at the end when the new text is shorter).
void SetTextKeepingCaret(HWND field, const std::string& text);

// The caret's place in the edit control `field`, in UTF-16 units.
int CaretOf(HWND field);

}  // namespace qv::winui
