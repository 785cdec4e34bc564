#pragma once
// The log file of /LOG=<file>: the installation's lines in UTF-8 (with a
// byte order mark, so that every editor on Windows reads it as such), each
// written as it comes, so a run that is killed still leaves them.
#include <string>

#include "installer/install_log.h"

namespace installer {

class FileInstallLog final : public InstallLog {
public:
  // Creates or empties the file. Throws base::WideTextError naming it when
  // it cannot be created.
  explicit FileInstallLog(const std::wstring& path);
  ~FileInstallLog() override;
  FileInstallLog(const FileInstallLog&) = delete;
  FileInstallLog& operator=(const FileInstallLog&) = delete;

  void Line(const std::string& text) override;

private:
  void* file_;  // HANDLE
};

}  // namespace installer
