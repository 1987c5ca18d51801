// Shared by the slicing and joiner tests: a scratch folder in Windows path form
// (the native file layer reads backslashes as slashes), file helpers over the
// build's own file layer, and a recording host.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kerfwise/engine/Platform.h"
#include "kerfwise/engine/SliceHost.h"

namespace slicetest {

// A fresh empty folder, ending in a backslash.
std::string ScratchFolder();
void MakeFolder(const std::string& path);

// Bytes that differ at every offset of a slice set, by seed.
std::string Pattern(size_t size, unsigned seed = 1);
void Put(const std::string& path, const std::string& bytes);
std::string Get(const std::string& path);
bool Exists(const std::string& path);
void SystemDelete(const std::string& path);

// Records what the engine asks of its window.
struct Host : kerfwise::SliceHost {
  std::vector<std::string> calls;  // "started", "ended", "prompt:<text>", "error:<text>", "note:<text>", "close"
  std::vector<int> progress;
  int64_t pumps = 0;
  std::function<bool()> stop = [] { return false; };
  std::function<bool(const std::string&)> prompt = [](const std::string&) { return true; };

  void RunStarted() override { calls.push_back("started"); }
  void RunEnded() override { calls.push_back("ended"); }
  void SetProgress(int p) override { progress.push_back(p); }
  bool ProcessMessages() override { ++pumps; return stop(); }
  bool DiskPrompt(const std::string& t) override {
    calls.push_back("prompt:" + t);
    return prompt(t);
  }
  void ShowError(const std::string& t) override { calls.push_back("error:" + t); }
  void ShowNote(const std::string& t) override { calls.push_back("note:" + t); }
  void CloseMainWindow() override { calls.push_back("close"); }
};

// The build's file layer with the program folder moved (where unkerf.exe is
// looked for); every other call passes through.
struct Platform : kerfwise::Platform {
  kerfwise::Platform& base = kerfwise::SystemPlatform();
  std::string programFolder;
  char separator = '.';
  std::unique_ptr<kerfwise::ReadFile> OpenRead(const std::string& p) override { return base.OpenRead(p); }
  std::unique_ptr<kerfwise::WriteFile> Create(const std::string& p) override { return base.Create(p); }
  bool Delete(const std::string& p) override { return base.Delete(p); }
  bool CopyOver(const std::string& a, const std::string& b) override { return base.CopyOver(a, b); }
  bool Rename(const std::string& a, const std::string& b) override { return base.Rename(a, b); }
  bool Exists(const std::string& p) override { return base.Exists(p); }
  std::string FullPath(const std::string& p) override { return base.FullPath(p); }
  std::string ProgramFolder() override { return programFolder; }
  char DecimalSeparator() override { return separator; }
  uint32_t Milliseconds() override { return base.Milliseconds(); }
};

}  // namespace slicetest
