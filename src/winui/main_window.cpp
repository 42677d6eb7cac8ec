#include "winui/main_window.h"

#include "winui/control_ids.h"
#include "winui/screen_scale.h"
#include "winui/window_class.h"
#include "winui/window_text.h"

namespace qv::winui {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr int kTwipsPerInch = 1440;
// Activation is answered once the window system has finished it, so that the
// settings window it brings up is not shown from inside it.
constexpr UINT kActivatedMessage = WM_APP + 1;

}  // namespace

MainWindow::MainWindow(bool use_web_control) {
  MakeOwnedWindow(L"VorlindoMainWindow", this, kStyle, 0);
  SetText(window_, kCreatedCaptions.main_title);
  preview_ = std::make_unique<PagePreview>(window_, use_web_control);
  UseScale(DotsPerInchOf(window_));
  const int dots_per_inch = DotsPerInchOf(window_);
  const SIZE frame = FrameSizeFor(MulDiv(kMainClientTwips.cx, dots_per_inch, kTwipsPerInch),
                                  MulDiv(kMainClientTwips.cy, dots_per_inch, kTwipsPerInch), kStyle,
                                  0, dots_per_inch);
  SetWindowPos(window_, nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainWindow::~MainWindow() {
  // The web control goes while its window is still there.
  preview_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
  if (font_ != nullptr) DeleteObject(font_);
}

void MainWindow::UseScale(int dots_per_inch) {
  HFONT old = font_;
  font_ = NewMessageFont(dots_per_inch);
  preview_->SetFont(font_);
  if (old != nullptr) DeleteObject(old);
}

void MainWindow::SetTitle(const std::string& title) {
  SetText(window_, title);
}

void MainWindow::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
}

void MainWindow::Activate() {
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
}

bool MainWindow::IsShown() const {
  return IsWindowVisible(window_) != FALSE;
}

bool MainWindow::PreTranslate(MSG& message) {
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  return preview_->TranslateKey(message) || IsDialogMessageW(window_, &message);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_SIZE: {
      if (!preview_) break;
      RECT client;
      GetClientRect(window_, &client);
      preview_->SetBounds(client);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) PostMessageW(window_, kActivatedMessage, 0, 0);
      break;
    case kActivatedMessage:
      if (controller_ != nullptr) controller_->MainWindowActivated();
      return 0;
    case WM_COMMAND:
      if (LOWORD(w) == kPreviewOpenInBrowserId && HIWORD(w) == BN_CLICKED &&
          controller_ != nullptr) {
        controller_->OpenInBrowserClicked();
      }
      return 0;
    case WM_CLOSE:
      // The program goes on while the settings window is open; the next page
      // built brings this window back.
      ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_DPICHANGED: {
      UseScale(HIWORD(w));
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

}  // namespace qv::winui
