#include "winui/window_text.h"

#include <algorithm>

#include "generator/windows_text.h"

namespace qv::winui {
namespace {

std::wstring WideTextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

}  // namespace

std::string TextOf(HWND window) {
  return Utf8Text(WideTextOf(window));
}

void SetText(HWND window, const std::string& text) {
  SetWindowTextW(window, WideText(text).c_str());
}

int CaretOf(HWND field) {
  DWORD start = 0;
  SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void SetTextKeepingCaret(HWND field, const std::string& text) {
  const std::wstring wide = WideText(text);
  if (WideTextOf(field) == wide) return;
  const int caret = CaretOf(field);
  SetWindowTextW(field, wide.c_str());
  const int kept = std::min(caret, static_cast<int>(wide.size()));
  SendMessageW(field, EM_SETSEL, kept, kept);
}

}  // namespace qv::winui
