#pragma once
// Forms from stored layouts. A form's layout is a resource of the program
// (RCDATA named like the form's class, upper-cased: "TMAINFORM"): a layout
// in the layout format (docs/layout-format.md), compiled and packed by the
// build (framework/core/stored_layout.h). Pictures it names
// with resource("NAME") are RCDATA (JPEG or BMP file bytes) or BITMAP
// resources of the program.
#include <string>

#include "framework/controls/form.h"
#include "framework/core/layout_loader.h"

namespace framework {

// The context that makes layouts build real controls: parents are set as
// control parents, pictures come from the program's resources as
// graphics::TBitmap values.
TLayoutContext ControlLayoutContext();

// Loads the layout resource of that name into form (see LoadLayout for the
// order of events and the errors). A missing resource throws
// "Resource NAME not found", one that is not compiled "Resource NAME is not
// a compiled layout".
void LoadFormLayout(TCustomForm& form, const std::string& resource_name);

// The picture resource of that name, decoded; throws base::Error when there
// is none or it is no picture.
graphics::TBitmap LoadPictureResource(const std::string& name);

}  // namespace framework
