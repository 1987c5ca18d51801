// Order, texts and the keep-what-was-not-loaded rule of the splitter settings,
// against a store and a window that record what happens to them.
#include "kerfwise/settings/SettingsModel.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

using namespace kerfwise;

namespace {

struct FakeStore : SettingsStore {
  std::map<std::string, std::string> values;
  std::vector<std::string> log;  // "r:name" and "w:name=text" in call order
  std::string Read(const char* name) override {
    log.push_back(std::string("r:") + name);
    auto it = values.find(name);
    return it == values.end() ? "" : it->second;
  }
  void Write(const char* name, const std::string& text) override {
    log.push_back(std::string("w:") + name + "=" + text);
    values[name] = text;
  }
};

// Starts in the window's initial state.
struct FakeWindow : SettingsTarget {
  std::string help, folder = "C:\\start", drive = "A:", slicePath = "C:\\", size = "1.44";
  bool right = true, delFile = false, delCat = false;
  int option = 1;
  std::vector<std::string> calls;
  std::string missingFolder;  // ChangeFolder to this throws
  std::string brokenSlicePath;  // SetSlicePath to this throws: a load cut short

  void SetHelpFolder(const std::string& f) override { help = f; }
  void ClearRightClick() override {
    calls.push_back("clear-right");
    right = false;
  }
  void ChangeFolder(const std::string& f) override {
    calls.push_back("chdir " + f);
    if (f == missingFolder) throw kw::Error("File not found");
    folder = f;
  }
  void FolderRefused(const std::string& message) override { calls.push_back("refused " + message); }
  std::string WorkingFolder() override { return folder; }
  void SelectDestination(int o) override {
    calls.push_back("select " + std::to_string(o));
    option = o;
  }
  int SelectedDestination() override { return option; }
  void SetDriveText(const std::string& t) override { drive = t; }
  std::string DriveText() override { return drive; }
  void SetSlicePath(const std::string& t) override {
    if (!brokenSlicePath.empty() && t == brokenSlicePath) throw kw::Error("broken");
    slicePath = t;
  }
  std::string SlicePath() override { return slicePath; }
  void SetDeleteSource(bool on) override { delFile = on; }
  bool DeleteSource() override { return delFile; }
  void SetDeleteAfterJoin(bool on) override { delCat = on; }
  bool DeleteAfterJoin() override { return delCat; }
  void SetSizeText(const std::string& t) override { size = t; }
  std::string SizeText() override { return size; }
};

std::vector<std::string> Writes(const FakeStore& s) {
  std::vector<std::string> w;
  for (const auto& e : s.log)
    if (e.rfind("w:", 0) == 0) w.push_back(e);
  return w;
}

}  // namespace

TEST(SettingsModel, FirstStartWithoutValues) {
  FakeStore store;
  FakeWindow win;
  SettingsSession s;
  s.Load(store, win, "C:\\WINDOWS");
  EXPECT_EQ(store.log, (std::vector<std::string>{"r:runpath", "r:right", "r:path", "r:cdir", "r:fdir",
                                                 "r:fdirp", "r:tdir", "r:tdirp", "r:delfile",
                                                 "r:delcat", "r:format"}));
  EXPECT_EQ(win.help, "C:\\WINDOWS");
  EXPECT_TRUE(win.right);
  EXPECT_TRUE(win.calls.empty()) << "no folder change, no selection, no right-click change";
  EXPECT_EQ(win.option, 1);
  EXPECT_EQ(win.drive, "") << "the drive and slice path boxes take even an empty value";
  EXPECT_EQ(win.slicePath, "");
  EXPECT_EQ(win.size, "1.44") << "an empty format keeps the box";
}

TEST(SettingsModel, StoredValuesAppliedCaseSensitively) {
  FakeStore store;
  store.values = {{"runpath", "D:\\HELP"}, {"right", "false"}, {"path", "D:\\WORK"},
                  {"cdir", "true"},        {"fdir", "true"},   {"fdirp", "B:"},
                  {"tdir", "TRUE"},        {"tdirp", "E:\\OUT"}, {"delfile", "True"},
                  {"delcat", "true"},      {"format", "@1000000"}};
  FakeWindow win;
  SettingsSession s;
  s.Load(store, win, "C:\\WINDOWS");
  EXPECT_EQ(win.help, "D:\\HELP");
  EXPECT_EQ(win.calls, (std::vector<std::string>{"clear-right", "chdir D:\\WORK", "select 1",
                                                 "select 2"}))
      << "right before path; the last true option wins; TRUE is not true";
  EXPECT_EQ(win.option, 2);
  EXPECT_EQ(win.drive, "B:");
  EXPECT_EQ(win.slicePath, "E:\\OUT");
  EXPECT_FALSE(win.delFile);
  EXPECT_TRUE(win.delCat);
  EXPECT_EQ(win.size, "@1000000");

  FakeStore other;
  FakeWindow plain;
  other.values["right"] = "False";
  SettingsSession().Load(other, plain, "C:\\WINDOWS");
  EXPECT_TRUE(plain.right) << "only the exact text false clears the box";
}

TEST(SettingsModel, SaveWritesEveryValueInOrder) {
  FakeStore store;
  FakeWindow win;
  SettingsSession s;
  s.Load(store, win, "C:\\WINDOWS");
  win.option = 3;
  win.folder = "C:\\DOCS";
  win.delFile = true;
  win.size = "2.88";
  store.log.clear();
  s.Save(store, win);
  EXPECT_EQ(Writes(store),
            (std::vector<std::string>{"w:path=C:\\DOCS", "w:format=2.88", "w:cdir=false",
                                      "w:fdir=false", "w:fdirp=", "w:tdir=true", "w:tdirp=",
                                      "w:delfile=true", "w:delcat=false"}));
}

TEST(SettingsModel, MissingWorkingFolderIsReportedAndReplacedAtClose) {
  FakeStore store;
  store.values = {{"path", "D:\\GONE"}, {"tdir", "true"}, {"tdirp", "E:\\OUT"}, {"format", "2.00"}};
  FakeWindow win;
  win.missingFolder = "D:\\GONE";
  SettingsSession s;
  s.Load(store, win, "C:\\WINDOWS");
  EXPECT_EQ(win.calls, (std::vector<std::string>{"chdir D:\\GONE", "refused File not found", "select 3"}))
      << "the error is shown and the later values still apply";
  EXPECT_EQ(win.slicePath, "E:\\OUT");
  EXPECT_EQ(win.size, "2.00");
  s.Save(store, win);
  EXPECT_EQ(store.values["path"], "C:\\start") << "the folder in use replaces the stale one";
  EXPECT_EQ(store.values["tdir"], "true");
}

TEST(SettingsModel, LoadCutShortKeepsWhatWasNotLoaded) {
  FakeStore store;
  store.values = {{"path", "D:\\WORK"}, {"tdir", "true"},   {"tdirp", "E:\\OUT"}, {"fdirp", "B:"},
                  {"delcat", "true"},   {"format", "2.00"}, {"cdir", "false"},    {"fdir", "false"},
                  {"delfile", "false"}};
  FakeWindow win;
  win.brokenSlicePath = "E:\\OUT";
  SettingsSession s;
  EXPECT_THROW(s.Load(store, win, "C:\\WINDOWS"), kw::Error);
  EXPECT_EQ(win.slicePath, "C:\\");
  EXPECT_FALSE(win.delCat) << "later values keep the window defaults";
  EXPECT_EQ(store.log.back(), "r:tdirp") << "nothing read after the failure";

  // The user changes only the size, then closes.
  win.size = "0.75";
  auto before = store.values;
  store.log.clear();
  s.Save(store, win);
  EXPECT_EQ(Writes(store), (std::vector<std::string>{"w:path=D:\\WORK", "w:format=0.75", "w:cdir=false",
                                                     "w:fdir=false", "w:fdirp=B:", "w:tdir=true"}));
  before["format"] = "0.75";
  EXPECT_EQ(store.values, before);
}

TEST(SettingsModel, SaveWithoutLoadWritesNothing) {
  FakeStore store;
  FakeWindow win;
  SettingsSession().Save(store, win);
  EXPECT_TRUE(store.log.empty());
}
