// TShellLink over the shell's link object (CLSID_ShellLink, IShellLinkA,
// IPersistFile). Every call must answer S_OK; anything else, S_FALSE included,
// ends the operation quietly.
#include "setup/components/SheLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace setup {

namespace {

// Owns one interface pointer; released on every path.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T** Out() { return &p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }
  T* operator->() const { return p_; }
  T* get() const { return p_; }

 private:
  T* p_ = nullptr;
};

// The link object hands ANSI texts through 255-byte buffers: longer file
// names and targets are refused rather than cut to a different path.
constexpr size_t kMaxText = 254;
constexpr int kReadChars = 260;

bool Fits(const std::string& s) { return s.size() <= kMaxText; }

bool CreateLink(ComPtr<IShellLinkA>& link) {
  return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                          link.OutVoid()) == S_OK;
}

// The file name in wide characters, at most 260 with the terminating NUL.
bool ToWide(const std::string& s, WCHAR (&out)[kReadChars]) {
  return Fits(s) && MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, out, kReadChars) > 0;
}

bool SaveAs(IShellLinkA* link, const std::string& fileName) {
  ComPtr<IPersistFile> file;
  WCHAR wide[kReadChars];
  return link->QueryInterface(IID_IPersistFile, file.OutVoid()) == S_OK &&
         ToWide(fileName, wide) && file->Save(wide, TRUE) == S_OK;
}

// Reads one text through a 260-character buffer; false unless S_OK.
template <class Get>
bool ReadText(std::string& out, Get get) {
  char buf[kReadChars] = {};
  if (get(buf, kReadChars) != S_OK) return false;
  buf[kReadChars - 1] = '\0';
  out = buf;
  return true;
}

}  // namespace

void TShellLink::SetUpdate(bool) {
  ReadLink(FPath);
  FUpdate = true;
}

void TShellLink::ReadLink(const std::string& fileName) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  WCHAR wide[kReadChars];
  if (!CreateLink(link) || link->QueryInterface(IID_IPersistFile, file.OutVoid()) != S_OK ||
      !ToWide(fileName, wide) || file->Load(wide, STGM_READ) != S_OK ||
      link->Resolve(nullptr, MAKELONG(SLR_NO_UI, 1)) != S_OK)
    return;
  WIN32_FIND_DATAA found;
  int icon = 0, show = 0;
  WORD hotKey = 0;
  if (!ReadText(WorkingDir, [&](char* b, int n) { return link->GetWorkingDirectory(b, n); }) ||
      !ReadText(Target,
                [&](char* b, int n) { return link->GetPath(b, n, &found, SLGP_UNCPRIORITY); }) ||
      !ReadText(IconLocation, [&](char* b, int n) { return link->GetIconLocation(b, n, &icon); }))
    return;
  IconNumber = uint16_t(icon);
  if (!ReadText(Description, [&](char* b, int n) { return link->GetDescription(b, n); }) ||
      link->GetShowCmd(&show) != S_OK)
    return;
  ShowCmd = uint16_t(show);
  if (link->GetHotkey(&hotKey) != S_OK) return;
  HotKey = hotKey;
  if (!ReadText(Arguments, [&](char* b, int n) { return link->GetArguments(b, n); })) return;
  FPath = fileName;
}

void TShellLink::WriteLink(const std::string& fileName) {
  ComPtr<IShellLinkA> link;
  if (!Fits(Target) || !CreateLink(link) || link->SetPath(Target.c_str()) != S_OK) return;
  std::string description = Description.substr(0, kMaxText);
  link->SetDescription(description.c_str());
  link->SetWorkingDirectory(WorkingDir.c_str());
  link->SetArguments(Arguments.c_str());
  link->SetHotkey(HotKey);
  link->SetShowCmd(int(ShowCmd));
  link->SetIconLocation(IconLocation.c_str(), IconNumber);
  SaveAs(link.get(), fileName);
}

void TShellLink::MakeLink(const std::string& fileName, const std::string& target) {
  ComPtr<IShellLinkA> link;
  if (!Fits(target) || !CreateLink(link) || link->SetPath(target.c_str()) != S_OK) return;
  SaveAs(link.get(), fileName);
}

}  // namespace setup
