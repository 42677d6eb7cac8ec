#include "winui/dialog_template.h"

#include "generator/windows_text.h"

namespace qv::winui {
namespace {

// Where the number of controls lies in the template's header.
constexpr std::size_t kCountAt = 4;

}  // namespace

DialogTemplate::DialogTemplate(const std::string& title, short width, short height) {
  Put(DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT | DS_CENTER});
  Put(DWORD{0});        // extended style
  words_.push_back(0);  // number of controls
  for (const short measure : {short{0}, short{0}, width, height}) {
    words_.push_back(static_cast<WORD>(measure));
  }
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the system's dialog class
  Put(WideText(title));
  words_.push_back(8);  // points
  Put(std::wstring(L"MS Shell Dlg 2"));
}

void DialogTemplate::Add(DialogControl kind, int id, DWORD style, short x, short y, short width,
                         short height, const std::string& text) {
  AlignToDword();
  Put(DWORD{WS_CHILD | WS_VISIBLE | style});
  Put(DWORD{0});  // extended style
  for (const short measure : {x, y, width, height}) words_.push_back(static_cast<WORD>(measure));
  words_.push_back(static_cast<WORD>(id));
  words_.push_back(0xFFFF);  // a class by its number follows
  words_.push_back(static_cast<WORD>(kind));
  Put(WideText(text));
  words_.push_back(0);  // no creation data
  ++words_[kCountAt];
}

void DialogTemplate::Put(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

void DialogTemplate::Put(const std::wstring& text) {
  for (const wchar_t c : text) words_.push_back(static_cast<WORD>(c));
  words_.push_back(0);
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) words_.push_back(0);
}

}  // namespace qv::winui
