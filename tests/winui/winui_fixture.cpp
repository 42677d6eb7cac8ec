#include "winui_fixture.h"

#include "generator/windows_api.h"

#include <commctrl.h>

#include <algorithm>

#include "generator/windows_text.h"
#include "winui/window_text.h"

namespace qv::winui::testing {
namespace {

// The one answerer at work; a thread timer carries no pointer of its own.
DialogAnswerer* current_answerer = nullptr;

bool IsDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window);
}

// The dialog's own words: the longest text of its static controls.
BOOL CALLBACK TakeLongestText(HWND child, LPARAM longest) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  auto& text = *reinterpret_cast<std::string*>(longest);
  const std::string own = TextOf(child);
  if (lstrcmpiW(name, L"Static") == 0 && own.size() > text.size()) text = own;
  return TRUE;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM dialogs) {
  if (IsDialog(window)) reinterpret_cast<std::vector<HWND>*>(dialogs)->push_back(window);
  return TRUE;
}

}  // namespace

DialogAnswerer::DialogAnswerer(Answer answer) : answer_(std::move(answer)) {
  current_answerer = this;
  timer_ = SetTimer(nullptr, 0, 10, &Look);
}

DialogAnswerer::~DialogAnswerer() {
  KillTimer(nullptr, timer_);
  current_answerer = nullptr;
}

void DialogAnswerer::PressOk(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

void CALLBACK DialogAnswerer::Look(HWND, UINT, UINT_PTR, DWORD) {
  DialogAnswerer* self = current_answerer;
  if (self == nullptr) return;
  std::vector<HWND> dialogs;
  EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
  for (HWND dialog : dialogs) {
    if (std::find(self->answered_.begin(), self->answered_.end(), dialog) !=
        self->answered_.end()) {
      continue;
    }
    self->answered_.push_back(dialog);
    std::string text;
    EnumChildWindows(dialog, &TakeLongestText, reinterpret_cast<LPARAM>(&text));
    self->seen.push_back({TextOf(dialog), text});
    self->answer_(dialog);
  }
}

WinuiProgramTest::~WinuiProgramTest() {
  program_.reset();
  Pump();
}

DesktopServices WinuiProgramTest::FakeServices() {
  DesktopServices services;
  services.open = [this](const std::string& document) {
    opened_.push_back(document);
    return open_succeeds_;
  };
  services.choose_folder = [this](const std::string&, const std::string& start) {
    chooser_starts_.push_back(start);
    return chosen_folder_;
  };
  services.choose_file = [this](const std::string&, const std::string&) { return chosen_file_; };
  services.importer = nullptr;
  return services;
}

void WinuiProgramTest::Start(DesktopServices services) {
  program_.reset();
  program_ = std::make_unique<DesktopProgram>(surroundings_, std::move(services));
  program_->controller().set_end_program([] {});
  program_->Start();
  ASSERT_TRUE(PumpUntil([this] { return program_->settings_window().IsShown(); }));
  Pump();
}

void WinuiProgramTest::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (program_) {
      program_->Dispatch(message);
    } else {
      DispatchMessageW(&message);
    }
  }
}

bool WinuiProgramTest::PumpUntil(const std::function<bool()>& done, int milliseconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount64() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

HWND WinuiProgramTest::Control(int id) const {
  HWND control = GetDlgItem(Settings(), id);
  if (control == nullptr) control = GetDlgItem(Main(), id);
  EXPECT_NE(control, nullptr) << "no control " << id;
  return control;
}

std::string WinuiProgramTest::Text(int id) const {
  return TextOf(Control(id));
}

void WinuiProgramTest::Click(int id) {
  SendMessageW(Control(id), BM_CLICK, 0, 0);
  Pump();
}

void WinuiProgramTest::Type(int id, const std::string& text) {
  HWND field = Control(id);
  for (const wchar_t unit : WideText(text)) SendMessageW(field, WM_CHAR, unit, 1);
  Pump();
}

void WinuiProgramTest::Key(UINT key, HWND target) {
  if (target == nullptr) target = GetFocus();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
  Pump();
}

void WinuiProgramTest::SetSlider(Colour colour, Channel channel, int position) {
  HWND slider = Control(SliderId(colour, channel));
  SendMessageW(slider, TBM_SETPOS, TRUE, position);
  SendMessageW(Settings(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(slider));
  Pump();
}

int WinuiProgramTest::Runs() const {
  return static_cast<int>(program_->main_window().preview().navigations().size());
}

}  // namespace qv::winui::testing

// The windows need the window thread's COM apartment and the common controls.
int main(int argc, char* argv[]) {
  const qv::winui::OleApartment apartment;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
