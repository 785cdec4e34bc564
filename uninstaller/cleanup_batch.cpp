#include "uninstaller/cleanup_batch.h"

namespace uninstaller {
namespace {

std::string Narrow(std::wstring_view ascii) { return std::string(ascii.begin(), ascii.end()); }

}  // namespace

Expansion ExpansionFor(const std::vector<std::wstring_view>& values) {
  for (std::wstring_view v : values)
    if (v.find(L'!') != std::wstring_view::npos) return Expansion::kImmediate;
  return Expansion::kDelayed;
}

std::string CleanupBatchText(Expansion expansion, int attempts) {
  const bool delayed = expansion == Expansion::kDelayed;
  const char mark = delayed ? '!' : '%';
  auto var = [&](std::wstring_view name) {
    std::string quoted = "\"";
    quoted += mark;
    quoted += Narrow(name);
    quoted += mark;
    quoted += '"';
    return quoted;
  };
  const std::string uninstaller = var(kUninstallerVariable);
  const std::string tries = delayed ? "!tries!" : "%tries%";
  std::string text = "@echo off\r\n";
  if (delayed) text += "setlocal EnableDelayedExpansion\r\n";
  text += "set /a tries=0\r\n";
  text += ":retry\r\n";
  text += "del /f /q " + uninstaller + " >nul 2>&1\r\n";
  text += "if not exist " + uninstaller + " goto removed\r\n";
  text += "set /a tries+=1\r\n";
  text += "if " + tries + " geq " + std::to_string(attempts) + " goto removed\r\n";
  text += "ping -n 2 127.0.0.1 >nul\r\n";
  text += "goto retry\r\n";
  text += ":removed\r\n";
  text += "rmdir " + var(kInstallFolderVariable) + " >nul 2>&1\r\n";
  text += "del /f /q " + var(kCleanupBatchVariable) + " >nul 2>&1\r\n";
  return text;
}

}  // namespace uninstaller
