#include "winui/favorites_watch.h"

#include "winui/window_class.h"

namespace qv::winui {
namespace {

constexpr UINT kChangedMessage = WM_APP + 1;

}  // namespace

Win32FavoritesWatch::Win32FavoritesWatch(std::function<void()> changed)
    : changed_(std::move(changed)) {
  MakeOwnedWindow(L"VorlindoFavoritesWatch", this, 0, 0, HWND_MESSAGE);
  HWND window = window_;
  Result<std::unique_ptr<BackgroundPageWatch>> watch = BackgroundPageWatch::Start(
      // From the watch's thread to the window thread; a message posted after
      // the window has gone is dropped.
      [window] { PostMessageW(window, kChangedMessage, 0, 0); });
  if (watch.ok()) watch_ = std::move(*watch);
}

// The watch's thread ends before the window it posts to goes.
Win32FavoritesWatch::~Win32FavoritesWatch() {
  watch_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
}

void Win32FavoritesWatch::Follow(const PageSources& sources) {
  if (watch_ != nullptr) watch_->Follow(sources);
}

LRESULT Win32FavoritesWatch::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  if (message == kChangedMessage) {
    changed_();
    return 0;
  }
  return DefWindowProcW(window_, message, w, l);
}

}  // namespace qv::winui
