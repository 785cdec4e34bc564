// TMainForm's work behind Next on the confirmation page and Finish: the
// installation through the engine, with the copying page as its view, and
// the finish actions.
#include <memory>

#include "base/file_system.h"
#include "base/system_path_win.h"
#include "base/text_codec.h"
#include "framework/controls/application.h"
#include "framework/controls/check_box.h"
#include "framework/controls/edit.h"
#include "framework/controls/label.h"
#include "framework/controls/progress_bar.h"
#include "installer/finish_actions.h"
#include "installer/exit_codes.h"
#include "installer/finish_actions_win.h"
#include "installer/install_log_win.h"
#include "installer/installation.h"
#include "installer/main_form.h"
#include "installer/module_resources_win.h"
#include "installer/registry_win.h"
#include "installer/shell_shortcuts_win.h"
#include "installer/texts.h"

#include "base/win_api.h"

namespace installer {

namespace {

// The copying page as the engine sees it. Labels are drawn at once when
// asked, since the message loop does not run during the installation.
class CopyPageView final : public InstallView {
public:
  CopyPageView(framework::TLabel& step, framework::TLabel& file, framework::TLabel& header8,
               framework::TLabel& header12, framework::TProgressBar& progress)
      : step_(step), file_(file), header8_(header8), header12_(header12), progress_(progress) {}

  void SetLabelText(Label label, const std::string& text) override { Of(label).SetCaption(text); }
  void SetLabelWidth(Label label, int pixels) override { Of(label).SetWidth(pixels); }
  void HideLabel(Label label) override { Of(label).SetVisible(false); }
  void RepaintLabel(Label label) override { Of(label).Repaint(); }
  void SetProgressColour(std::uint32_t colour) override {
    progress_.SetBarColor(colour);
    progress_.SetBackgroundColor(colour);
  }
  void SetProgressPosition(int position) override {
    progress_.SetPosition(position);
    progress_.Repaint();
  }
  void ShowFileError(const std::string& message) override {
    MessageBoxW(GetActiveWindow(), base::GbkToWide(message).c_str(),
                base::GbkToWide(texts::kMessageCaption).c_str(), MB_OK | MB_ICONINFORMATION);
  }

private:
  framework::TLabel& Of(Label label) {
    switch (label) {
      case Label::kStep: return step_;
      case Label::kFileName: return file_;
      case Label::kHeader8: return header8_;
      case Label::kHeader12: return header12_;
    }
    return step_;
  }
  framework::TLabel &step_, &file_, &header8_, &header12_;
  framework::TProgressBar& progress_;
};

}  // namespace

void TMainForm::RunInstallation() {
  CopyPageView view(*WorkLb, *FNameLb, *Label8, *Label12, *CopyProgress);
  ModuleResourceSource resources;
  std::unique_ptr<FileInstallLog> log;
  if (options_.log) {
    try {
      log = std::make_unique<FileInstallLog>(*options_.log);
    } catch (const base::WideTextError& e) {
      // The installation is what the user came for; the log is extra.
      MessageBoxW(GetActiveWindow(), e.wide_text().c_str(),
                  base::GbkToWide(texts::kMessageCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
  }
  InstallationContext context{SetupRec,
                              *PackStream,
                              resources,
                              PublisherRegKey,
                              ProductRegKey,
                              base::NativeFileSystem(),
                              WindowsRegistry(),
                              ShellShortcutMaker(),
                              view,
                              log.get()};
  InstallationState state;
  // The flag is the form's: the close query and Cancel read it while the
  // engine works, and an unguarded failure leaves it set.
  struct BusyMirror {
    InstallationState& state;
    TMainForm& form;
    ~BusyMirror() {
      form.InstallBusy = state.InstallBusy;
      form.FailedFiles = state.FailedFiles;
      // Stopped halfway: whatever follows, the product is not whole.
      if (state.InstallBusy == 1) framework::Application().SetExitCode(kExitDoneWithErrors);
    }
  } mirror{state, *this};
  InstallBusy = 1;
  installer::RunInstallation(context, state);
}

void TMainForm::Button1Click(framework::TComponent*) { StopProcessesNamed(kProductProgramName); }

void TMainForm::Button2Click(framework::TComponent*) { StopProcessesNamed(kUpdaterProgramName); }

void TMainForm::BPingClick(framework::TComponent*) {
  OpenTutorialPage(TutorialSite(SetupRec.WebSite.Value()), SetupRec.ProductName.Value());
}

void TMainForm::Finish() {
  if (!FailedFiles.empty()) framework::Application().SetExitCode(kExitDoneWithErrors);
  if (StartProgramCb->Checked()) BPingClick(nullptr);
  if (CheckBoxG->Checked()) {
    LaunchPrograms(SetupRec, OwnFolder(), Handle());
  } else {
    OpenInstallFolder(FolderEd->Text());
  }
  EndProgram();
}

}  // namespace installer
