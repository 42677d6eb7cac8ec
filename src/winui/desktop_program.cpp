#include "winui/desktop_program.h"

#include <commctrl.h>
#include <ole2.h>

#include "generator/windows_text.h"
#include "winui/file_dialogs.h"
#include "winui/window_words.h"

namespace qv::winui {

DesktopProgram::DesktopProgram(RunSurroundings& surroundings, DesktopServices services)
    : services_(std::move(services)),
      main_window_(services_.web_control),
      settings_window_(main_window_.handle()),
      desktop_(
          services_.open,
          services_.choose_folder
              ? services_.choose_folder
              : [owner = settings_window_.handle()](
                    const std::string& title,
                    const std::string&
                        start) { return ChooseFolderWithDialog(owner, title, start); }),
      import_dialogs_(
          settings_window_.handle(),
          services_.choose_file
              ? services_.choose_file
              : [owner = settings_window_.handle()](
                    const std::string& title,
                    const std::string&
                        filter) { return ChooseFileWithDialog(owner, title, filter); }),
      controller_(surroundings, main_window_, settings_window_, desktop_,
                  [] { PostQuitMessage(0); }),
      favorites_watch_([this] { controller_.FavoritesChanged(); }) {
  main_window_.Connect(controller_);
  settings_window_.Connect(
      controller_, [this] { ImportClicked(); },
      [this](const CaptionSet& captions) { main_window_.ShowCaptions(captions); });
  controller_.set_favorites_watch(&favorites_watch_);
  if (services_.importer)
    controller_.set_bookmark_import(services_.importer.get(), &import_dialogs_);
}

// The windows go after the controller, and may still hear of a change of
// focus or activation as they go.
DesktopProgram::~DesktopProgram() {
  main_window_.Disconnect();
  settings_window_.Disconnect();
}

int DesktopProgram::Run() {
  MSG message;
  int got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) Dispatch(message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void DesktopProgram::Dispatch(MSG& message) {
  if (settings_window_.PreTranslate(message) || main_window_.PreTranslate(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void DesktopProgram::ImportClicked() {
  if (services_.importer) return controller_.ImportClicked();
  const Language language = LanguageOfCode(controller_.state().language_code);
  MessageBoxW(settings_window_.handle(),
              WideText(WindowWordsFor(CaptionsOf(language)).import_left_out).c_str(),
              WideText(ImportWordsOf(language).title).c_str(), MB_OK | MB_ICONINFORMATION);
}

OleApartment::OleApartment() {
  ok_ = SUCCEEDED(OleInitialize(nullptr));
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

OleApartment::~OleApartment() {
  if (ok_) OleUninitialize();
}

}  // namespace qv::winui
