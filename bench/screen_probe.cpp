#include "screen_probe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qv::bench {

struct ScreenProbe::Connection {
  Display* display = nullptr;
  int width = 0;
  int height = 0;
};

ScreenProbe::ScreenProbe() : connection_(std::make_unique<Connection>()) {
  connection_->display = XOpenDisplay(nullptr);
  if (!connection_->display) return;
  XWindowAttributes attributes;
  XGetWindowAttributes(connection_->display, DefaultRootWindow(connection_->display), &attributes);
  connection_->width = attributes.width;
  connection_->height = attributes.height;
}

ScreenProbe::~ScreenProbe() {
  if (connection_->display) XCloseDisplay(connection_->display);
}

bool ScreenProbe::ok() const {
  return connection_->display != nullptr;
}

int ScreenProbe::CountOnLines(unsigned long rgb) {
  Display* display = connection_->display;
  int count = 0;
  for (const int percent : {40, 55, 70}) {
    XImage* line =
        XGetImage(display, DefaultRootWindow(display), 0, connection_->height * percent / 100,
                  connection_->width, 1, AllPlanes, ZPixmap);
    if (!line) continue;
    for (int x = 0; x < connection_->width; ++x) count += (XGetPixel(line, x, 0) & 0xFFFFFF) == rgb;
    XDestroyImage(line);
  }
  return count;
}

}  // namespace qv::bench
