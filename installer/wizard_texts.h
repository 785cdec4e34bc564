#pragma once
// The wizard window's own texts, as the GBK bytes it shows (written as
// UTF-8 in wizard_texts.cpp.in and turned into GBK when it is built).
namespace installer::wizard_texts {

// Target-folder validation.
extern const char kChooseFolder[];
extern const char kFullPathNeeded[];
extern const char kNotDriveRoot[];
extern const char kCannotCreateFolder[];
// Cancel and the close query.
extern const char kCancelQuestion[];
// Start-up.
extern const char kOverwriteQuestion[];
extern const char kBrowseTitle[];
// Page texts.
extern const char kWelcomeHeader[];
extern const char kWelcomeSubtitleBefore[];
extern const char kWelcomeSubtitleAfter[];
extern const char kWizardCaptionSuffix[];
extern const char kWelcomeTitleBefore[];
extern const char kLicenceHeader[];
extern const char kLicenceSubtitle[];
extern const char kFolderHeader[];
extern const char kFolderSubtitle[];
extern const char kConfirmHeader[];
extern const char kConfirmSubtitle[];
extern const char kCopyingHeader[];
extern const char kCopyingSubtitle[];
extern const char kDoneHeader[];
extern const char kFinishCaption[];
extern const char kDoneSubtitle[];
extern const char kDoneHint[];
extern const char kLaunchBefore[];

}  // namespace installer::wizard_texts
