#include "winui/settings_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "control/window_placement.h"
#include "generator/windows_text.h"
#include "winui/control_ids.h"
#include "winui/screen_scale.h"
#include "winui/settings_controls.h"
#include "winui/settings_drawing.h"
#include "winui/window_class.h"
#include "winui/window_text.h"

namespace qv::winui {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
// Activation is answered once the window system has finished it.
constexpr UINT kActivatedMessage = WM_APP + 1;

std::optional<TextField> FieldOfId(int id) {
  for (const TextField field : kTextFields) {
    if (FieldId(field) == id) return field;
  }
  return std::nullopt;
}

ScreenRect ToScreenRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

BOOL CALLBACK AddScreen(HMONITOR monitor, HDC, RECT*, LPARAM screens) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<ScreenRect>*>(screens)->push_back(ToScreenRect(info.rcWork));
  }
  return TRUE;
}

BOOL CALLBACK SetFontOf(HWND control, LPARAM font) {
  SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t found[32] = {};
  GetClassNameW(window, found, 32);
  return lstrcmpiW(found, name) == 0;
}

bool IsRepeat(const MSG& key) {
  return (key.lParam & (1L << 30)) != 0;
}

}  // namespace

SettingsWindow::SettingsWindow(HWND main_window) : main_window_(main_window) {
  MakeOwnedWindow(L"VorlindoSettingsWindow", this, kStyle, kExStyle);
  tooltip_ = MakeSettingsControls(window_);
  for (const Colour colour : kColours) {
    for (const Channel channel : kChannels) {
      SetWindowSubclass(Control(SliderId(colour, channel)), &SliderProcedure, 1,
                        reinterpret_cast<DWORD_PTR>(this));
    }
  }
  UseScale(DotsPerInchOf(window_));
  ShowCaptions(kCreatedCaptions);
}

SettingsWindow::~SettingsWindow() {
  annotations_.Clear();
  if (window_ != nullptr) DestroyWindow(window_);
  for (HFONT font : {font_, link_font_}) {
    if (font != nullptr) DeleteObject(font);
  }
}

void SettingsWindow::Connect(ProgramController& controller, std::function<void()> import_clicked,
                             std::function<void(const CaptionSet&)> captions_shown) {
  controller_ = &controller;
  import_clicked_ = std::move(import_clicked);
  captions_shown_ = std::move(captions_shown);
}

void SettingsWindow::Disconnect() {
  controller_ = nullptr;
  import_clicked_ = nullptr;
  captions_shown_ = nullptr;
}

void SettingsWindow::UseScale(int dots_per_inch) {
  HFONT old_font = font_;
  HFONT old_link_font = link_font_;
  font_ = NewMessageFont(dots_per_inch);
  link_font_ = NewMessageFont(dots_per_inch, true);
  EnumChildWindows(window_, &SetFontOf, reinterpret_cast<LPARAM>(font_));
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  for (HFONT font : {old_font, old_link_font}) {
    if (font != nullptr) DeleteObject(font);
  }

  HDC dc = GetDC(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SettingsMeasures measures;
  measures.dots_per_inch = dots_per_inch;
  measures.text_height = metrics.tmHeight;
  measures.average_char_width = metrics.tmAveCharWidth;
  measures.text_width = [dc](const std::string& text) {
    const std::wstring wide = WideText(text);
    SIZE size = {};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  };
  layout_ = LayOutSettingsWindow(measures);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);

  for (const ControlPlace& place : layout_.controls) {
    MoveWindow(Control(place.id), place.rect.left, place.rect.top,
               place.rect.right - place.rect.left, place.rect.bottom - place.rect.top, FALSE);
  }
  const SIZE frame =
      FrameSizeFor(layout_.client.cx, layout_.client.cy, kStyle, kExStyle, dots_per_inch);
  SetWindowPos(window_, nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

void SettingsWindow::ShowState(const ProgramState& state) {
  writing_ = true;
  for (const TextField field : kTextFields) {
    SetTextKeepingCaret(Control(FieldId(field)), TextOf(state.settings, field));
  }
  for (const Colour colour : kColours) {
    SetTextKeepingCaret(Control(CodeFieldId(colour)), CodeOf(state.settings, colour));
  }
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    const bool selected = option == state.selected_title_size;
    SendMessageW(Control(TitleSizeButtonId(option)), BM_SETCHECK,
                 selected ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  writing_ = false;
}

void SettingsWindow::ShowCaptions(const CaptionSet& captions) {
  captions_ = &captions;
  for (const TextField field : kTextFields) {
    SetText(Control(FieldLabelId(field)), FieldLabel(captions, field));
  }
  const std::array<const char*, kChannelCount> slider_captions = {captions.red, captions.green,
                                                                  captions.blue};
  for (const Colour colour : kColours) {
    for (const Channel channel : kChannels) {
      SetText(Control(SliderLabelId(colour, channel)), slider_captions[static_cast<int>(channel)]);
    }
    SetText(Control(DefaultButtonId(colour)), captions.standard);
  }
  SetText(Control(kRefreshId), captions.refresh);
  SetText(Control(kImportBookmarksId), captions.import_bookmarks);
  SetText(Control(kOpenInBrowserId), captions.open_in_browser);
  SetText(Control(kPagePathLabelId), captions.page_location);
  SetText(Control(kChooseFolderId), captions.choose_folder);
  SetText(window_, captions.settings_title);
  SendMessageW(Control(FieldId(TextField::kFavoritesFolder)), EM_SETCUEBANNER, TRUE,
               reinterpret_cast<LPARAM>(WideText(captions.favorites_hint).c_str()));
  SetTip(tooltip_, window_, kFavoritesMissingMarkId, captions.favorites_missing);
  SetTip(tooltip_, window_, kChooseFolderId, captions.choose_folder_tip);
  ShowSwatches();
  NameControls(captions.names);
  if (captions_shown_) captions_shown_(captions);
}

void SettingsWindow::NameControls(const AccessibleNames& names) {
  for (const TextField field : kTextFields) {
    annotations_.SetName(Control(FieldId(field)), names.fields[static_cast<int>(field)]);
  }
  const std::array<const char*, kChannelCount> slider_names = {names.red_slider, names.green_slider,
                                                               names.blue_slider};
  for (const Colour colour : kColours) {
    annotations_.SetName(Control(CodeFieldId(colour)),
                         ColourControlName(names, names.colour_code, colour));
    annotations_.SetName(Control(DefaultButtonId(colour)),
                         ColourControlName(names, names.default_colour, colour));
    for (const Channel channel : kChannels) {
      annotations_.SetName(
          Control(SliderId(colour, channel)),
          ColourControlName(names, slider_names[static_cast<int>(channel)], colour));
    }
    DescribeSliders(colour);
  }
  annotations_.SetName(Control(kChooseFolderId), captions_->choose_folder_title);
  annotations_.SetName(Control(kFavoritesMissingMarkId), captions_->favorites_missing);
  DescribeFavoritesField();
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    annotations_.SetName(Control(TitleSizeButtonId(option)),
                         FillIn(names.title_size, std::to_string(option + 1)));
  }
  annotations_.SetName(Control(kPagePathId), names.page_path);
  // The flags and the link draw themselves, so their texts show nowhere but
  // name them as buttons.
  SetText(Control(kDutchFlagId), names.dutch);
  SetText(Control(kBritishFlagId), names.english);
  SetText(Control(kMakerLinkId), kMakerSiteCaption);
  annotations_.SetDescription(Control(kMakerLinkId), names.maker_link);
}

void SettingsWindow::DescribeSliders(Colour colour) {
  const std::string description =
      SliderDescription(captions_->names, TextOf(Control(CodeFieldId(colour))));
  for (const Channel channel : kChannels) {
    annotations_.SetDescription(Control(SliderId(colour, channel)), description);
  }
}

// The mark's own state: the window may not show yet.
bool SettingsWindow::FavoritesMarkShown() const {
  return (GetWindowLongW(Control(kFavoritesMissingMarkId), GWL_STYLE) & WS_VISIBLE) != 0;
}

void SettingsWindow::DescribeFavoritesField() {
  annotations_.SetDescription(Control(FieldId(TextField::kFavoritesFolder)),
                              FavoritesMarkShown() ? captions_->favorites_missing : "");
}

std::string SettingsWindow::AccessibleNameOf(int id) const {
  HWND control = Control(id);
  const std::string given = annotations_.NameOf(control);
  if (!given.empty()) return given;
  // A button's own text, without the mark of its Alt key.
  std::string text = TextOf(control);
  std::erase(text, '&');
  return text;
}

std::string SettingsWindow::AccessibleDescriptionOf(int id) const {
  return annotations_.DescriptionOf(Control(id));
}

void SettingsWindow::Show() {
  PlaceBesideMainWindow();
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
}

void SettingsWindow::PlaceBesideMainWindow() {
  std::vector<ScreenRect> screens;
  EnumDisplayMonitors(nullptr, nullptr, &AddScreen, reinterpret_cast<LPARAM>(&screens));
  RECT main_frame = {};
  RECT frame = {};
  if (screens.empty() || main_window_ == nullptr || !GetWindowRect(main_window_, &main_frame) ||
      !GetWindowRect(window_, &frame)) {
    return;
  }
  // The preview gives up width before the two windows overlap.
  const int main_least_width = (main_frame.right - main_frame.left) * 3 / 4;
  const WindowPlacement placed =
      PlaceSettingsWindow(ToScreenRect(main_frame), frame.right - frame.left,
                          frame.bottom - frame.top, screens, main_least_width);
  if (placed.main != ToScreenRect(main_frame)) {
    SetWindowPos(main_window_, nullptr, placed.main.x, placed.main.y, placed.main.width,
                 placed.main.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(window_, nullptr, placed.settings.x, placed.settings.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SettingsWindow::IsShown() const {
  return IsWindowVisible(window_) != FALSE;
}

void SettingsWindow::ShowFavoritesFolderMissing(bool missing) {
  const bool shown = FavoritesMarkShown();
  ShowWindow(Control(kFavoritesMissingMarkId), missing ? SW_SHOWNA : SW_HIDE);
  DescribeFavoritesField();
  // A screen reader on the field hears the warning as it comes.
  if (missing && !shown) {
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, Control(FieldId(TextField::kFavoritesFolder)),
                   OBJID_CLIENT, CHILDID_SELF);
  }
}

void SettingsWindow::ShowPagePath(const std::string& path) {
  SetText(Control(kPagePathId), path);
}

void SettingsWindow::ShowError(const Message& message) {
  MessageBoxW(window_, WideText(message.text).c_str(), WideText(message.title).c_str(),
              MB_OK | MB_ICONERROR);
}

std::string SettingsWindow::TipOf(int id) const {
  return winui::TipOf(tooltip_, window_, id);
}

void SettingsWindow::ShowSwatches() {
  Settings codes;
  for (const Colour colour : kColours) {
    CodeOf(codes, colour) = TextOf(Control(CodeFieldId(colour)));
  }
  for (const Colour colour : kColours) {
    const PageColourReading reading = ReadPageColour(codes, colour);
    swatches_[static_cast<int>(colour)] = reading.colour;
    SetTip(tooltip_, window_, SwatchId(colour), SwatchTip(*captions_, reading));
    InvalidateRect(Control(SwatchId(colour)), nullptr, FALSE);
  }
}

void SettingsWindow::ReportSlidersIfMoved(Colour colour) {
  std::array<int, 3> positions{};
  for (const Channel channel : kChannels) {
    positions[static_cast<int>(channel)] =
        static_cast<int>(SendMessageW(Control(SliderId(colour, channel)), TBM_GETPOS, 0, 0));
  }
  // A key or click that moved nothing ends a move too, and so do both ends
  // of some drags; only a new position counts.
  std::array<int, 3>& reported = reported_[static_cast<int>(colour)];
  if (positions == reported) return;
  reported = positions;
  if (controller_ != nullptr) {
    controller_->SlidersMoved(colour, positions[0], positions[1], positions[2]);
  }
}

LRESULT CALLBACK SettingsWindow::SliderProcedure(HWND slider, UINT message, WPARAM w, LPARAM l,
                                                 UINT_PTR, DWORD_PTR window) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(slider, &SliderProcedure, 1);
  // Page Up and Page Down move it a sixteenth of the way, so that any value is
  // a few keys away; a click in the track still moves one step.
  if (message == WM_KEYDOWN && (w == VK_PRIOR || w == VK_NEXT)) {
    const int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    const int moved = std::clamp(position + (w == VK_PRIOR ? kSliderPageStep : -kSliderPageStep), 0,
                                 kSliderMaximum);
    SendMessageW(slider, TBM_SETPOS, TRUE, moved);
    if (const std::optional<Colour> colour = ColourGroupOf(GetDlgCtrlID(slider))) {
      reinterpret_cast<SettingsWindow*>(window)->ReportSlidersIfMoved(*colour);
    }
    return 0;
  }
  const LRESULT result = DefSubclassProc(slider, message, w, l);
  // A turn of the mouse wheel moves the slider without ending a move.
  if (message == WM_MOUSEWHEEL) {
    if (const std::optional<Colour> colour = ColourGroupOf(GetDlgCtrlID(slider))) {
      reinterpret_cast<SettingsWindow*>(window)->ReportSlidersIfMoved(*colour);
    }
  }
  return result;
}

void SettingsWindow::FieldChanged(int id) {
  const std::string text = TextOf(Control(id));
  if (const std::optional<Colour> colour = ColourGroupOf(id)) {
    // A code can change what the page makes of another group's code.
    ShowSwatches();
    DescribeSliders(*colour);
    if (!writing_ && controller_ != nullptr) controller_->ColourCodeEdited(*colour, text);
  } else if (const std::optional<TextField> field = FieldOfId(id)) {
    if (!writing_ && controller_ != nullptr) controller_->FieldEdited(*field, text);
  }
}

void SettingsWindow::Command(int id, int code) {
  if (code == EN_CHANGE) return FieldChanged(id);
  if (code != BN_CLICKED || controller_ == nullptr) return;
  ProgramController& c = *controller_;
  for (const Colour colour : kColours) {
    if (id == DefaultButtonId(colour)) return c.DefaultColourClicked(colour);
  }
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    // A button that gets the focus says it was clicked without being
    // selected; only a selection counts.
    if (id == TitleSizeButtonId(option) &&
        SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED) {
      return c.TitleSizeClicked(option);
    }
  }
  switch (id) {
    case kRefreshId:
      return c.RefreshClicked();
    case kImportBookmarksId:
      if (import_clicked_) import_clicked_();
      return;
    case kOpenInBrowserId:
      return c.OpenInBrowserClicked();
    case kChooseFolderId:
      return c.ChooseFavoritesFolderClicked();
    case kMakerLinkId:
      return c.MakerLinkClicked();
    case kDutchFlagId:
      return c.LanguageChosen(Language::kDutch);
    case kBritishFlagId:
      return c.LanguageChosen(Language::kEnglish);
    default:
      return;
  }
}

void SettingsWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const int id = static_cast<int>(item.CtlID);
  if (const std::optional<Colour> colour = ColourGroupOf(id)) {
    DrawSwatch(item.hDC, item.rcItem, swatches_[static_cast<int>(*colour)]);
  } else if (id == kFavoritesMissingMarkId) {
    DrawMissingMark(item.hDC, item.rcItem);
  } else if (id == kMakerLinkId) {
    DrawLink(item.hDC, item.rcItem, WideText(kMakerSiteCaption).c_str(), link_font_, focused);
  } else {
    DrawFlag(item.hDC, item.rcItem, id, focused);
  }
}

bool SettingsWindow::PreTranslate(MSG& message) {
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && ReturnPressed(message)) {
    return true;
  }
  return IsDialogMessageW(window_, &message) != FALSE;
}

bool SettingsWindow::ReturnPressed(const MSG& key) {
  if (IsClass(key.hwnd, L"Button")) {
    // Held down, the key clicks once.
    if (!IsRepeat(key)) SendMessageW(key.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  if (IsClass(key.hwnd, L"Edit")) {
    if (!IsRepeat(key) && controller_ != nullptr) controller_->RefreshClicked();
    return true;
  }
  return false;
}

LRESULT SettingsWindow::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      Command(LOWORD(w), HIWORD(w));
      return 0;
    case WM_HSCROLL:
      if (LOWORD(w) == TB_ENDTRACK && l != 0) {
        if (const auto colour = ColourGroupOf(GetDlgCtrlID(reinterpret_cast<HWND>(l)))) {
          ReportSlidersIfMoved(*colour);
        }
      }
      return 0;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(l));
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      DrawFrames(dc, layout_);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_SETCURSOR: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(w));
      if (id == kMakerLinkId || id == kDutchFlagId || id == kBritishFlagId) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(w) != WA_INACTIVE) PostMessageW(window_, kActivatedMessage, 0, 0);
      break;
    case kActivatedMessage:
      if (controller_ != nullptr) controller_->SettingsWindowActivated();
      return 0;
    case WM_CLOSE:
      if (controller_ != nullptr) controller_->SettingsWindowClosed();
      ShowWindow(window_, SW_HIDE);
      return 0;
    case WM_DPICHANGED: {
      UseScale(HIWORD(w));
      const RECT* suggested = reinterpret_cast<const RECT*>(l);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, w, l);
}

}  // namespace qv::winui
