#include "winui/flag_pictures.h"

#include <cmath>
#include <initializer_list>

namespace qv::winui {
namespace {

constexpr COLORREF kDutchRed = RGB(0xAE, 0x1C, 0x28);
constexpr COLORREF kDutchBlue = RGB(0x21, 0x46, 0x8B);
constexpr COLORREF kBritishBlue = RGB(0x01, 0x21, 0x69);
constexpr COLORREF kBritishRed = RGB(0xC8, 0x10, 0x2E);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// GDI draws without smoothing; the diagonals are drawn this many times larger
// and shrunk with averaging.
constexpr int kOversampling = 4;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT area = {left, top, right, bottom};
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

struct Point {
  double x;
  double y;
};

// A straight stroke of `width` with square ends cut flush at both points.
void Stroke(HDC dc, Point from, Point to, double width, COLORREF colour) {
  LOGBRUSH brush = {BS_SOLID, colour, 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
                          static_cast<DWORD>(std::lround(width)), &brush, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, static_cast<int>(std::lround(from.x)), static_cast<int>(std::lround(from.y)),
           nullptr);
  LineTo(dc, static_cast<int>(std::lround(to.x)), static_cast<int>(std::lround(to.y)));
  SelectObject(dc, old);
  DeleteObject(pen);
}

// One arm of the red diagonal cross: from the centre towards `corner`, moved
// half its width off the white diagonal to the side that makes the four arms
// turn like a pinwheel, and clipped to the quarter of the field it lies in.
void DrawRedDiagonalArm(HDC dc, Point centre, Point corner, double width) {
  const double length = std::hypot(corner.x - centre.x, corner.y - centre.y);
  const Point along = {(corner.x - centre.x) / length, (corner.y - centre.y) / length};
  const Point shift = {along.y * width / 2, -along.x * width / 2};
  const Point reach = {along.x * width, along.y * width};  // past both ends; the clip cuts it
  SaveDC(dc);
  IntersectClipRect(dc, static_cast<int>(std::lround(std::fmin(centre.x, corner.x))),
                    static_cast<int>(std::lround(std::fmin(centre.y, corner.y))),
                    static_cast<int>(std::lround(std::fmax(centre.x, corner.x))),
                    static_cast<int>(std::lround(std::fmax(centre.y, corner.y))));
  Stroke(dc, {centre.x - reach.x + shift.x, centre.y - reach.y + shift.y},
         {corner.x + reach.x + shift.x, corner.y + reach.y + shift.y}, width, kBritishRed);
  RestoreDC(dc, -1);
}

void DrawBritishFlagAt(HDC dc, int w, int h) {
  const double unit = h / 30.0;  // the flag's own measure: the height is 30 units
  const Point centre = {w / 2.0, h / 2.0};
  Fill(dc, 0, 0, w, h, kBritishBlue);
  Stroke(dc, {0, 0}, {double(w), double(h)}, 6 * unit, kWhite);
  Stroke(dc, {0, double(h)}, {double(w), 0}, 6 * unit, kWhite);
  // Counterchanged: in the upper left quarter the red lies below the white.
  for (const Point corner :
       {Point{0, 0}, Point{double(w), 0}, Point{double(w), double(h)}, Point{0, double(h)}}) {
    DrawRedDiagonalArm(dc, centre, corner, 2 * unit);
  }
  const auto band = [&](double thickness, COLORREF colour) {
    const int across = static_cast<int>(std::lround(thickness));
    const int top = (h - across) / 2;
    const int left = (w - across) / 2;
    Fill(dc, 0, top, w, top + across, colour);
    Fill(dc, left, 0, left + across, h, colour);
  };
  band(10 * unit, kWhite);
  band(6 * unit, kBritishRed);
}

}  // namespace

void DrawDutchFlag(HDC dc, const RECT& area) {
  const int height = area.bottom - area.top;
  const int first = area.top + static_cast<int>(std::lround(height / 3.0));
  const int second = area.top + static_cast<int>(std::lround(2 * height / 3.0));
  Fill(dc, area.left, area.top, area.right, first, kDutchRed);
  Fill(dc, area.left, first, area.right, second, kWhite);
  Fill(dc, area.left, second, area.right, area.bottom, kDutchBlue);
}

void DrawBritishFlag(HDC dc, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC large = CreateCompatibleDC(dc);
  HBITMAP picture = CreateCompatibleBitmap(dc, width * kOversampling, height * kOversampling);
  HGDIOBJ old = SelectObject(large, picture);
  DrawBritishFlagAt(large, width * kOversampling, height * kOversampling);
  const int old_mode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, area.left, area.top, width, height, large, 0, 0, width * kOversampling,
             height * kOversampling, SRCCOPY);
  SetStretchBltMode(dc, old_mode);
  SelectObject(large, old);
  DeleteObject(picture);
  DeleteDC(large);
}

}  // namespace qv::winui
