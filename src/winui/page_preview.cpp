#include "winui/page_preview.h"

#include <algorithm>
#include <cstdio>

#include "generator/windows_text.h"
#include "winui/browser_emulation.h"
#include "winui/control_ids.h"
#include "winui/screen_scale.h"
#include "winui/window_class.h"
#include "winui/window_text.h"
#include "winui/window_words.h"

namespace qv::winui {
namespace {

std::string HexCode(long code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
  return text;
}

}  // namespace

PagePreview::PagePreview(HWND parent, bool use_web_control) : parent_(parent) {
  failure_text_ = MakeControl(parent, L"STATIC", kPreviewFailureTextId, SS_LEFT | SS_NOPREFIX);
  open_in_browser_ =
      MakeControl(parent, L"BUTTON", kPreviewOpenInBrowserId, BS_PUSHBUTTON | WS_TABSTOP);
  ShowWindow(failure_text_, SW_HIDE);
  ShowWindow(open_in_browser_, SW_HIDE);
  GetClientRect(parent, &bounds_);
  if (use_web_control) {
    // The control takes the mode it is asked for when it is made. Without
    // the value it would show the page in an old mode, but show it.
    AskForNewestDocumentMode(ExecutableName());
    Result<std::unique_ptr<WebControl>> control = WebControl::Create(parent, bounds_, *this);
    if (control.ok()) control_ = std::move(*control);
  }
}

PagePreview::~PagePreview() = default;

void PagePreview::Show(const std::string& page_path) {
  page_path_ = page_path;
  if (!control_) {
    navigations_.push_back(page_path);
    ShowFailure(Failure::kNoWebControl);
    return;
  }
  // The page on show is where the user has scrolled; a page still loading
  // keeps the place taken from the page before it.
  if (!loading_) scroll_ = shown_path_ == page_path ? control_->ScrollPosition() : std::nullopt;
  loading_ = true;
  control_->Navigate(page_path);
}

void PagePreview::NavigationStarting(const std::string& address) {
  navigations_.push_back(address);
}

// A link the user followed in the preview that fails is the control's to
// show, as in any browser; only the page itself gets the window's words.
bool PagePreview::NavigationFailed(const std::string&, long code) {
  if (!loading_) return false;
  loading_ = false;
  shown_path_.clear();
  ShowFailure(Failure::kLoadFailed, code);
  return true;
}

void PagePreview::PageComplete(const std::string&) {
  // After a link the user followed, the control shows another page, whose
  // scroll position is none of the next page's business.
  shown_path_ = loading_ ? page_path_ : std::string();
  loading_ = false;
  if (scroll_) control_->ScrollTo(*scroll_);
  scroll_.reset();
  failure_ = Failure::kNone;
  ShowWindow(failure_text_, SW_HIDE);
  ShowWindow(open_in_browser_, SW_HIDE);
  control_->SetVisible(true);
}

void PagePreview::ShowFailure(Failure failure, long code) {
  failure_ = failure;
  failure_code_ = code;
  if (control_) control_->SetVisible(false);
  ShowFailureWords();
  PlaceFailureWords();
  ShowWindow(failure_text_, SW_SHOW);
  ShowWindow(open_in_browser_, SW_SHOW);
}

void PagePreview::ShowFailureWords() {
  const WindowWords& words = WindowWordsFor(*captions_);
  const std::string why = failure_ == Failure::kNoWebControl
                              ? words.no_web_control
                              : FillIn(words.load_failed, HexCode(failure_code_));
  SetText(failure_text_, FillIn(words.preview_failed, why) + "\n\n" + page_path_);
  SetText(open_in_browser_, captions_->open_in_browser);
}

void PagePreview::PlaceFailureWords() {
  const int dots_per_inch = DotsPerInchOf(parent_);
  const int margin = Scaled(16, dots_per_inch);
  const int width =
      std::max<int>(bounds_.right - bounds_.left - 2 * margin, Scaled(100, dots_per_inch));
  // As high as the words need at that width.
  RECT words = {0, 0, width, 0};
  HDC dc = GetDC(failure_text_);
  HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(failure_text_, WM_GETFONT, 0, 0)));
  const std::wstring text = WideText(TextOf(failure_text_));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &words,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(failure_text_, dc);
  const int left = bounds_.left + margin;
  const int top = bounds_.top + margin;
  MoveWindow(failure_text_, left, top, width, words.bottom, TRUE);
  const int button_width = Scaled(160, dots_per_inch);
  const int button_height = Scaled(28, dots_per_inch);
  MoveWindow(open_in_browser_, left, top + words.bottom + margin, button_width, button_height,
             TRUE);
}

void PagePreview::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (control_) control_->SetBounds(bounds);
  if (failure_shown()) PlaceFailureWords();
}

void PagePreview::ShowCaptions(const CaptionSet& captions) {
  captions_ = &captions;
  if (!failure_shown()) return;
  ShowFailureWords();
  PlaceFailureWords();
}

void PagePreview::SetFont(HFONT font) {
  SendMessageW(failure_text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(open_in_browser_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (failure_shown()) PlaceFailureWords();
}

bool PagePreview::TranslateKey(MSG& message) {
  if (!control_ || failure_shown()) return false;
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  if (!IsChild(parent_, message.hwnd) || message.hwnd == failure_text_ ||
      message.hwnd == open_in_browser_) {
    return false;
  }
  return control_->TranslateKey(message);
}

}  // namespace qv::winui
