#include "kerfwise/settings/SettingsModel.h"

#include <cstring>
#include <exception>

namespace kerfwise {

const std::vector<const char*>& ReadOrder() {
  static const std::vector<const char*> order = {"runpath", "right", "path",  "cdir",
                                                 "fdir",    "fdirp", "tdir",  "tdirp",
                                                 "delfile", "delcat", "format"};
  return order;
}

const std::vector<const char*>& WriteOrder() {
  static const std::vector<const char*> order = {"path", "format", "cdir",    "fdir",  "fdirp",
                                                 "tdir", "tdirp",  "delfile", "delcat"};
  return order;
}

namespace {

size_t ReadIndex(const char* name) {
  const auto& order = ReadOrder();
  for (size_t i = 0; i < order.size(); ++i)
    if (std::strcmp(order[i], name) == 0) return i;
  return order.size();
}

void Apply(const char* name, const std::string& v, SettingsTarget& t, const std::string& windowsFolder) {
  std::string n = name;
  if (n == "runpath") {
    t.SetHelpFolder(v.empty() ? windowsFolder : v);
  } else if (n == "right") {
    if (v == "false") t.ClearRightClick();
  } else if (n == "path") {
    if (v.empty()) return;
    try {
      t.ChangeFolder(v);
    } catch (const std::exception& e) {
      t.FolderRefused(e.what());
    }
  } else if (n == "cdir" || n == "fdir" || n == "tdir") {
    if (IsTrue(v)) t.SelectDestination(n == "cdir" ? 1 : n == "fdir" ? 2 : 3);
  } else if (n == "fdirp") {
    t.SetDriveText(v);
  } else if (n == "tdirp") {
    t.SetSlicePath(v);
  } else if (n == "delfile") {
    t.SetDeleteSource(IsTrue(v));
  } else if (n == "delcat") {
    t.SetDeleteAfterJoin(IsTrue(v));
  } else if (n == "format") {
    if (!v.empty()) t.SetSizeText(v);
  }
}

}  // namespace

void SettingsSession::Load(SettingsStore& store, SettingsTarget& target, const std::string& windowsFolder) {
  loaded_ = true;
  applied_ = 0;
  try {
    for (const char* name : ReadOrder()) {
      Apply(name, store.Read(name), target, windowsFolder);
      ++applied_;
    }
  } catch (...) {
    atLoad_ = Collect(target);
    throw;
  }
  atLoad_ = Collect(target);
}

std::vector<std::string> SettingsSession::Collect(SettingsTarget& t) {
  std::vector<std::string> texts;
  for (const char* name : WriteOrder()) {
    std::string n = name;
    if (n == "path") texts.push_back(t.WorkingFolder());
    else if (n == "format") texts.push_back(t.SizeText());
    else if (n == "cdir") texts.push_back(BoolText(t.SelectedDestination() == 1));
    else if (n == "fdir") texts.push_back(BoolText(t.SelectedDestination() == 2));
    else if (n == "fdirp") texts.push_back(t.DriveText());
    else if (n == "tdir") texts.push_back(BoolText(t.SelectedDestination() == 3));
    else if (n == "tdirp") texts.push_back(t.SlicePath());
    else if (n == "delfile") texts.push_back(BoolText(t.DeleteSource()));
    else texts.push_back(BoolText(t.DeleteAfterJoin()));
  }
  return texts;
}

void SettingsSession::Save(SettingsStore& store, SettingsTarget& target) const {
  if (!loaded_) return;  // nothing was read, so nothing the window holds is the user's
  std::vector<std::string> now = Collect(target);
  const auto& order = WriteOrder();
  for (size_t i = 0; i < order.size(); ++i) {
    bool applied = ReadIndex(order[i]) < applied_;
    if (!applied && i < atLoad_.size() && now[i] == atLoad_[i]) continue;
    store.Write(order[i], now[i]);
  }
}

}  // namespace kerfwise
