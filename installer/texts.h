#pragma once
// The installer's own texts, as the GBK bytes it shows. They are written in
// texts.cpp.in as UTF-8 and turned into GBK when it is built.
namespace installer::texts {

// Caption of every message box the installer shows (with its leading space).
extern const char kMessageCaption[];
// Appended to the product's name for the window title.
extern const char kWizardTitleSuffix[];
// The question when the package checksum does not match.
extern const char kChecksumQuestion[];

}  // namespace installer::texts
