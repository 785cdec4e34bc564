#pragma once
// The benchmark process's own memory, as Linux reports it: the peak goals
// are read from /proc/self/status (VmHWM), after resetting the peak.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace bench {

// A "Vm...:" field of /proc/self/status in KB; -1 when it is not there.
inline long ProcStatusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
  return -1;
}

// Resets the peak resident size (Linux 4.0 and later); false when it could
// not be reset, and the peak then includes everything before.
inline bool ResetPeak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
  return static_cast<bool>(out);
}

}  // namespace bench
