#include "winui/settings_drawing.h"

#include "winui/control_ids.h"
#include "winui/flag_pictures.h"

namespace qv::winui {
namespace {

// A colour with transparency, as it shows over white.
COLORREF OverWhite(const Rgba& colour) {
  const auto mix = [&colour](int channel) {
    return static_cast<BYTE>((channel * colour.alpha + 255 * (255 - colour.alpha)) / 255);
  };
  return RGB(mix(colour.red), mix(colour.green), mix(colour.blue));
}

void FillWith(HDC dc, const RECT& area, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void Cross(HDC dc, const RECT& area) {
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, area.left, area.top, nullptr);
  LineTo(dc, area.right - 1, area.bottom - 1);
  MoveToEx(dc, area.right - 1, area.top, nullptr);
  LineTo(dc, area.left, area.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

// The desktop's link colour where the user chose high contrast; elsewhere
// the blue of links on Windows, which some desktops (Wine's) leave pale grey.
COLORREF LinkColour() {
  HIGHCONTRASTW contrast = {};
  contrast.cbSize = sizeof contrast;
  if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
      (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
    return GetSysColor(COLOR_HOTLIGHT);
  }
  return RGB(0x00, 0x66, 0xCC);
}

void FocusFrame(HDC dc, const RECT& area) {
  RECT frame = area;
  InflateRect(&frame, -1, -1);
  DrawFocusRect(dc, &frame);
}

}  // namespace

void DrawSwatch(HDC dc, const RECT& area, const std::optional<Rgba>& colour) {
  RECT inside = area;
  InflateRect(&inside, -1, -1);
  FillWith(dc, inside, colour ? OverWhite(*colour) : RGB(255, 255, 255));
  if (!colour) Cross(dc, inside);
  FrameRect(dc, &area, GetSysColorBrush(COLOR_WINDOWFRAME));
}

void DrawMissingMark(HDC dc, const RECT& area) {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  DrawIconEx(dc, area.left, area.top, LoadIconW(nullptr, MAKEINTRESOURCEW(32515)),  // IDI_WARNING
             area.right - area.left, area.bottom - area.top, 0, nullptr, DI_NORMAL);
}

void DrawLink(HDC dc, const RECT& area, const wchar_t* caption, HFONT font, bool focused) {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, LinkColour());
  SetBkMode(dc, TRANSPARENT);
  RECT text = area;
  DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  if (focused) FocusFrame(dc, area);
}

void DrawFlag(HDC dc, const RECT& area, int id, bool focused) {
  if (id == kDutchFlagId) {
    DrawDutchFlag(dc, area);
  } else {
    DrawBritishFlag(dc, area);
  }
  if (focused) FocusFrame(dc, area);
}

void DrawFrames(HDC dc, const SettingsLayout& layout) {
  for (RECT frame : layout.frames) DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  RECT rule = layout.rule;
  DrawEdge(dc, &rule, EDGE_ETCHED, BF_TOP);
}

}  // namespace qv::winui
