// TZipExtractor without the library call (ZipExtrRun.cpp): properties, the
// directory, the request's words and the library's callback.
#include "setup/components/ZipExtr.h"

#include <cstring>

namespace setup {

std::string ZipAppTitle;

TZipExtractor::TZipExtractor(void* Owner) : Owner(Owner) {}

TZipExtractor::~TZipExtractor() { ClearDirectory(); }

void TZipExtractor::SetZipFilename(const std::string& Name) {
  ZipFilename_ = Name;
  if (!Designing) ReadDirectory();
}

int32_t TZipExtractor::Count() const { return ZipFilename_.empty() ? 0 : int32_t(DirEntries_.size()); }

void TZipExtractor::ClearDirectory() {
  while (!DirEntries_.empty()) DirEntries_.pop_back();
}

void TZipExtractor::ReadDirectory() {
  if (Designing) return;
  ClearDirectory();
  if (!ZipFileExists(ZipFilename_)) return;
  {
    ZipFileStream s(ZipFilename_);
    WalkZipDirectory(s, DirEntries_);
  }
  if (OnDirUpdate) OnDirUpdate(this);
}

void TZipExtractor::FillRequest() {
  UnzipRequest& q = Request_;
  const bool update = ExtrOptions.Contains(ExtrUpdate);
  q.Reserved0 = 0;
  q.Caller = this;
  q.Version = kUnzipVersion;
  q.Callback = &LibraryCallback;
  q.TraceFlag = Trace;
  q.Reserved24 = q.Reserved28 = q.Reserved32 = q.Reserved36 = 0;
  q.Reserved40 = 1;
  q.VerboseFlag = Verbose || Trace;
  q.UpdateFlag = update;
  q.FreshenFlag = ExtrOptions.Contains(ExtrFreshen) && !update;
  q.DirNamesFlag = ExtrOptions.Contains(ExtrDirNames);
  q.OverwriteFlag = ExtrOptions.Contains(ExtrOverWrite);
  q.CheckWord = kUnzipCheckWord;
}

int32_t UNZIP_API TZipExtractor::LibraryCallback(UnzipReport* Report) {
  if (!Report || !Report->Caller) return 1;
  TZipExtractor* z = static_cast<TZipExtractor*>(Report->Caller);
  // Nothing may be thrown back through the library: a handler's error stops
  // the extraction and Extract shows it once the call has returned.
  try {
    const std::string text(Report->Text, strnlen(Report->Text, sizeof Report->Text));
    switch (Report->Action) {
      case 1:
        if (z->OnProgress) z->OnProgress(z, ptFileBegin, text, Report->FileSize);
        break;
      case 2:
        if (z->OnProgress) z->OnProgress(z, ptLibraryCode2, " ", 0);
        break;
      case 3:
        if (z->OnProgress) z->OnProgress(z, ptLibraryCode3, " ", 0);
        break;
      case 4:
        if (z->OnMessage) {
          // A closing CR, LF or CR LF becomes NUL; the text keeps its length.
          std::string m = text;
          const auto eol = [](char c) { return c == '\r' || c == '\n'; };
          if (!m.empty() && eol(m.back())) m.back() = '\0';
          if (m.size() > 1 && eol(m[m.size() - 2])) m[m.size() - 2] = '\0';
          z->OnMessage(z, Report->ErrCode, m);
        }
        break;
      default:
        break;
    }
  } catch (...) {
    z->CallbackFailed_ = true;
    return 1;
  }
  return z->CancelRequested ? 1 : 0;
}

}  // namespace setup
