// TZipExtractor::Extract: the one call into UNPACK32.DLL, bound by ordinal 2
// when the program is loaded (import library from the DLL's .def).
#include <windows.h>

#include <cstring>
#include <memory>

#include "setup/components/ZipExtr.h"
#include "toolkit/PathText.h"

namespace setup {
namespace {

std::string AppTitle() {
  if (!ZipAppTitle.empty()) return ZipAppTitle;
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  return kw::ChangeFileExt(kw::ExtractFileName(path), "");
}

// A NUL-terminated copy in a buffer of the library's size.
std::unique_ptr<char[]> NameBuffer(const std::string& s) {
  auto b = std::make_unique<char[]>(kUnzipNameBuffer);
  std::memcpy(b.get(), s.c_str(), s.size() + 1);
  return b;
}

}  // namespace

void TZipExtractor::Extract() {
  if (Busy_) return;
  Busy_ = true;
  CancelRequested = false;
  CallbackFailed_ = false;
  struct Done {  // clean-up on every path
    TZipExtractor* z;
    ~Done() {
      z->FSpecArgs.clear();
      z->Request_.ZipName = nullptr;
      for (char*& p : z->Request_.FileSpecs) p = nullptr;
      z->CancelRequested = false;
      z->Busy_ = false;
    }
  } done{this};

  const DWORD attr = GetFileAttributesA(ExtrBaseDir.c_str());
  if (!ExtrBaseDir.empty() && attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY))
    SetCurrentDirectoryA(ExtrBaseDir.c_str());
  FillRequest();

  // The library takes names in 256-byte buffers: refuse what does not fit
  // rather than extract from a cut name or with cut specs.
  const char* refused = nullptr;
  if (ZipFilename_.size() >= size_t(kUnzipNameBuffer)) refused = "Archive name longer than 255 characters";
  if (FSpecArgs.size() > size_t(kUnzipMaxSpecs)) refused = "More than 4097 file specifications";
  for (const std::string& s : FSpecArgs)
    if (s.size() >= size_t(kUnzipNameBuffer)) refused = "File specification longer than 255 characters";
  if (refused) {
    LastResult_ = kUzBadRequest;
    if (OnMessage) OnMessage(this, kUzBadRequest, refused);
    return;
  }

  const auto name = NameBuffer(ZipFilename_);
  Request_.ZipName = name.get();
  std::vector<std::unique_ptr<char[]>> specs;
  specs.reserve(FSpecArgs.size());
  Request_.ArgCount = 0;
  for (const std::string& s : FSpecArgs) {
    specs.push_back(NameBuffer(s));
    Request_.FileSpecs[Request_.ArgCount++] = specs.back().get();
  }

  const int32_t result = UnzipExtract(&Request_);
  if (CallbackFailed_)
    MessageBoxA(GetActiveWindow(), "Fatal DLL Error: abort exception", AppTitle().c_str(), MB_OK);
  else
    LastResult_ = result;
  while (!specs.empty()) specs.pop_back();  // last to first
}

}  // namespace setup
