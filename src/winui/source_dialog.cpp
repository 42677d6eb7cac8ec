#include "winui/source_dialog.h"

#include "generator/windows_text.h"
#include "winui/control_ids.h"
#include "winui/dialog_template.h"

namespace qv::winui {
namespace {

struct Choice {
  const std::vector<std::string>* choices;
  std::optional<std::size_t> picked;
};

void Pick(HWND dialog, Choice& choice) {
  const LRESULT selected = SendDlgItemMessageW(dialog, kSourceListId, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  choice.picked = static_cast<std::size_t>(selected);
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ChoiceProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* choice = reinterpret_cast<Choice*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, l);
      choice = reinterpret_cast<Choice*>(l);
      HWND list = GetDlgItem(dialog, kSourceListId);
      for (const std::string& item : *choice->choices) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(item).c_str()));
      }
      SendMessageW(list, LB_SETCURSEL, 0, 0);
      SetFocus(list);
      return FALSE;  // the focus has been set
    }
    case WM_COMMAND:
      if (LOWORD(w) == IDOK || (LOWORD(w) == kSourceListId && HIWORD(w) == LBN_DBLCLK)) {
        Pick(dialog, *choice);
      } else if (LOWORD(w) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::size_t> ChooseFromList(HWND owner, const SourceDialogWords& words,
                                          const std::vector<std::string>& choices) {
  DialogTemplate dialog(words.title, 230, 140);
  dialog.Add(DialogControl::kStatic, -1, SS_LEFT | SS_NOPREFIX, 7, 7, 216, 10, words.question);
  dialog.Add(DialogControl::kListBox, kSourceListId,
             WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7, 20, 216,
             92);
  dialog.Add(DialogControl::kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 119, 119, 50, 14,
             words.ok);
  dialog.Add(DialogControl::kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 173, 119, 50, 14,
             words.cancel);
  Choice choice = {&choices, std::nullopt};
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner, &ChoiceProcedure,
                          reinterpret_cast<LPARAM>(&choice));
  return choice.picked;
}

}  // namespace qv::winui
