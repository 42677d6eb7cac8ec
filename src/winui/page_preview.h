// The preview of the page in the main window: the system's web control, and
// in its place, when it cannot show the page, a few words that say so in the
// window's language with a button that opens the page in the browser. The
// page is written either way; only the showing fails.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/captions.h"
#include "winui/web_control.h"

namespace qv::winui {

class PagePreview : public WebControlListener {
 public:
  // Lives in `parent` (which must outlive it), which hears of a click on the
  // button beside the words as a command of kPreviewOpenInBrowserId. Without
  // `use_web_control` the preview acts as on a system that has no web control.
  PagePreview(HWND parent, bool use_web_control);
  ~PagePreview() override;

  // Starts showing the page file at `page_path`; where the page on show is
  // the same page, the new one is scrolled to where the user had scrolled.
  void Show(const std::string& page_path);
  void SetBounds(const RECT& bounds);
  void ShowCaptions(const CaptionSet& captions);
  void SetFont(HFONT font);
  // Hands the web control the keys meant for it; true when it took `message`.
  bool TranslateKey(MSG& message);

  // What the web control was asked to show: the address of each navigation
  // it started, or, without a web control, each page handed to it.
  const std::vector<std::string>& navigations() const { return navigations_; }
  // Whether the words stand where the page would.
  bool failure_shown() const { return failure_ != Failure::kNone; }

  void NavigationStarting(const std::string& address) override;
  bool NavigationFailed(const std::string& address, long code) override;
  void PageComplete(const std::string& address) override;

 private:
  enum class Failure { kNone, kNoWebControl, kLoadFailed };

  void ShowFailure(Failure failure, long code = 0);
  void ShowFailureWords();
  void PlaceFailureWords();

  HWND parent_;
  std::unique_ptr<WebControl> control_;
  HWND failure_text_ = nullptr;
  HWND open_in_browser_ = nullptr;
  RECT bounds_ = {};
  const CaptionSet* captions_ = &kCreatedCaptions;
  std::string page_path_;        // the page asked for last
  std::string shown_path_;       // the page the control shows; empty for any other
  bool loading_ = false;         // the control loads the page asked for last
  std::optional<POINT> scroll_;  // where the page loading goes
  Failure failure_ = Failure::kNone;
  long failure_code_ = 0;
  std::vector<std::string> navigations_;
};

}  // namespace qv::winui
