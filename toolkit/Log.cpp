#include "toolkit/Log.h"

#include <windows.h>

namespace kw {

namespace {
HANDLE logFile = INVALID_HANDLE_VALUE;
}  // namespace

bool OpenLog(const std::string& path) {
  CloseLog();
  logFile = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return logFile != INVALID_HANDLE_VALUE;
}

void Log(std::initializer_list<std::string_view> parts) {
  if (logFile == INVALID_HANDLE_VALUE) return;
  std::string line;
  for (std::string_view part : parts) {
    for (char c : part) {
      if (c != '\r' && c != '\n')
        line += c;
      else if (!line.empty() && line.back() != ' ')
        line += ' ';
    }
  }
  line += "\r\n";
  DWORD written;
  WriteFile(logFile, line.data(), DWORD(line.size()), &written, nullptr);
}

void CloseLog() {
  if (logFile != INVALID_HANDLE_VALUE) CloseHandle(logFile);
  logFile = INVALID_HANDLE_VALUE;
}

}  // namespace kw
