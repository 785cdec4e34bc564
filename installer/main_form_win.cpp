#include "installer/main_form.h"

#include <algorithm>

#include "base/error.h"
#include "base/file_system.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/button.h"
#include "framework/controls/check_box.h"
#include "framework/controls/dialogs.h"
#include "framework/controls/edit.h"
#include "framework/controls/form_layout.h"
#include "framework/controls/image.h"
#include "framework/controls/label.h"
#include "framework/controls/page_control.h"
#include "framework/controls/panel.h"
#include "framework/controls/progress_bar.h"
#include "installer/exit_codes.h"
#include "installer/finish_actions.h"
#include "installer/module_resources_win.h"
#include "installer/setup_package.h"
#include "installer/shell.h"
#include "installer/shell_paths.h"
#include "installer/startup_payload.h"
#include "installer/texts.h"
#include "installer/unattended_win.h"
#include "installer/wizard_rules.h"
#include "installer/wizard_texts.h"
#include "skin/sui_button.h"
#include "skin/sui_url_label.h"

#include "base/win_api.h"
#include "installer/registry_win.h"
#include <shellapi.h>
#include <shlobj.h>

namespace installer {

namespace wt = wizard_texts;
using framework::TComponent;

namespace {

// Message boxes of the wizard: system boxes with the installer's caption.
int AskWide(const std::wstring& text, unsigned flags) {
  return MessageBoxW(GetActiveWindow(), text.c_str(),
                     base::GbkToWide(texts::kMessageCaption).c_str(), flags);
}

int Ask(const std::string& text, unsigned flags) { return AskWide(base::GbkToWide(text), flags); }

bool IsControlOrBlank(wchar_t c) { return c <= L' '; }

// The folder box's text as GBK. A text with characters GBK lacks takes the
// short form of its folders; those still missing are made first (the page
// would make them next anyway), since only an existing folder has a short
// form. Throws base::WideTextError naming the folder when there is none.
std::string FolderBoxText(const framework::TEdit& box) {
  const std::wstring typed = box.WideText();
  if (base::EncodeExactly(936, typed)) return box.Text();
  std::size_t from = 0, to = typed.size();
  while (from < to && IsControlOrBlank(typed[from])) ++from;
  while (to > from && IsControlOrBlank(typed[to - 1])) --to;
  const std::wstring folder = typed.substr(from, to - from);
  // Not a full path: the page's own rules explain what is wrong with it.
  if (folder.size() < 3 || folder[1] != L':' || (folder[2] != L'\\' && folder[2] != L'/'))
    return box.Text();
  if (auto gbk = base::SystemPathToGbk(folder)) return *gbk;
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (auto gbk = base::SystemPathToGbk(folder)) return *gbk;
  throw base::WideTextError(base::FormatWithPath(texts::kUnusableFolder, folder));
}

template <typename T>
T* Control(TComponent& form, const char* name) {
  auto* c = dynamic_cast<T*>(form.FindComponent(name));
  if (!c) throw base::Error(std::string("The window layout has no ") + name);
  return c;
}

}  // namespace

TMainForm::TMainForm(TComponent* owner, SetupOptions options)
    : framework::TForm(owner), options_(std::move(options)) {
  framework::RegisterClasses(
      {&framework::TLabel::StaticClassInfo(), &framework::TImage::StaticClassInfo(),
       &framework::TPageControl::StaticClassInfo(), &framework::TTabSheet::StaticClassInfo(),
       &framework::TPanel::StaticClassInfo(), &framework::TEdit::StaticClassInfo(),
       &framework::TProgressBar::StaticClassInfo(), &framework::TCheckBox::StaticClassInfo(),
       &framework::TButton::StaticClassInfo(), &skin::TsuiButton::StaticClassInfo(),
       &skin::TsuiImageButton::StaticClassInfo(), &skin::TsuiURLLabel::StaticClassInfo()});
  framework::LoadFormLayout(*this, "TMAINFORM");
  BindControls();
  // Start-up runs here; an error ends it and is reported, and the window
  // then opens in the state reached.
  try {
    FormCreate();
  } catch (...) {
    framework::Application().SetExitCode(kExitRefused);
    framework::Application().HandleCurrentException();
  }
}

TMainForm::~TMainForm() { PackStream.reset(); }

void TMainForm::BindControls() {
  using framework::TLabel;
  Label8 = Control<TLabel>(*this, "Label8");
  Label12 = Control<TLabel>(*this, "Label12");
  GLabel3 = Control<TLabel>(*this, "GLabel3");
  gLabel5 = Control<TLabel>(*this, "gLabel5");
  NameLb = Control<TLabel>(*this, "NameLb");
  ClassLb = Control<TLabel>(*this, "ClassLb");
  IntroLb = Control<TLabel>(*this, "IntroLb");
  WebSiteLb = Control<TLabel>(*this, "WebSiteLb");
  LabelPF = Control<TLabel>(*this, "LabelPF");
  FolderLb = Control<TLabel>(*this, "FolderLb");
  FNameLb = Control<TLabel>(*this, "FNameLb");
  WorkLb = Control<TLabel>(*this, "WorkLb");
  Label6 = Control<TLabel>(*this, "Label6");
  VerLb = Control<TLabel>(*this, "VerLb");
  DateLb = Control<TLabel>(*this, "DateLb");
  gImage10 = Control<framework::TImage>(*this, "gImage10");
  PageCtl = Control<framework::TPageControl>(*this, "PageCtl");
  Panel1 = Control<framework::TPanel>(*this, "Panel1");
  FolderEd = Control<framework::TEdit>(*this, "FolderEd");
  CopyProgress = Control<framework::TProgressBar>(*this, "CopyProgress");
  StartProgramCb = Control<framework::TCheckBox>(*this, "StartProgramCb");
  CheckBoxG = Control<framework::TCheckBox>(*this, "CheckBoxG");
  PrevBt = Control<skin::TsuiButton>(*this, "suiButton1");
  NextBt = Control<skin::TsuiButton>(*this, "suiButton2");
  CancelBt = Control<skin::TsuiButton>(*this, "suiButton3");
  AgreeBt = Control<skin::TsuiButton>(*this, "suiButton4");
  suiURLLabel1 = Control<skin::TsuiURLLabel>(*this, "suiURLLabel1");
  // Until start-up has a verified package there is no way forward.
  NextBt->SetEnabled(false);
}

std::string TMainForm::OwnFolder() const { return OwnProgramFolder(); }

void TMainForm::FormCreate() {
  // 1. Default drive: "D: " asks whether drive D is present and ready.
  LabelPF->SetCaption(DirectoryExists("D: ") ? "D:\\" : "C:\\");
  // 2-3. The record, through "tmp.cx" in the installer's folder; a record
  // that breaks its data model is refused here, before anything is written.
  ModuleResourceSource resources;
  LoadValidatedRecord(resources, base::NativeFileSystem(), OwnFolder(), SetupRec);
  // 4. Title.
  framework::Application().SetTitle(SetupRec.ProductName.Value() + texts::kWizardTitleSuffix);
  // 5. Keys.
  PublisherRegKey = "\\Software\\" + SetupRec.PublisherKey.Value();
  ProductRegKey = PublisherRegKey + "\\" + SetupRec.ShortName.Value();
  // 6. Earlier installation (silent on every failure).
  const EarlierInstallation earlier = ReadEarlierInstallation(ProductRegKey, true);
  PrevInstalled = earlier.installed;
  PrevFolder = earlier.folder;
  // 7. Target folder.
  SetupRec.InstallDir.Assign(InitialInstallDir(PrevFolder, DirectoryExists(PrevFolder),
                                               LabelPF->Caption(), SetupRec.ShortName.Value()));
  // A folder given with /D is the one proposed instead; the folder page
  // checks it as it checks what the user types.
  if (options_.folder)
    if (auto folder = FolderSwitchForWizard(*options_.folder)) SetupRec.InstallDir.Assign(*folder);
  // 8. Overwrite question, before the package is loaded.
  if (PrevInstalled && Ask(wt::kOverwriteQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    framework::Application().SetExitCode(kExitCancelled);
    framework::Application().Terminate();
    return;
  }
  // 9. Package and checksum.
  if (!LoadValidatedPackage(resources, SetupRec, PackStream) &&
      Ask(texts::kChecksumQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    framework::Application().SetExitCode(kExitRefused);
    framework::Application().Terminate();
    return;
  }
  package_ready_ = true;
  NextBt->SetEnabled(true);
  // 10. First page.
  SetActivePageIndex(0);
  // 11. Link colour.
  suiURLLabel1->SetFontLinkColor(0x808080);
}

int TMainForm::ActivePageIndex() const {
  for (int i = 0; i < PageCtl->PageCount(); ++i)
    if (PageCtl->Pages(i) == PageCtl->ActivePage()) return i;
  return -1;
}

void TMainForm::SetActivePageIndex(int index) {
  // Setting the page always runs its show handler, also when the page
  // control already has that page (as at start-up, with page 0).
  if (ActivePageIndex() == index) {
    framework::TTabSheet* page = PageCtl->Pages(index);
    if (page->OnShow) page->OnShow(page);
    return;
  }
  PageCtl->SetActivePageIndex(index);
}

void TMainForm::Sheet0Show(TComponent*) {
  const std::string product = SetupRec.ProductName.Value();
  Label8->SetVisible(false);
  Label12->SetVisible(false);
  gImage10->SetVisible(false);
  NameLb->SetCaption(product);
  VerLb->SetCaption(SetupRec.Version.Value());
  DateLb->SetCaption(ReleaseDateText(SetupRec.ReleaseDate.Value()));
  ClassLb->SetCaption(SetupRec.Category.Value());
  IntroLb->SetCaption(SetupRec.Description.Value());
  WebSiteLb->SetCaption(SetupRec.WebSite.Value());
  IntroLb->SetBounds(IntroLb->Left(), IntroLb->Top(), 245, 80);
  SetCaption(product + wt::kWizardCaptionSuffix);
  Label8->SetCaption(wt::kWelcomeHeader);
  Label12->SetCaption(std::string(wt::kWelcomeSubtitleBefore) + product +
                      wt::kWelcomeSubtitleAfter);
  gLabel5->SetCaption(Label12->Caption());
  PrevBt->SetVisible(false);
  framework::Application().SetTitle(product + texts::kWizardTitleSuffix);
  GLabel3->SetCaption(std::string(wt::kWelcomeTitleBefore) + product + texts::kWizardTitleSuffix);
}

void TMainForm::Sheet1Show(TComponent*) {
  gImage10->SetVisible(true);
  PrevBt->SetVisible(true);
  Label8->SetCaption(wt::kLicenceHeader);
  Label12->SetCaption(wt::kLicenceSubtitle);
}

void TMainForm::Sheet2Show(TComponent*) {
  FolderEd->SetText(SetupRec.InstallDir.Value());
  Label8->SetCaption(wt::kFolderHeader);
  Label12->SetCaption(wt::kFolderSubtitle);
}

void TMainForm::Sheet3Show(TComponent*) {
  FolderLb->SetCaption(SetupRec.InstallDir.Value());
  Label8->SetCaption(wt::kConfirmHeader);
  Label12->SetCaption(wt::kConfirmSubtitle);
  FolderLb->SetWidth(200);
}

void TMainForm::Sheet4Show(TComponent*) {
  PrevBt->SetVisible(false);
  NextBt->SetVisible(false);
  CancelBt->SetEnabled(false);
  Label8->SetCaption(wt::kCopyingHeader);
  Label12->SetCaption(wt::kCopyingSubtitle);
}

void TMainForm::Sheet5Show(TComponent*) {
  PrevBt->SetVisible(false);
  NextBt->SetVisible(false);
  Label8->SetCaption(wt::kDoneHeader);
  CancelBt->SetEnabled(true);
  CancelBt->SetCaption(wt::kFinishCaption);
  Label12->SetCaption(wt::kDoneSubtitle);
  if (!FailedFiles.empty()) {
    // Files are missing: the page says so instead of calling it complete.
    Label8->SetCaption(texts::kIncompleteHeader);
    Label12->SetCaption(
        base::FormatText(texts::kIncompleteSubtitle, {std::to_string(FailedFiles.size())}));
    // Nor does it offer to start programs that are not there.
    const std::vector<std::string> programs = LaunchTargets(SetupRec);
    if (!programs.empty() && std::none_of(programs.begin(), programs.end(), [](const auto& p) {
          return base::NativeFileSystem().FileExists(p);
        })) {
      CheckBoxG->SetChecked(false);
      CheckBoxG->SetEnabled(false);
    }
  }
  Label6->SetCaption(wt::kDoneHint);
  CheckBoxG->SetCaption(std::string(wt::kLaunchBefore) + SetupRec.ProductName.Value());
}

void TMainForm::NextBtClick(TComponent*) {
  Label8->SetVisible(true);
  Label12->SetVisible(true);
  Button1Click(nullptr);
  Button2Click(nullptr);
  AgreeBt->SetVisible(true);
  switch (ActivePageIndex()) {
    case 0:
      SetActivePageIndex(1);
      break;
    case 1:
      SetActivePageIndex(2);
      break;
    case 2:
      ValidateFolderAndGoOn();
      break;
    case 3:
      Install();
      break;
    default:
      break;
  }
}

void TMainForm::ValidateFolderAndGoOn() {
  std::string text;
  try {
    text = FolderBoxText(*FolderEd);
  } catch (const base::WideTextError& e) {
    AskWide(e.wide_text(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  FolderDecision d = ValidateTargetFolder(text, base::NativeFileSystem());
  FolderEd->SetText(d.folder);
  if (d.message) {
    Ask(d.message, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!d.accepted) return;
  SetupRec.InstallDir.Assign(d.folder);
  SetActivePageIndex(3);
}

void TMainForm::Install() {
  // Never from a package that start-up did not verify.
  if (!package_ready_ || !PackStream) return;
  SetActivePageIndex(4);
  PageCtl->Repaint();
  Panel1->Repaint();
  Label8->Repaint();
  RunInstallation();
  SetActivePageIndex(5);
}

void TMainForm::PrevBtClick(TComponent*) {
  AgreeBt->SetVisible(false);
  const int page = ActivePageIndex();
  if (page >= 1 && page <= 3) SetActivePageIndex(page - 1);
}

void TMainForm::suiButton4Click(TComponent*) {
  AgreeBt->SetVisible(false);
  AgreeBt->SetTop(-32);
  NextBtClick(AgreeBt);
}

void TMainForm::suiImageButton1Click(TComponent*) {
  std::string chosen;
  try {
    BrowseForFolder(0, wt::kBrowseTitle, chosen);
  } catch (const base::WideTextError& e) {
    AskWide(e.wide_text(), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (chosen.empty()) return;
  FolderEd->SetText(BrowsedFolderText(chosen, SetupRec.ShortName.Value()));
}

void TMainForm::ShowAuthorWebSite(TComponent*) {
  ShellExecuteW(nullptr, nullptr, base::GbkToWide(SetupRec.WebSite.Value()).c_str(), nullptr,
                nullptr, SW_SHOWNORMAL);
}

void TMainForm::CancelBtClick(TComponent*) {
  if (InstallBusy == 1) return;
  const int page = ActivePageIndex();
  if (page >= 0 && page <= 3) {
    if (Ask(wt::kCancelQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
      framework::Application().SetExitCode(kExitCancelled);
      EndProgram();
    }
    return;
  }
  if (page == 5) Finish();
}

void TMainForm::FormCloseQuery(TComponent*, bool& can_close) {
  if (InstallBusy == 1) return;
  if (ActivePageIndex() == 5) {
    can_close = false;
    return;
  }
  can_close = framework::ConfirmDialog(wt::kCancelQuestion);
  if (can_close) {
    framework::Application().SetExitCode(kExitCancelled);
    EndProgram();
  }
}

void TMainForm::EndProgram() { framework::Application().Terminate(); }

}  // namespace installer
