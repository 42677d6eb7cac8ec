// The windows of the program as objects: a window class whose procedure hands
// every message to the object that made the window.
#pragma once

#include "generator/windows_api.h"

namespace qv::winui {

// The program's icon, from the executable's resources (identifier 1), or the
// system's for programs without one.
HICON ProgramIcon(int size);

namespace detail {

ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

template <class Owner>
LRESULT CALLBACK OwnedWindowProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    owner->AttachWindow(window);
  }
  if (owner == nullptr) return DefWindowProcW(window, message, w, l);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    owner->AttachWindow(nullptr);
    return DefWindowProcW(window, message, w, l);
  }
  return owner->HandleMessage(message, w, l);
}

}  // namespace detail

// Makes a top-level window of the class `class_name` (registered on first
// use) for `owner`, which receives AttachWindow(handle) as the window comes
// and AttachWindow(nullptr) as it goes, and every message in between through
// HandleMessage(message, w, l). The window starts hidden.
template <class Owner>
HWND MakeOwnedWindow(const wchar_t* class_name, Owner* owner, DWORD style, DWORD ex_style,
                     HWND parent = nullptr) {
  detail::RegisterWindowClass(class_name, &detail::OwnedWindowProcedure<Owner>);
  return CreateWindowExW(ex_style, class_name, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, GetModuleHandleW(nullptr),
                         owner);
}

// A child control of `parent`: a window of the system's class `class_name`.
HWND MakeControl(HWND parent, const wchar_t* class_name, int id, DWORD style, DWORD ex_style = 0);

}  // namespace qv::winui
