// A dialog described in memory, as a resource file would describe it, for
// the system's dialog manager to make: its keys, focus and default button
// then work as in every dialog of the system. Measures in dialog units.
#pragma once

#include <string>
#include <vector>

#include "generator/windows_api.h"

namespace qv::winui {

// The system's control classes by their numbers.
enum class DialogControl : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83 };

class DialogTemplate {
 public:
  // A modal dialog titled `title` (UTF-8) in the desktop's dialog font.
  DialogTemplate(const std::string& title, short width, short height);

  void Add(DialogControl kind, int id, DWORD style, short x, short y, short width, short height,
           const std::string& text = {});

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Put(DWORD value);
  void Put(const std::wstring& text);
  void AlignToDword();

  // Kept in 16-bit words, as the template is laid out.
  std::vector<WORD> words_;
};

}  // namespace qv::winui
