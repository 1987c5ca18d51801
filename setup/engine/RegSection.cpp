// The :reg section (engine step 16) with :DINK on its first group.
#include "setup/engine/RegText.h"
#include "setup/engine/Registry.h"

namespace setup {

void WriteRegistrySection(const SetupState& state, EngineState& engine) {
  const LineList& lb = state.lbSetup;
  int k = lb.Find(":reg");
  if (k < 0) return;
  engine.UninstallList.Add(":reg");
  bool dink = lb.Has(":DINK");
  size_t i = size_t(k) + 1;
  do {
    const std::string& root = lb.At(i);
    std::string key = lb.At(i + 1);
    const std::string& name = lb.At(i + 2);
    std::string data = SubstituteRegData(lb.At(i + 3), state.DestDir, engine.MainProgram);
    if (dink) {
      // A key holding a non-empty "reg" value is one the user keeps.
      if (ReadRegString(root, key, "reg").empty()) DeleteRegKey(root, key);
      dink = false;
    }
    if (std::optional<KeyRedirect> r = ParseKeyRedirect(key))
      key = RedirectedKey(*r, ReadRegString(root, r->lookup, ""));
    WriteRegValue(root, key, name, data);
    engine.UninstallList.Add(root);
    engine.UninstallList.Add(key);
    engine.UninstallList.Add(name);
    engine.UninstallList.Add(data);
    i += 4;
  } while (!IsTerminator(lb.At(i)));
  engine.UninstallList.Add(":");
}

}  // namespace setup
