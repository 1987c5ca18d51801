// Reads arbitrary bytes as an uninstall list; a list that passes the checks is
// removed from a system where everything it names exists and goes away, and
// the bytes also serve as a WININIT.INI to add a deletion to.
#include <cstdint>

#include "qfunin/Removal.h"
#include "qfunin/UninList.h"
#include "qfunin/WininitText.h"

namespace {

using namespace qfunin;

// Every file and folder exists once; removing empties it. Folders nest as
// deep as the input's first byte says: mostly a few levels, at times past the
// removal's own depth limit.
class Host : public RemovalHost {
 public:
  explicit Host(int depth) : depth_(depth) {}
  void Progress(int percent, const std::string&) override {
    if (percent < 0 || percent > 100) __builtin_trap();
  }
  SharedAnswer AskShared(const std::string& path) override {
    return SharedAnswer(path.size() % 4);
  }
  bool FileExists(const std::string&) override { return true; }
  Deleted RemoveFile(const std::string& path) override { return Deleted(path.size() % 4); }
  bool DeleteAtRestart(const std::string& path) override { return path.size() % 2; }
  bool IsSelf(const std::string&) override { return false; }
  bool FolderExists(const std::string&) override { return true; }
  std::vector<FolderEntry> ListFolder(const std::string& path) override {
    int level = 0;
    for (size_t at = path.find("\\sub"); at != std::string::npos; at = path.find("\\sub", at + 1)) ++level;
    if (level >= depth_) return {};
    return {{"sub", true}};
  }
  bool RemoveFolder(const std::string&) override { return false; }
  bool DeleteRegValue(const std::string&, const std::string&, const std::string&) override {
    return true;
  }
  bool DeleteRegKeyIfEmpty(const std::string&, const std::string&) override { return true; }
  void DeleteUninstallEntry(const std::string&) override {}

 private:
  int depth_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  AddWininitDelete(bytes, "C:\\PROGRA~1\\X.EXE");
  ListPathArgument(bytes);
  UninList list;
  if (!ParseUninList(bytes, list).empty()) return 0;
  Places places{"C:\\WINDOWS", "C:\\WINDOWS\\System", "C:\\WINDOWS\\SYSTEM32",
                "C:\\WINDOWS\\Start Menu\\Programs", "C:\\Program Files"};
  if (!CheckUninList(list, places).empty()) return 0;
  Host host(size == 0 ? 0 : data[0] >= 0xC0 ? 40 : data[0] % 4);
  Outcome o = Removal(list, places, list.destDir + "\\unin.ini", host).Run();
  ClosingText(list.programName, o);
  return 0;
}
