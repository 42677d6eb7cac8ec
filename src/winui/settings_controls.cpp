#include "winui/settings_controls.h"

#include <commctrl.h>

#include <vector>

#include "control/views.h"
#include "generator/windows_text.h"
#include "settings/settings.h"
#include "winui/control_ids.h"
#include "winui/window_class.h"

namespace qv::winui {
namespace {

// Every control that takes focus starts a group of its own, so that the
// arrow keys never carry the focus to the next control; only the title-size
// buttons form one group: Tab stops at the selected one, and the arrows move
// through them and select.
constexpr DWORD kFocusable = WS_TABSTOP | WS_GROUP;
constexpr DWORD kField = kFocusable | ES_AUTOHSCROLL;
constexpr DWORD kButton = kFocusable | BS_PUSHBUTTON;
constexpr DWORD kPicture = kFocusable | BS_OWNERDRAW;

void MakeField(HWND window, int id) {
  HWND field = MakeControl(window, L"EDIT", id, kField, WS_EX_CLIENTEDGE);
  SendMessageW(field, EM_SETLIMITTEXT, 0, 0);  // as long as a settings line may be
}

void MakeColourGroup(HWND window, Colour colour) {
  // The swatch reports the mouse, so that its tip shows.
  MakeControl(window, L"STATIC", SwatchId(colour), SS_OWNERDRAW | SS_NOTIFY);
  MakeField(window, CodeFieldId(colour));
  MakeControl(window, L"BUTTON", DefaultButtonId(colour), kButton);
  for (const Channel channel : kChannels) {
    MakeControl(window, L"STATIC", SliderLabelId(colour, channel), SS_LEFT | SS_NOPREFIX);
    // Right and Up raise the value, as on any slider.
    HWND slider = MakeControl(window, TRACKBAR_CLASSW, SliderId(colour, channel),
                              kFocusable | TBS_HORZ | TBS_NOTICKS | TBS_DOWNISLEFT);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, kSliderMaximum);
    // An arrow key and a click in the track both move it one step.
    SendMessageW(slider, TBM_SETLINESIZE, 0, 1);
    SendMessageW(slider, TBM_SETPAGESIZE, 0, 1);
  }
}

void MakeFieldRow(HWND window, TextField field) {
  MakeControl(window, L"STATIC", FieldLabelId(field), SS_RIGHT | SS_NOPREFIX);
  MakeField(window, FieldId(field));
  if (field == TextField::kFavoritesFolder) {
    HWND mark = MakeControl(window, L"STATIC", kFavoritesMissingMarkId, SS_OWNERDRAW | SS_NOTIFY);
    ShowWindow(mark, SW_HIDE);
    MakeControl(window, L"BUTTON", kChooseFolderId, kButton);
  } else if (field == TextField::kTitleSize) {
    for (int option = 0; option < kTitleSizeOptionCount; ++option) {
      const DWORD group = option == 0 ? WS_GROUP : 0;
      HWND button = MakeControl(window, L"BUTTON", TitleSizeButtonId(option),
                                WS_TABSTOP | group | BS_AUTORADIOBUTTON);
      SetWindowTextW(button, std::to_wstring(option + 1).c_str());
    }
  }
}

HWND MakeTooltip(HWND window) {
  HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
  std::vector<int> explained = {kFavoritesMissingMarkId, kChooseFolderId};
  for (const Colour colour : kColours) explained.push_back(SwatchId(colour));
  for (const int id : explained) {
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, id));
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return tooltip;
}

TTTOOLINFOW ToolOf(HWND window, int control) {
  TTTOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window, control));
  return tool;
}

}  // namespace

HWND MakeSettingsControls(HWND window) {
  for (const Colour colour : kColours) MakeColourGroup(window, colour);
  for (const TextField field : kTextFields) MakeFieldRow(window, field);
  // Where the page is: a path to read and copy, so read only, without an
  // edge, and out of the Tab order.
  MakeControl(window, L"STATIC", kPagePathLabelId, SS_RIGHT | SS_NOPREFIX);
  MakeControl(window, L"EDIT", kPagePathId, ES_AUTOHSCROLL | ES_READONLY);
  for (const int id : {kRefreshId, kImportBookmarksId, kOpenInBrowserId}) {
    MakeControl(window, L"BUTTON", id, kButton);
  }
  for (const int id : {kMakerLinkId, kDutchFlagId, kBritishFlagId}) {
    MakeControl(window, L"BUTTON", id, kPicture);
  }
  return MakeTooltip(window);
}

void SetTip(HWND tooltip, HWND window, int control, const std::string& text) {
  std::wstring wide = WideText(text);
  TTTOOLINFOW tool = ToolOf(window, control);
  tool.lpszText = wide.data();
  SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string TipOf(HWND tooltip, HWND window, int control) {
  std::wstring text(1024, L'\0');
  TTTOOLINFOW tool = ToolOf(window, control);
  tool.lpszText = text.data();
  SendMessageW(tooltip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  text.resize(wcsnlen(text.c_str(), text.size()));
  return Utf8Text(text);
}

}  // namespace qv::winui
