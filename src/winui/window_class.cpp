#include "winui/window_class.h"

namespace qv::winui {

HICON ProgramIcon(int size) {
  auto* icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
  return icon != nullptr ? icon : LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
}

namespace detail {

ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, name, &window_class)) return 1;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = name;
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.hIcon = ProgramIcon(GetSystemMetrics(SM_CXICON));
  window_class.hIconSm = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
  return RegisterClassExW(&window_class);
}

}  // namespace detail

HWND MakeControl(HWND parent, const wchar_t* class_name, int id, DWORD style, DWORD ex_style) {
  return CreateWindowExW(ex_style, class_name, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace qv::winui
