#include "winui/screen_scale.h"

namespace qv::winui {
namespace {

// The calls that know each screen's scale came with Windows 10; on older
// systems every window has the system's one scale.
template <class Function>
Function User32Call(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiCall = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

int SystemDotsPerInch() {
  HDC screen = GetDC(nullptr);
  const int dots_per_inch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dots_per_inch > 0 ? dots_per_inch : kDesignDotsPerInch;
}

}  // namespace

int DotsPerInchOf(HWND window) {
  static const auto for_window = User32Call<GetDpiForWindowCall>("GetDpiForWindow");
  if (for_window != nullptr && window != nullptr) {
    const UINT dots_per_inch = for_window(window);
    if (dots_per_inch > 0) return static_cast<int>(dots_per_inch);
  }
  return SystemDotsPerInch();
}

SIZE FrameSizeFor(int client_width, int client_height, DWORD style, DWORD ex_style,
                  int dots_per_inch) {
  static const auto adjust = User32Call<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
  RECT frame = {0, 0, client_width, client_height};
  if (adjust != nullptr) {
    adjust(&frame, style, FALSE, ex_style, static_cast<UINT>(dots_per_inch));
  } else {
    AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

HFONT NewMessageFont(int dots_per_inch, bool underlined) {
  static const auto for_dpi =
      User32Call<SystemParametersInfoForDpiCall>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font = {};
  if (for_dpi != nullptr && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dots_per_inch))) {
    font = metrics.lfMessageFont;
  } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    // In the system's scale; brought to the window's.
    font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, dots_per_inch, SystemDotsPerInch());
  } else {
    font.lfHeight = -Scaled(12, dots_per_inch);
    lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
  }
  font.lfUnderline = underlined ? TRUE : FALSE;
  return CreateFontIndirectW(&font);
}

}  // namespace qv::winui
