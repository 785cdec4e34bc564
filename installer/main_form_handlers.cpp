// TMainForm's class description and the handlers its layout names.
#include "framework/core/rtti.h"
#include "installer/main_form.h"

namespace installer {

const framework::TClassInfo& TMainForm::ClassInfo() const { return StaticClassInfo(); }
const framework::TClassInfo& TMainForm::StaticClassInfo() {
  static const framework::TClassInfo& info =
      framework::TClassInfo::Define<TMainForm, framework::TForm>("TMainForm").Done();
  return info;
}

std::optional<framework::TMethod> TMainForm::FindMethod(const std::string& name) {
  using framework::BindMethod;
  struct Handler {
    const char* name;
    void (TMainForm::*method)(framework::TComponent*);
  };
  static constexpr Handler kNotifyHandlers[] = {
      {"Sheet0Show", &TMainForm::Sheet0Show},
      {"Sheet1Show", &TMainForm::Sheet1Show},
      {"Sheet2Show", &TMainForm::Sheet2Show},
      {"Sheet3Show", &TMainForm::Sheet3Show},
      {"Sheet4Show", &TMainForm::Sheet4Show},
      {"Sheet5Show", &TMainForm::Sheet5Show},
      {"NextBtClick", &TMainForm::NextBtClick},
      {"PrevBtClick", &TMainForm::PrevBtClick},
      {"CancelBtClick", &TMainForm::CancelBtClick},
      {"suiButton4Click", &TMainForm::suiButton4Click},
      {"suiImageButton1Click", &TMainForm::suiImageButton1Click},
      {"ShowAuthorWebSite", &TMainForm::ShowAuthorWebSite},
      {"Button1Click", &TMainForm::Button1Click},
      {"Button2Click", &TMainForm::Button2Click},
      {"BPingClick", &TMainForm::BPingClick},
  };
  for (const Handler& h : kNotifyHandlers)
    if (name == h.name) return BindMethod(this, h.method);
  if (name == "FormCloseQuery") return BindMethod(this, &TMainForm::FormCloseQuery);
  return std::nullopt;
}

}  // namespace installer
