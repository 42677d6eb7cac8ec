#include "winui/desktop.h"

#include <shellapi.h>

#include "generator/windows_text.h"

namespace qv::winui {

DocumentOpener ShellOpener() {
  return [](const std::string& document) {
    // No owner window, no parameters, no working folder; a result of 32 or
    // less is a failure.
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", WideText(document).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  };
}

void Win32Desktop::ShowWarning(const Message& message) {
  // Modal over every window of the program, as it has no owner.
  MessageBoxW(nullptr, WideText(message.text).c_str(), WideText(message.title).c_str(),
              MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
}

std::string Win32Desktop::ChooseFolder(const std::string& title, const std::string& start) {
  return chooser_(title, start).value_or(std::string());
}

}  // namespace qv::winui
