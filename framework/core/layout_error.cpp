// Apart from the parser: the loader reports errors at layout positions in
// programs that read compiled layouts and link no parser.
#include <string>

#include "framework/core/layout_parser.h"

namespace framework {

std::string PositionText(TLayoutPosition p) {
  return "line " + std::to_string(p.line) + ", column " + std::to_string(p.column);
}

TLayoutError::TLayoutError(TLayoutPosition position, const std::string& detail)
    : base::Error(PositionText(position) + ": " + detail), position_(position), detail_(detail) {}

}  // namespace framework
