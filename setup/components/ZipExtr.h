// TZipExtractor: the installer's archive component. It lists an archive's
// entries itself (ZipDir.h) and hands extraction to UNPACK32.DLL through one
// request record, passing the library's reports on as events.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "setup/components/ZipDir.h"
#include "unpack/UnzipApi.h"

namespace setup {

class TZipExtractor;

// An event: a plain function with a context (the handler's object) and the
// sending component as first argument. Bind<&T::Handler>(obj) makes one from a
// member function.
template <class... Args>
struct TZipEvent {
  void (*Code)(void* Data, TZipExtractor* Sender, Args... args) = nullptr;
  void* Data = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  void operator()(TZipExtractor* Sender, Args... args) const { Code(Data, Sender, args...); }

  template <auto Method, class T>
  static TZipEvent Bind(T* obj) {
    return {[](void* d, TZipExtractor* s, Args... a) { (static_cast<T*>(d)->*Method)(s, a...); }, obj};
  }
};

enum ProgressType : int32_t { ptFileBegin, ptLibraryCode2, ptLibraryCode3 };

using TNotifyEvent = TZipEvent<>;
using TProgressEvent = TZipEvent<ProgressType, const std::string& /*Filename*/, int32_t /*FileSize*/>;
using TMessageEvent = TZipEvent<int32_t /*ErrCode*/, const std::string& /*Message*/>;

// A set of up to 8 options in one byte, bit n for the value of ordinal n.
template <class E>
struct TOptSet {
  uint8_t Bits = 0;
  TOptSet() = default;
  TOptSet(std::initializer_list<E> values) {
    for (E v : values) Bits |= uint8_t(1u << v);
  }
  bool Contains(E v) const { return (Bits >> v) & 1u; }
  void Include(E v) { Bits |= uint8_t(1u << v); }
  void Exclude(E v) { Bits &= uint8_t(~(1u << v)); }
  bool Empty() const { return Bits == 0; }
};

enum AddOptsEnum { AddDirNames, AddRecurseDirs, AddMove, AddFreshen, AddUpdate, AddZipTime, AddForceDOS };
enum ExtrOptsEnum { ExtrDirNames, ExtrOverWrite, ExtrFreshen, ExtrUpdate };
using AddOpts = TOptSet<AddOptsEnum>;
using ExtrOpts = TOptSet<ExtrOptsEnum>;

// The title of the application, the caption of the component's error box;
// the window toolkit may set it. Empty: the executable's base name.
extern std::string ZipAppTitle;

class TZipExtractor {
 public:
  explicit TZipExtractor(void* Owner = nullptr);
  ~TZipExtractor();
  TZipExtractor(const TZipExtractor&) = delete;
  TZipExtractor& operator=(const TZipExtractor&) = delete;

  // Published: the form stores these.
  bool Verbose = false;
  bool Trace = false;  // also turns the library's verbose reporting on
  int32_t AddCompLevel = 9;  // stored only
  AddOpts AddOptions;        // stored only
  std::string ExtrBaseDir;   // made the current folder before extracting
  ExtrOpts ExtrOptions;
  // File specifications for the next extraction; emptied by every Extract.
  // Assigning copies the lines.
  std::vector<std::string> FSpecArgs;
  const std::string& ZipFilename() const { return ZipFilename_; }
  // Stores the name and reads the archive's directory (also when unchanged).
  // Throws EStreamError / EFOpenError.
  void SetZipFilename(const std::string& Name);
  TNotifyEvent OnDirUpdate;
  TProgressEvent OnProgress;
  TMessageEvent OnMessage;

  // Public.
  void* Owner;
  bool Designing = false;  // set while edited in a form designer: no reading
  bool CancelRequested = false;  // answer given to every library report
  const std::vector<ZipDirEntry>& DirEntries() const { return DirEntries_; }
  int32_t LastResult() const { return LastResult_; }

  // Entries of the archive; 0 when ZipFilename is empty.
  int32_t Count() const;
  void ClearDirectory();
  void ReadDirectory();
  // One extraction through UNPACK32.DLL into ExtrBaseDir; the library's
  // answer is left in LastResult. Errors end in the "Fatal DLL Error" box.
  // An archive name or a spec over 255 characters, or more than
  // kUnzipMaxSpecs specs, is refused: no call, OnMessage(kUzBadRequest, why),
  // LastResult kUzBadRequest.
  void Extract();

  // The library's callback: finds the component through Report->Caller.
  static int32_t UNZIP_API LibraryCallback(UnzipReport* Report);
  // Fills the request's words as Extract hands them to the library (names and
  // specs excluded).
  void FillRequest();
  const UnzipRequest& Request() const { return Request_; }

 private:
  std::vector<ZipDirEntry> DirEntries_;
  std::string ZipFilename_;
  int32_t LastResult_ = 0;
  bool Busy_ = false;
  bool CallbackFailed_ = false;  // an event handler raised an error inside the call
  UnzipRequest Request_{};
};

}  // namespace setup
