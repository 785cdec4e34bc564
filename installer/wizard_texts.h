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

}  // namespace installer::wizard_texts
