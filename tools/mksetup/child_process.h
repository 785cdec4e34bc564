#pragma once
// Running another program from the builder and hearing what it said: the signing step hands the
// written installer to osslsigncode and passes its messages on when it fails.
#include <string>
#include <vector>

namespace mksetup {

struct ProcessOutcome {
  int exit_code = 0;   // 128 + the signal's number when a signal ended it
  std::string output;  // standard output and standard error, interleaved as written
};

// Runs argv[0], looked up in PATH, with the arguments as they are (no shell) and waits for it.
// Throws base::Error when the program cannot be started at all, naming it.
ProcessOutcome RunProcess(const std::vector<std::string>& argv);

}  // namespace mksetup
