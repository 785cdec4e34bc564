#pragma once
// The command lines of the builder tools: "TOOL COMMAND [words]", where a
// word is a positional argument, an option followed by its value, or a
// flag. Mistakes throw UsageError, which the tools answer with their usage.
#include <algorithm>
#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tools {

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::vector<std::string> flags;

  // The words after argv[1] (the command). with_value names the options
  // that take a value, flag_names the flags; any other word starting with
  // '-' is a mistake.
  static Args Parse(int argc, char** argv, std::initializer_list<const char*> with_value,
                    std::initializer_list<const char*> flag_names) {
    Args a;
    for (int i = 2; i < argc; ++i) {
      const std::string w = argv[i];
      const auto is = [&](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(), [&](const char* n) { return w == n; });
      };
      if (is(with_value)) {
        if (i + 1 >= argc) throw UsageError(w + " needs a value");
        a.options[w] = argv[++i];
      } else if (is(flag_names)) {
        a.flags.push_back(w);
      } else if (w.starts_with("-")) {
        throw UsageError("unknown option " + w);
      } else {
        a.positional.push_back(w);
      }
    }
    return a;
  }
  std::optional<std::string> Get(const std::string& key) const {
    auto it = options.find(key);
    if (it == options.end()) return std::nullopt;
    return it->second;
  }
  std::string Require(const std::string& key) const {
    auto v = Get(key);
    if (!v) throw UsageError(key + " is required");
    return *v;
  }
  bool Has(const std::string& flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
  }
};

}  // namespace tools
