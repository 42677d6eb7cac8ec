// The settings window: the fields, colour groups, title-size buttons, refresh
// button, maker's link and flags. It shows the program's values and reports
// the user's actions to the program's event logic, which decides what they do.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "control/page_colour.h"
#include "control/program_controller.h"
#include "control/views.h"
#include "winui/control_annotations.h"
#include "winui/settings_layout.h"

namespace qv::winui {

class SettingsWindow : public SettingsView {
 public:
  // Shows itself beside `main_window`.
  explicit SettingsWindow(HWND main_window);
  ~SettingsWindow() override;
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;

  // From now on the window reports the user's actions to `controller`, a
  // click on "Import bookmarks..." to `import_clicked`, and hands every
  // caption set it shows to `captions_shown`.
  void Connect(ProgramController& controller, std::function<void()> import_clicked,
               std::function<void(const CaptionSet&)> captions_shown);
  // From now on the window reports nothing: the controller goes first.
  void Disconnect();
  // The dialog keys: Tab and the arrows move the focus, Return clicks the
  // button that has it or, in a field, refreshes; true when `message` has
  // been dealt with.
  bool PreTranslate(MSG& message);

  HWND handle() const { return window_; }
  // What the swatch of `colour` shows: none for the cross.
  std::optional<Rgba> SwatchColour(Colour colour) const {
    return swatches_[static_cast<int>(colour)];
  }
  // The tip of the control `id`.
  std::string TipOf(int id) const;
  // The name and description assistive technology reads for the control
  // `id`: what the window gave it, or else its own text.
  std::string AccessibleNameOf(int id) const;
  std::string AccessibleDescriptionOf(int id) const;

  void ShowState(const ProgramState& state) override;
  void ShowCaptions(const CaptionSet& captions) override;
  void Show() override;
  bool IsShown() const override;
  void ShowFavoritesFolderMissing(bool missing) override;
  void ShowPagePath(const std::string& path) override;
  void ShowError(const Message& message) override;

  void AttachWindow(HWND window) { window_ = window; }
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);

 private:
  void UseScale(int dots_per_inch);
  void Command(int id, int code);
  void FieldChanged(int id);
  void ReportSlidersIfMoved(Colour colour);
  void ShowSwatches();
  // The names assistive technology reads for the controls.
  void NameControls(const AccessibleNames& names);
  // The sliders of `colour` tell the code that their next move replaces.
  void DescribeSliders(Colour colour);
  // The Favorites field tells the mark's warning while the mark shows.
  bool FavoritesMarkShown() const;
  void DescribeFavoritesField();
  void DrawItem(const DRAWITEMSTRUCT& item);
  bool ReturnPressed(const MSG& key);
  void PlaceBesideMainWindow();
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  static LRESULT CALLBACK SliderProcedure(HWND slider, UINT message, WPARAM w, LPARAM l,
                                          UINT_PTR id, DWORD_PTR window);

  HWND window_ = nullptr;
  HWND main_window_;
  HWND tooltip_ = nullptr;
  ControlAnnotations annotations_;
  HFONT font_ = nullptr;
  HFONT link_font_ = nullptr;
  SettingsLayout layout_;
  const CaptionSet* captions_ = &kCreatedCaptions;
  // The program writes into the fields: their changes are not the user's.
  bool writing_ = false;
  // The slider positions of each colour group last reported.
  std::array<std::array<int, 3>, kColourCount> reported_{};
  std::array<std::optional<Rgba>, kColourCount> swatches_{};
  ProgramController* controller_ = nullptr;
  std::function<void()> import_clicked_;
  std::function<void(const CaptionSet&)> captions_shown_;
};

}  // namespace qv::winui
