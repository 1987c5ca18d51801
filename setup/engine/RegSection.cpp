// The :reg section (engine step 16) with :DINK on its first group.
#include "setup/engine/RegSection.h"

#include "setup/engine/RegText.h"
#include "setup/engine/Registry.h"
#include "toolkit/Log.h"

namespace setup {

void WriteRegistrySection(const SetupState& state, EngineState& engine) {
  const LineList& lb = state.lbSetup;
  int k = lb.Find(section::kReg);
  if (k < 0) return;
  engine.UninstallList.Add(section::kReg);
  bool dink = lb.Has(section::kDink);
  lb.ForEachGroup(k, 4, [&](std::span<const std::string> group) {
    const std::string& root = group[0];
    std::string key = group[1];
    const std::string& name = group[2];
    std::string data = SubstituteRegData(group[3], state.DestDir, engine.MainProgram);
    if (dink) {
      // A key holding a non-empty "reg" value is one the user keeps.
      if (ReadRegString(root, key, "reg").empty()) DeleteRegKey(root, key);
      dink = false;
    }
    if (std::optional<KeyRedirect> r = ParseKeyRedirect(key))
      key = RedirectedKey(*r, ReadRegString(root, r->lookup, ""));
    engine.SaveListAhead({root, key, name, data});
    WriteRegValue(root, key, name, data);
    kw::Log({"Registry value ", root, "\\", key, "\\", name, " = ", data});
    engine.UninstallList.Add(root);
    engine.UninstallList.Add(key);
    engine.UninstallList.Add(name);
    engine.UninstallList.Add(data);
  });
  engine.UninstallList.Add(section::kEnd);
}

}  // namespace setup
