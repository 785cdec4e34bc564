#include "base/win_api.h"

#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/dialogs.h"

namespace framework {
namespace {

UINT ButtonFlags(TMsgButtons buttons) {
  switch (buttons) {
    case TMsgButtons::mbOKCancel: return MB_OKCANCEL;
    case TMsgButtons::mbAbortRetryIgnore: return MB_ABORTRETRYIGNORE;
    case TMsgButtons::mbYesNoCancel: return MB_YESNOCANCEL;
    case TMsgButtons::mbYesNo: return MB_YESNO;
    case TMsgButtons::mbRetryCancel: return MB_RETRYCANCEL;
    case TMsgButtons::mbOK:
    default: return MB_OK;
  }
}

UINT IconFlags(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::miError: return MB_ICONERROR;
    case TMsgIcon::miQuestion: return MB_ICONQUESTION;
    case TMsgIcon::miWarning: return MB_ICONWARNING;
    case TMsgIcon::miInformation: return MB_ICONINFORMATION;
    case TMsgIcon::miNone:
    default: return 0;
  }
}

UINT DefaultFlags(TMsgDefault default_button) {
  switch (default_button) {
    case TMsgDefault::mdSecond: return MB_DEFBUTTON2;
    case TMsgDefault::mdThird: return MB_DEFBUTTON3;
    case TMsgDefault::mdFirst:
    default: return MB_DEFBUTTON1;
  }
}

}  // namespace

int MessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons,
               TMsgIcon icon, TMsgDefault default_button) {
  // GetActiveWindow answers for this thread's windows only: the box never
  // attaches itself to another program's window.
  HWND owner = GetActiveWindow();
  UINT flags = ButtonFlags(buttons) | IconFlags(icon) | DefaultFlags(default_button);
  // Without an owner, the program's other windows must still wait.
  if (!owner) flags |= MB_TASKMODAL;
  const int answer = MessageBoxW(owner, base::GbkToWide(text).c_str(),
                                 base::GbkToWide(caption).c_str(), flags);
  // IDOK ... IDNO are the modal results' numbers; 0 means the box failed.
  return answer == 0 ? mrNone : answer;
}

bool ConfirmDialog(const std::string& text) {
  return MessageBox(text, Application().Title(), TMsgButtons::mbYesNo, TMsgIcon::miQuestion) ==
         mrYes;
}

}  // namespace framework
