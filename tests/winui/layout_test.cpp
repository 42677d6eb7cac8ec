// The settings window's layout at the scales of today's screens, and the
// file kinds the import's file chooser offers.
#include <algorithm>
#include <set>

#include "control/bookmark_import.h"
#include "winui/file_dialogs.h"
#include "winui/flag_pictures.h"
#include "winui/screen_scale.h"
#include "winui/settings_layout.h"
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

bool Overlap(const RECT& a, const RECT& b) {
  RECT common;
  return IntersectRect(&common, &a, &b) != FALSE;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::set<int> EveryControlId() {
  std::set<int> ids = {kFavoritesMissingMarkId, kChooseFolderId, kRefreshId,   kImportBookmarksId,
                       kOpenInBrowserId,        kMakerLinkId,    kDutchFlagId, kBritishFlagId,
                       kPagePathLabelId,        kPagePathId};
  for (const Colour colour : kColours) {
    ids.insert({SwatchId(colour), CodeFieldId(colour), DefaultButtonId(colour)});
    for (const Channel channel : kChannels) {
      ids.insert({SliderId(colour, channel), SliderLabelId(colour, channel)});
    }
  }
  for (const TextField field : kTextFields) ids.insert({FieldId(field), FieldLabelId(field)});
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    ids.insert(TitleSizeButtonId(option));
  }
  return ids;
}

TEST(SettingsLayoutTest, EveryControlHasARoomOfItsOwnInsideTheWindowAtEveryScale) {
  for (const int dots_per_inch : {96, 120, 144, 192}) {
    SCOPED_TRACE(dots_per_inch);
    SettingsMeasures measures;
    measures.dots_per_inch = dots_per_inch;
    measures.text_height = 15 * dots_per_inch / 96;
    measures.average_char_width = 7 * dots_per_inch / 96;
    measures.text_width = [dots_per_inch](const std::string& text) {
      return static_cast<int>(text.size()) * 7 * dots_per_inch / 96;
    };
    const SettingsLayout layout = LayOutSettingsWindow(measures);
    const RECT client = {0, 0, layout.client.cx, layout.client.cy};
    // Beside the main window (705 pixels with its frame) on a 1366-pixel screen.
    EXPECT_LE(layout.client.cx, 640 * dots_per_inch / 96);

    std::set<int> placed;
    for (const ControlPlace& place : layout.controls) {
      EXPECT_TRUE(placed.insert(place.id).second) << place.id << " placed twice";
      EXPECT_TRUE(Inside(place.rect, client)) << place.id;
      EXPECT_GT(place.rect.right - place.rect.left, 0) << place.id;
      for (const ControlPlace& other : layout.controls) {
        if (other.id < place.id) {
          EXPECT_FALSE(Overlap(place.rect, other.rect)) << place.id << "/" << other.id;
        }
      }
    }
    EXPECT_EQ(placed, EveryControlId());

    for (std::size_t group = 0; group < layout.frames.size(); ++group) {
      for (const Channel channel : kChannels) {
        const int slider = SliderId(kColours[group], channel);
        const auto place = std::find_if(layout.controls.begin(), layout.controls.end(),
                                        [slider](const ControlPlace& p) { return p.id == slider; });
        EXPECT_TRUE(Inside(place->rect, layout.frames[group])) << slider;
      }
    }
    const auto flag = std::find_if(layout.controls.begin(), layout.controls.end(),
                                   [](const ControlPlace& p) { return p.id == kBritishFlagId; });
    EXPECT_EQ(flag->rect.right - flag->rect.left, Scaled(kBritishFlagSize.cx, dots_per_inch));
    EXPECT_EQ(flag->rect.bottom - flag->rect.top, Scaled(kBritishFlagSize.cy, dots_per_inch));
  }
}

TEST(FileKindsTest, TheImportsFilterBecomesTheChoosersKinds) {
  const std::vector<FileKind> english = FileKindsOf(ImportWordsOf(Language::kEnglish).file_filter);
  EXPECT_EQ(english,
            (std::vector<FileKind>{{L"Bookmarks (*.html *.htm *.json places.sqlite Bookmarks)",
                                    L"*.html;*.htm;*.json;places.sqlite;Bookmarks"},
                                   {L"All files (*)", L"*"}}));
  EXPECT_EQ(FileKindsOf(ImportWordsOf(Language::kDutch).file_filter).back(),
            (FileKind{L"Alle bestanden (*)", L"*"}));
  // Blanks round the patterns are no patterns; an entry without any is left out.
  EXPECT_EQ(FileKindsOf("Pages (  *.htm   *.html );;no patterns;;"),
            (std::vector<FileKind>{{L"Pages (  *.htm   *.html )", L"*.htm;*.html"}}));
}

}  // namespace
}  // namespace qv::winui::testing
