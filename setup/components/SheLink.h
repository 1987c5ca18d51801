// TShellLink: the settings of one shortcut file (.lnk or .pif), read and written
// through the shell's link object. Windows only (library setup_shelink). Every
// operation makes its own link object and fails silently; COM must be
// initialised on the calling thread by the owner.
#pragma once
#include <cstdint>
#include <string>

namespace setup {

class TShellLink {
 public:
  // Published settings, written directly by the owner.
  std::string Target;
  std::string WorkingDir;
  std::string Description;
  std::string Arguments;
  std::string IconLocation;
  uint16_t IconNumber = 0;
  uint16_t ShowCmd = 0;
  uint16_t HotKey = 0;

  const std::string& Path() const { return FPath; }
  // Reads the file; Path takes the value only when the whole read succeeds.
  void SetPath(const std::string& value) { ReadLink(value); }
  bool Update() const { return FUpdate; }
  // Reads the file named by Path again; Update is true afterwards, whatever value.
  void SetUpdate(bool value);

  void ReadLink(const std::string& fileName);
  void WriteLink(const std::string& fileName);
  // A minimal link pointing at target, saved under exactly fileName.
  void MakeLink(const std::string& fileName, const std::string& target);

 private:
  bool FUpdate = false;
  std::string FPath;
};

}  // namespace setup
