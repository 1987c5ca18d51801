// The interface of UNPACK32.DLL: one entry point (ordinal 2) taking a request
// record, and a callback receiving report records. The records are shared with
// callers built by other compilers, so their layout is fixed: on 32-bit Windows
// every field is a 32-bit word; on 64-bit builds fields that hold an address are
// pointer-sized and the others stay 32-bit words, each at its natural alignment.
#pragma once
#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define UNZIP_API __stdcall
#else
#define UNZIP_API
#endif

struct UnzipReport;
// Answer 0 to go on; any other answer stops the extraction.
typedef int32_t(UNZIP_API* UnzipCallback)(UnzipReport* report);

constexpr int32_t kUnzipVersion = 110;
constexpr int32_t kUnzipCheckWord = 7;
constexpr int kUnzipMaxSpecs = 4097;
constexpr int kUnzipNameBuffer = 256;  // archive name and each spec, NUL included

struct UnzipRequest {
  int32_t Reserved0;        // 0
  void* Caller;             // handed back in every report
  int32_t Version;          // kUnzipVersion
  UnzipCallback Callback;
  int32_t TraceFlag;
  int32_t Reserved20;       // 0
  int32_t Reserved24;       // 0
  int32_t Reserved28;       // 0
  int32_t Reserved32;       // 0
  int32_t Reserved36;       // 0
  int32_t Reserved40;       // 1
  int32_t VerboseFlag;
  int32_t UpdateFlag;       // extract newer files and files not yet there
  int32_t FreshenFlag;      // replace older files that are there, add none
  int32_t DirNamesFlag;     // keep the stored folders
  int32_t OverwriteFlag;    // replace existing files
  int32_t ArgCount;         // specs in use at FileSpecs[0..ArgCount)
  char* ZipName;
  int32_t CheckWord;        // kUnzipCheckWord
  char* FileSpecs[kUnzipMaxSpecs];
};

// Report actions.
constexpr int32_t kActFileBegin = 1;  // Text = stored name, FileSize = uncompressed size
constexpr int32_t kActMessage = 4;    // Text = message ending in CR LF, ErrCode != 0

constexpr int kUnzipReportText = 1024;

struct UnzipReport {
  int32_t Size;             // sizeof(UnzipReport)
  void* Caller;             // UnzipRequest::Caller
  int32_t Index;            // 1-based index of the entry in the archive, 0 if none
  int32_t Total;            // entries in the archive
  int32_t Action;
  int32_t ErrCode;
  int32_t FileSize;
  char Text[kUnzipReportText];
};

// Error codes: in message reports and as the entry point's result (the highest
// code of the run; 0 only when every selected entry was extracted intact).
enum UnzipError : int32_t {
  kUzOk = 0,
  kUzSkipped = 1,      // an entry refused: unsafe name, encrypted, ZIP64, method
  kUzDamaged = 2,      // an entry's data is damaged: CRC, inflate error, sizes
  kUzArchive = 3,      // the archive's directory cannot be read
  kUzWrite = 4,        // a file or folder could not be written
  kUzNoArchive = 9,    // the archive cannot be opened
  kUzBadRequest = 10,  // wrong version, check word or argument count
  kUzNoMatch = 11,     // a file specification matched no entry
  kUzFault = 12,       // an exception or a processor fault inside the library
  kUzCancelled = 80,   // the callback asked to stop
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(UnzipRequest, Caller) == 4);
static_assert(offsetof(UnzipRequest, Version) == 8);
static_assert(offsetof(UnzipRequest, Callback) == 12);
static_assert(offsetof(UnzipRequest, TraceFlag) == 16);
static_assert(offsetof(UnzipRequest, Reserved20) == 20);
static_assert(offsetof(UnzipRequest, Reserved40) == 40);
static_assert(offsetof(UnzipRequest, VerboseFlag) == 44);
static_assert(offsetof(UnzipRequest, UpdateFlag) == 48);
static_assert(offsetof(UnzipRequest, FreshenFlag) == 52);
static_assert(offsetof(UnzipRequest, DirNamesFlag) == 56);
static_assert(offsetof(UnzipRequest, OverwriteFlag) == 60);
static_assert(offsetof(UnzipRequest, ArgCount) == 64);
static_assert(offsetof(UnzipRequest, ZipName) == 68);
static_assert(offsetof(UnzipRequest, CheckWord) == 72);
static_assert(offsetof(UnzipRequest, FileSpecs) == 76);
static_assert(sizeof(UnzipRequest) == 16464);
static_assert(offsetof(UnzipReport, Caller) == 4);
static_assert(offsetof(UnzipReport, Action) == 16);
static_assert(offsetof(UnzipReport, ErrCode) == 20);
static_assert(offsetof(UnzipReport, FileSize) == 24);
static_assert(offsetof(UnzipReport, Text) == 28);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(offsetof(UnzipRequest, Caller) == 8);
static_assert(offsetof(UnzipRequest, Callback) == 24);
static_assert(offsetof(UnzipRequest, TraceFlag) == 32);
static_assert(offsetof(UnzipRequest, ArgCount) == 80);
static_assert(offsetof(UnzipRequest, ZipName) == 88);
static_assert(offsetof(UnzipRequest, CheckWord) == 96);
static_assert(offsetof(UnzipRequest, FileSpecs) == 104);
static_assert(sizeof(UnzipRequest) == 104 + 8 * kUnzipMaxSpecs);
static_assert(offsetof(UnzipReport, Action) == 24);
static_assert(offsetof(UnzipReport, Text) == 36);
#endif

// The entry point, exported as ordinal 2 only; callers bind it at load time
// through the import library.
extern "C" int32_t UNZIP_API UnzipExtract(UnzipRequest* request);
