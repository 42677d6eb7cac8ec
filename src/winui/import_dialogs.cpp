#include "winui/import_dialogs.h"

#include "generator/windows_text.h"
#include "winui/source_dialog.h"
#include "winui/window_words.h"

namespace qv::winui {

std::optional<std::size_t> Win32ImportDialogs::ChooseSource(
    const std::vector<BookmarkSource>& sources, const ImportWords& words) {
  // The import's words say which language the window speaks.
  const bool english = &words == &ImportWordsOf(Language::kEnglish);
  const WindowWords& buttons = WindowWordsFor(english ? kEnglishCaptions : kDutchCaptions);
  std::vector<std::string> choices;
  for (const BookmarkSource& source : sources) choices.push_back(source.caption);
  choices.push_back(words.from_file);
  return ChooseFromList(owner_, {words.title, words.choose, buttons.ok, buttons.cancel}, choices);
}

std::optional<std::string> Win32ImportDialogs::ChooseFile(const ImportWords& words) {
  return chooser_(words.title, words.file_filter);
}

void Win32ImportDialogs::ShowOutcome(const Message& message) {
  MessageBoxW(owner_, WideText(message.text).c_str(), WideText(message.title).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace qv::winui
