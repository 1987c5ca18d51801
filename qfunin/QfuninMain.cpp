// qfunin.exe, the uninstaller the uninstall entry starts with the list's path:
// reads and checks the whole list first, asks, then removes in one run. With
// /S it asks nothing and shows nothing; the exit code tells the outcome.
#include <windows.h>

#include "qfunin/QfuninIds.h"
#include "qfunin/Removal.h"
#include "qfunin/UninList.h"
#include "qfunin/WinHost.h"
#include "qfunin/uShared.h"
#include "qfunin/uUninstall.h"
#include "toolkit/App.h"
#include "toolkit/Handle.h"
#include "toolkit/Log.h"
#include "toolkit/PathText.h"
#include "toolkit/Silent.h"
#include "toolkit/SwapIn.h"

namespace {

using namespace qfunin;

constexpr const char* kCaption = "Uninstall";

int Box(HWND owner, const std::string& text, UINT flags) {
  return kw::MsgBox(owner, text, kCaption, flags | MB_SETFOREGROUND);
}

int Refuse(const std::string& text) {
  Box(nullptr, text + "\r\n\r\nNothing was removed.", MB_OK | MB_ICONSTOP);
  return ids::kExitRefused;
}

// False when the file cannot be opened or is larger than any list.
bool ReadListFile(const std::string& path, std::string& bytes) {
  kw::FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.ok()) return false;
  DWORD size = GetFileSize(f.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kMaxListBytes) return false;
  bytes.resize(size);
  DWORD got = 0;
  return size == 0 || (ReadFile(f.get(), bytes.data(), size, &got, nullptr) && got == size);
}

// An entry whose list was deleted could never be removed: offer to take the
// entry itself out of the list of installed programs.
int ListGone(const std::string& listPath) {
  std::string name = EntryNameFor(listPath);
  if (name.empty()) return Refuse("The uninstall list \"" + listPath + "\" cannot be read.");
  if (Box(nullptr, "The uninstall list \"" + listPath + "\" of " + name +
                       " is missing, so its files cannot be removed.\r\n\r\nRemove " + name +
                       " from the list of installed programs?",
          MB_YESNO | MB_ICONQUESTION) != IDYES)
    return ids::kExitCancelled;
  DeleteUninstallEntries(listPath);
  return ids::kExitRemoved;
}

std::string FullPath(const std::string& path) {
  char buf[MAX_PATH];
  char* name = nullptr;
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, &name);
  return n == 0 || n >= sizeof buf ? path : std::string(buf, n);
}

int Uninstall(const std::string& argument) {
  if (argument.empty())
    return Refuse("Start this program from Add/Remove Programs: it needs the path of an uninstall list.");
  std::string listPath = FullPath(argument);
  // The installer saves its list beside it and swaps it in; a power cut
  // between 95/98's two moves leaves it as list.new or list.old.
  kw::FinishSwap(listPath + ".new", listPath, listPath + ".old");
  std::string bytes;
  if (!ReadListFile(listPath, bytes)) {
    if (GetFileAttributesA(listPath.c_str()) == INVALID_FILE_ATTRIBUTES) return ListGone(listPath);
    return Refuse("The uninstall list \"" + listPath + "\" cannot be read.");
  }
  UninList list;
  Places places = SystemPlaces();
  std::string fault = ParseUninList(bytes, list);
  if (fault.empty()) {
    UseLongForms(list, places, LongPath);
    fault = CheckUninList(list, places);
  }
  if (!fault.empty())
    return Refuse("The uninstall list \"" + listPath + "\" cannot be used: " + fault + ".");

  if (!kw::Silent() &&
      Box(nullptr, "Are you sure you want to remove " + list.programName + " and all of its components?",
          MB_YESNO | MB_ICONQUESTION) != IDYES)
    return ids::kExitCancelled;

  TfUninstall progress;
  TfShared shared;
  progress.Create();
  shared.Create();
  if (!kw::Silent()) progress.Show();
  WinHost host(progress, shared);
  Outcome outcome = Removal(list, places, listPath, host).Run();
  progress.Hide();
  for (const std::string& item : outcome.stayed) kw::Log({"Stayed: ", item});
  Box(nullptr, ClosingText(list.programName, outcome),
      MB_OK | (outcome.stayed.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
  if (!outcome.stayed.empty()) return ids::kExitStayed;
  return outcome.restart ? ids::kExitRestart : ids::kExitRemoved;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
  kw::App().Initialize();
  kw::App().Title = kCaption;
  try {
    UninstallArguments args = ParseUninstallArguments(cmdLine ? cmdLine : "");
    kw::SetSilent(args.silent);
    // A log that cannot be written is no reason to stop.
    if (!args.log.empty() && !kw::OpenLog(args.log))
      Box(nullptr, "The uninstaller cannot write the log file " + args.log + " and goes on without it.",
          MB_OK | MB_ICONWARNING);
    kw::Log({"Uninstall started: ", GetCommandLineA()});
    const int code = Uninstall(args.list);
    kw::Log({"Exit code ", kw::Decimal(code), ": ", kw::exitcode::Meaning(code)});
    kw::CloseLog();
    return code;
  } catch (const std::exception& e) {
    kw::Log({"Failed: ", e.what()});
    kw::App().ShowException(e.what());
    return ids::kExitStayed;
  }
}
