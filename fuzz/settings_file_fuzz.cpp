// The settings file reader on any file: reading never fails on content, the
// title-size repair always leaves a consistent choice, and a file the
// program saved reads back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "generator/file_system.h"
#include "settings/program_state.h"
#include "settings/settings_file.h"
#include "support/scratch.h"

namespace qv::fuzz {
namespace {

bool SameState(const ProgramState& a, const ProgramState& b) {
  return a.settings == b.settings && a.language_code == b.language_code &&
         a.selected_title_size == b.selected_title_size;
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv;
  using namespace qv::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string folder = Scratch().path();
  WriteScratchFile(kSettingsFileName, input);

  ProgramState read;
  Check(LoadSettings(read, folder).ok(), "a settings file that exists is read");
  const int selected = read.selected_title_size;
  Check(selected == kNoTitleSizeOption || (selected >= 0 && selected < kTitleSizeOptionCount),
        "the title-size choice is a button or none");
  if (selected != kNoTitleSizeOption) {
    Check(read.settings.title_size == std::to_string(selected + 1),
          "a chosen title-size button is the title size");
  }
  const std::string page_name = PageFileNameFrom(read.settings.page_file_name);
  Check(IsPlainFileName(page_name), "the page file name names a file in the program folder");

  // A file the program wrote reads back as it was written. (Not the first
  // read: a short file leaves later fields at their defaults, which may hold
  // line breaks and texts the change rules have not seen yet.)
  Check(SaveSettings(read, folder).ok(), "the settings save");
  ProgramState written;
  Check(LoadSettings(written, folder).ok(), "saved settings are read");
  Check(SaveSettings(written, folder).ok(), "the settings save again");
  ProgramState again;
  Check(LoadSettings(again, folder).ok(), "saved settings are read again");
  Check(SameState(written, again), "saved settings read back as they were");
  return 0;
}
