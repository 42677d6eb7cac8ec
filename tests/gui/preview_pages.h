// What the preview's tests share: the page the program's own templates make,
// and showing a page file in a preview.
#pragma once

#include <QSignalSpy>
#include <QString>
#include <string>

#include "run/start_page.h"
#include "settings/program_state.h"
#include "support/fake_surroundings.h"
#include "support/program_data.h"
#include "support/temp_folder.h"
#include "ui/web_engine_preview.h"

namespace qv::testing {

// The page of the program's own templates, built in `folder` (as
// "mijnstart.html") from `state` over the shortcuts written to `favorites`.
struct ProgramPage {
  explicit ProgramPage(const TempFolder& folder) : surroundings(folder.path()) {
    CopyProgramData(folder);
    state.settings.favorites_folder = favorites.path();
  }
  // Builds the page anew; false when it was not written.
  bool Build() { return BuildStartPage(state, surroundings).page_status.ok(); }

  TempFolder favorites;
  FakeSurroundings surroundings;
  ProgramState state;
};

// Has `preview` show the page file at `path`; false when it never did or
// the load failed.
inline bool ShowPageFile(WebEnginePreview& preview, const std::string& path) {
  QSignalSpy shown(&preview, &PagePreview::PageShown);
  preview.Navigate(QString::fromStdString(path));
  return shown.wait(30000) && shown.takeFirst().at(0).toBool();
}

}  // namespace qv::testing
