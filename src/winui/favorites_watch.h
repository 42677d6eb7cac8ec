// The Favorites watch of the windows: a background watch whose settled
// changes reach the window thread as a posted message.
#pragma once

#include <functional>
#include <memory>

#include "control/favorites_watch.h"
#include "generator/windows_api.h"

namespace qv::winui {

class Win32FavoritesWatch : public FavoritesWatch {
 public:
  // `changed` runs on the thread that makes the watch, from its message
  // loop. A system that gives no watcher leaves the program without one: the
  // page is then current after every save and refresh, as before.
  explicit Win32FavoritesWatch(std::function<void()> changed);
  ~Win32FavoritesWatch() override;
  Win32FavoritesWatch(const Win32FavoritesWatch&) = delete;
  Win32FavoritesWatch& operator=(const Win32FavoritesWatch&) = delete;

  void Follow(const PageSources& sources) override;

  void AttachWindow(HWND window) { window_ = window; }
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);

 private:
  HWND window_ = nullptr;  // receives the messages only, never shows
  std::function<void()> changed_;
  std::unique_ptr<BackgroundPageWatch> watch_;
};

}  // namespace qv::winui
