#include "setup/engine/UninstallText.h"
#include "toolkit/Error.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "toolkit/PathText.h"

namespace setup {

std::string SavedListPath(std::string_view path, std::string_view destDir) {
  if (kw::LowerAscii(path).find(".ini") != std::string::npos) return std::string(path);
  return kw::StripBackslash(destDir) + "\\unin.ini";
}

std::string UninstallListPath(std::string_view location, std::string_view destDir,
                              std::string_view windowsFolder) {
  std::string path = location == "r"
                         ? kw::StripBackslash(destDir) + "\\unin.ini"
                         : std::string(windowsFolder) + "\\" + std::string(location);
  return SavedListPath(path, destDir);
}

std::string UninstallCommand(std::string_view windowsFolder, std::string_view program,
                             std::string_view listPath) {
  return std::string(windowsFolder) + "\\" + std::string(program) + " \"" +
         std::string(listPath) + "\"";
}

void WriteListFile(const std::string& path, const std::vector<std::string>& lines) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) throw kw::Error("Cannot create file " + path);
  bool ok = true;
  for (const std::string& line : lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), f.get()) == line.size();
    ok = ok && std::fwrite("\r\n", 1, 2, f.get()) == 2;
  }
  ok = std::fclose(f.release()) == 0 && ok;
  if (!ok) throw kw::Error("Cannot write file " + path);
}

}  // namespace setup
