// The main window: a frame around the preview of the page.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "control/program_controller.h"
#include "control/views.h"
#include "winui/page_preview.h"

namespace qv::winui {

// The window's design client size, in twips.
inline constexpr SIZE kMainClientTwips = {10545, 8595};

class MainWindow : public MainView {
 public:
  // Without `use_web_control` the preview acts as on a system that has none.
  explicit MainWindow(bool use_web_control);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // From now on the window reports its activation and the preview's button
  // to `controller`.
  void Connect(ProgramController& controller) { controller_ = &controller; }
  // From now on the window reports nothing: the controller goes first.
  void Disconnect() { controller_ = nullptr; }
  // The preview's words follow the language of `captions`.
  void ShowCaptions(const CaptionSet& captions) { preview_->ShowCaptions(captions); }
  // Keys for the preview, and the dialog keys round the preview's button;
  // true when `message` has been dealt with.
  bool PreTranslate(MSG& message);

  HWND handle() const { return window_; }
  PagePreview& preview() { return *preview_; }

  void ShowPage(const std::string& page_path) override { preview_->Show(page_path); }
  // The web control loads each page whole, so a colour waits for its page.
  bool AnticipateColour(const std::string&, const std::string&) override { return false; }
  // A rebuild runs at once: the window's messages wait behind it.
  void RunAfterPendingEvents(std::function<void()> task) override { task(); }
  void RunOnceRested(std::function<void()> task) override { task(); }
  void SetTitle(const std::string& title) override;
  void Show() override;
  void Activate() override;
  bool IsShown() const override;

  void AttachWindow(HWND window) { window_ = window; }
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);

 private:
  void UseScale(int dots_per_inch);

  HWND window_ = nullptr;
  std::unique_ptr<PagePreview> preview_;
  HFONT font_ = nullptr;
  ProgramController* controller_ = nullptr;
};

}  // namespace qv::winui
