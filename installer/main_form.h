#pragma once
// TMainForm: the installer's wizard window. Its controls come from the
// stored layout "TMAINFORM" (resources/wizard/main_form.layout); this class
// holds the record, the package and the registry keys, runs start-up
// (FormCreate), the six pages and their buttons, the installation and the
// finish actions.
#include <memory>
#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "framework/controls/form.h"
#include "installer/command_line.h"
#include "installer/setup_record.h"

namespace framework {
class TCheckBox;
class TEdit;
class TImage;
class TLabel;
class TPageControl;
class TPanel;
class TProgressBar;
}  // namespace framework
namespace skin {
class TsuiButton;
class TsuiImageButton;
class TsuiURLLabel;
}  // namespace skin

namespace installer {

class TMainForm : public framework::TForm {
public:
  // options: the command line's /D (the folder the wizard proposes) and
  // /LOG (the installation's log); /S never reaches the wizard.
  explicit TMainForm(framework::TComponent* owner, SetupOptions options = {});
  ~TMainForm() override;

  const framework::TClassInfo& ClassInfo() const override;
  static const framework::TClassInfo& StaticClassInfo();
  std::optional<framework::TMethod> FindMethod(const std::string& name) override;

  // State the pages and the tests look at.
  TSetupRecord SetupRec{};
  std::unique_ptr<base::MemoryStream> PackStream;
  std::string PublisherRegKey;
  std::string ProductRegKey;
  bool PrevInstalled = false;
  std::string PrevFolder;
  std::uint8_t InstallBusy = 0;
  // What the last installation could not write (see InstallationState).
  std::vector<std::string> FailedFiles;
  // Start-up verified the package (or the user accepted a mismatch); until
  // then the wizard offers no way forward, so nothing can be installed from
  // a package that was never checked.
  bool PackageReady() const { return package_ready_; }

  int ActivePageIndex() const;
  void SetActivePageIndex(int index);

  // Event handlers, named as the layout binds them.
  void FormCreate();
  void FormCloseQuery(framework::TComponent* sender, bool& can_close);
  void Sheet0Show(framework::TComponent* sender);
  void Sheet1Show(framework::TComponent* sender);
  void Sheet2Show(framework::TComponent* sender);
  void Sheet3Show(framework::TComponent* sender);
  void Sheet4Show(framework::TComponent* sender);
  void Sheet5Show(framework::TComponent* sender);
  void NextBtClick(framework::TComponent* sender);
  void PrevBtClick(framework::TComponent* sender);
  void CancelBtClick(framework::TComponent* sender);
  void suiButton4Click(framework::TComponent* sender);
  void suiImageButton1Click(framework::TComponent* sender);
  void ShowAuthorWebSite(framework::TComponent* sender);
  void Button1Click(framework::TComponent* sender);
  void Button2Click(framework::TComponent* sender);
  void BPingClick(framework::TComponent* sender);

  void RunInstallation();

private:
  void BindControls();
  void ValidateFolderAndGoOn();
  void Install();
  void Finish();
  // Ends the program without the close query.
  void EndProgram();
  std::string OwnFolder() const;

  bool package_ready_ = false;
  const SetupOptions options_;

  // The layout's controls (owned by the form, as components).
  framework::TLabel *Label8 = nullptr, *Label12 = nullptr, *GLabel3 = nullptr,
                    *gLabel5 = nullptr, *NameLb = nullptr, *ClassLb = nullptr,
                    *IntroLb = nullptr, *WebSiteLb = nullptr, *LabelPF = nullptr,
                    *FolderLb = nullptr, *FNameLb = nullptr, *WorkLb = nullptr,
                    *Label6 = nullptr, *VerLb = nullptr, *DateLb = nullptr;
  framework::TImage* gImage10 = nullptr;
  framework::TPageControl* PageCtl = nullptr;
  framework::TPanel* Panel1 = nullptr;
  framework::TEdit* FolderEd = nullptr;
  framework::TProgressBar* CopyProgress = nullptr;
  framework::TCheckBox *StartProgramCb = nullptr, *CheckBoxG = nullptr;
  skin::TsuiButton *PrevBt = nullptr, *NextBt = nullptr, *CancelBt = nullptr,
                   *AgreeBt = nullptr;
  skin::TsuiURLLabel* suiURLLabel1 = nullptr;
};

}  // namespace installer
