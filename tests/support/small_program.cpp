#include "support/small_program.h"

namespace qv::testing {

void WriteSmallProgram(const TempFolder& folder) {
  folder.WriteFile("koptekst.txt",
                   CrLfLines({"<html><head><title>", "@#$TITEL@#$", "</title></head>",
                              "<body bgcolor=\"#FFFFF0\" text=\"#009933\"><font size=\"",
                              "@#$TSIZE@#$", "\">", "@#$UPDATE@#$", "<table>"}));
  folder.WriteFile("voettekst.txt",
                   CrLfLines({"</table><select>", " @#$OPTION@#$", "</select></body></html>"}));
  folder.WriteFile("Favorites/Cats/Tabby.url",
                   CrLfLines({"[InternetShortcut]", "URL=https://cats.example/"}));
}

void WriteSmallSettingsFile(const TempFolder& folder, const std::string& language_line) {
  folder.WriteFile(
      "ins.txt",
      CrLfLines({"#009933", "#FFCC99", "#003399", "#FFFFF0", "My Startpage", "mijnstart.html",
                 "Pim Voorbeeld", folder.Path("Favorites"), "left.gif", "right.gif", "About me",
                 "me@example.org", "https://left.example/", "https://right.example/", "<!-- -->",
                 "A startpage about cats", "ANIMALS CATS", "5", language_line}));
}

std::string CrLfLine(const std::string& text, int index) {
  std::size_t start = 0;
  for (int line = 0; line < index; ++line) {
    start = text.find("\r\n", start);
    if (start == std::string::npos) return {};
    start += 2;
  }
  return text.substr(start, text.find("\r\n", start) - start);
}

}  // namespace qv::testing
