#pragma once
// Reading and replacing the resources of Windows executables on any platform: what the setup
// builder needs to put its payload into a prebuilt installer stub.
#include "tools/pe/pe_image.h"         // IWYU pragma: export
#include "tools/pe/resource_id.h"      // IWYU pragma: export
#include "tools/pe/resource_tree.h"    // IWYU pragma: export
#include "tools/pe/resource_writer.h"  // IWYU pragma: export
