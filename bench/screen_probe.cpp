#include "screen_probe.h"

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace qv::bench {

ScreenProbe::ScreenProbe() : connection_(xcb_connect(nullptr, nullptr)) {
  if (xcb_connection_has_error(connection_) != 0) return;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  root_ = screen->root;
  width_ = screen->width_in_pixels;
  height_ = screen->height_in_pixels;
}

ScreenProbe::~ScreenProbe() {
  xcb_disconnect(connection_);
}

std::string ScreenProbe::Read(const std::vector<ScreenArea>& areas) {
  std::vector<xcb_get_image_cookie_t> cookies;
  for (const ScreenArea& area : areas) {
    cookies.push_back(xcb_get_image(
        connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, static_cast<std::int16_t>(area.x),
        static_cast<std::int16_t>(area.y), static_cast<std::uint16_t>(area.width),
        static_cast<std::uint16_t>(area.height), ~0u));
  }
  std::string pixels;
  for (const xcb_get_image_cookie_t cookie : cookies) {
    xcb_get_image_reply_t* reply = xcb_get_image_reply(connection_, cookie, nullptr);
    if (reply == nullptr) continue;
    const auto* data = reinterpret_cast<const char*>(xcb_get_image_data(reply));
    pixels.append(data, static_cast<std::size_t>(xcb_get_image_data_length(reply)));
    std::free(reply);
  }
  return pixels;
}

int ScreenProbe::CountOnLines(unsigned long rgb) {
  std::vector<ScreenArea> lines;
  for (const int percent : {40, 55, 70}) lines.push_back({0, height_ * percent / 100, width_, 1});
  const std::string pixels = Read(lines);
  int count = 0;
  for (std::size_t at = 0; at + 4 <= pixels.size(); at += 4) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(pixels[at + i]); };
    count += (static_cast<unsigned long>(byte(2)) << 16 | byte(1) << 8 | byte(0)) == rgb;
  }
  return count;
}

}  // namespace qv::bench
