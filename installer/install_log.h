#pragma once
// The log of an installation (/LOG=<file>): one line per step, for the
// people who deploy a product to many machines and read afterwards what
// happened on each. The engine and the registry writer report through it;
// the Windows side writes the lines to a UTF-8 file as they come, so a run
// that is killed halfway still leaves the lines up to that point.
#include <string>

namespace installer {

class InstallLog {
public:
  virtual ~InstallLog() = default;
  // One line of GBK text, without its line end.
  virtual void Line(const std::string& text) = 0;
};

// Reports to log when there is one: the engine runs without a log too.
inline void LogLine(InstallLog* log, const std::string& text) {
  if (log) log->Line(text);
}

}  // namespace installer
