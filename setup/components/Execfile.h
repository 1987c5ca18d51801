// TExecFile: starts another program as a new process with a chosen window state
// and priority, can fall back to the program associated with a document, and
// can wait until the program has ended. The install engine runs the package's
// post-installation program through the wizard's instance (ExecFile1).
#pragma once
#include <windows.h>

#include <string>

#include "setup/components/ExecfileText.h"

namespace setup {

class TExecFile;

// OnFail: a plain function with a context (the handler's object) and the sending
// component. Bind<&T::Handler>(obj) makes one from a member function.
struct TExecEvent {
  void (*Code)(void* Data, TExecFile* Sender) = nullptr;
  void* Data = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  void operator()(TExecFile* Sender) const { Code(Data, Sender); }

  template <auto Method, class T>
  static TExecEvent Bind(T* obj) {
    return {[](void* d, TExecFile* s) { (static_cast<T*>(d)->*Method)(s); }, obj};
  }
};

class TExecFile {
 public:
  TExecFile() = default;
  TExecFile(const TExecFile&) = delete;
  TExecFile& operator=(const TExecFile&) = delete;
  // Closes the handles of the last start.
  ~TExecFile();

  // Published settings (their setters only store the value).
  bool Associate = false;
  InString CommandLine;
  InString Parameters;
  TPriorityClass Priority = pcNormal;
  bool Wait = false;
  TWaitStyle WaitStyle = wRegular;
  TWindowStyle WindowStyle = wsNorm;
  TExecEvent OnFail;

  // Set when a wRegular wait has seen the process end.
  bool ProcessEnded = false;

  // Starts the program; true when it started (and, with Wait, has ended).
  bool Execute();

  DWORD LastError() const { return FLastError; }
  bool Waiting() const { return FWaiting; }
  const std::string& AssociatedExe() const { return FAssociatedExe; }
  const STARTUPINFOA& StartupInfo() const { return FStartupInfo; }
  const PROCESS_INFORMATION& ProcessInfo() const { return FProcessInfo; }
  DWORD CreationFlags() const { return FCreationFlags; }

 private:
  bool Create(const std::string& line);
  bool Fail();
  void WaitRegular();
  void CloseHandles();

  MSG FMsg{};
  DWORD FCreationFlags = 0;
  DWORD FLastError = 0;
  bool FWaiting = false;
  std::string FAssociatedExe;
  STARTUPINFOA FStartupInfo{};
  PROCESS_INFORMATION FProcessInfo{};
};

}  // namespace setup
