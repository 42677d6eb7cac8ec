// The system's web control (the browser of Windows, IWebBrowser2) as a child
// window: its site, which lets it live in place inside the window, and what it
// reports of its navigations.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "generator/status.h"
#include "generator/windows_api.h"

namespace qv::winui {

// What the web control reports of the page it shows, on the window thread,
// possibly from inside Navigate.
class WebControlListener {
 public:
  virtual ~WebControlListener() = default;
  // The control is about to show `address`.
  virtual void NavigationStarting(const std::string& address) = 0;
  // It cannot show `address`; `code` is its error code. True when the
  // listener says so itself, so that the control shows no error page of its
  // own.
  virtual bool NavigationFailed(const std::string& address, long code) = 0;
  // It has read and shown `address` whole.
  virtual void PageComplete(const std::string& address) = 0;
};

class WebControl {
 public:
  // The control as a child of `parent`, filling `bounds`; fails where the
  // system has no web control or it cannot live in the window.
  static Result<std::unique_ptr<WebControl>> Create(HWND parent, const RECT& bounds,
                                                    WebControlListener& listener);
  ~WebControl();
  WebControl(const WebControl&) = delete;
  WebControl& operator=(const WebControl&) = delete;

  // Starts showing the file at `path`, read afresh; returns without waiting.
  // A navigation the control refuses is reported as one that failed.
  void Navigate(const std::string& path);
  void SetBounds(const RECT& bounds);
  void SetVisible(bool visible);
  // Where the page on show is scrolled to; none when no page is on show.
  std::optional<POINT> ScrollPosition() const;
  void ScrollTo(POINT position);
  // Gives the control the keys meant for it (arrows, page keys, Tab inside
  // the page); true when it took `message`.
  bool TranslateKey(MSG& message);

 private:
  class Site;
  WebControl() = default;
  Status Attach(HWND parent, const RECT& bounds, WebControlListener& listener);

  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace qv::winui
