// UNPACK32.DLL: the request record turned into a run of the extraction core
// over the current folder, its reports turned into callback calls. Whatever
// goes wrong inside, the caller gets a message and a non-zero result.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "unpack/FileIo.h"
#include "unpack/UnzipApi.h"

namespace {

class CallbackReporter : public unpack::Reporter {
 public:
  explicit CallbackReporter(const UnzipRequest& r) : req_(r) {}
  bool FileBegin(const std::string& name, uint32_t size, int index, int total) override {
    return Send(kActFileBegin, 0, int32_t(size), name, index, total);
  }
  bool Message(int code, const std::string& text) override { return Send(kActMessage, code, 0, text, 0, 0); }

  bool Send(int32_t action, int32_t code, int32_t size, const std::string& text, int index, int total) {
    if (!req_.Callback) return false;
    UnzipReport& r = report_;
    r.Size = sizeof r;
    r.Caller = req_.Caller;
    r.Index = index;
    r.Total = total;
    r.Action = action;
    r.ErrCode = code;
    r.FileSize = size;
    // A long text keeps its start; a message keeps its closing CR LF.
    size_t n = text.size() < sizeof r.Text ? text.size() : sizeof r.Text - 1;
    std::memcpy(r.Text, text.data(), n);
    if (n < text.size() && action == kActMessage) std::memcpy(r.Text + n - 2, "\r\n", 2);
    r.Text[n] = 0;
    return req_.Callback(&r) != 0;
  }

 private:
  const UnzipRequest& req_;
  UnzipReport report_;
};

// One extraction. Its archive and output are held outside the guarded call,
// so that a fault inside it can still close and remove what it had open.
struct Job {
  const UnzipRequest* req = nullptr;
  CallbackReporter* rep = nullptr;
  std::unique_ptr<unpack::Input> in;
  std::unique_ptr<unpack::Output> out;
  int32_t result = kUzFault;
  std::string error;  // what an exception said
};

void Run(Job& job) {
  const UnzipRequest& req = *job.req;
  CallbackReporter& rep = *job.rep;
  if (req.Version != kUnzipVersion || req.CheckWord != kUnzipCheckWord || req.ArgCount < 0 ||
      req.ArgCount > kUnzipMaxSpecs || !req.ZipName) {
    rep.Message(kUzBadRequest, "error: the request record is not understood\r\n");
    job.result = kUzBadRequest;
    return;
  }
  unpack::Options opt;
  opt.archiveName = req.ZipName;
  opt.dirNames = req.DirNamesFlag != 0;
  opt.overwrite = req.OverwriteFlag != 0;
  opt.freshen = req.FreshenFlag != 0;
  opt.update = req.UpdateFlag != 0;
  opt.verbose = req.VerboseFlag != 0 || req.TraceFlag != 0;
  opt.convertName = unpack::PlatformName;
  opt.foldName = unpack::PlatformFold;
  for (int i = 0; i < req.ArgCount; ++i)
    if (req.FileSpecs[i] && *req.FileSpecs[i]) opt.specs.emplace_back(req.FileSpecs[i]);
  job.in = unpack::OpenArchive(opt.archiveName);
  if (!job.in) {
    rep.Message(kUzNoArchive, "error: cannot open zipfile " + opt.archiveName + "\r\n");
    job.result = kUzNoArchive;
    return;
  }
  job.out = unpack::FolderOutput("");
  job.result = unpack::Extract(*job.in, *job.out, rep, opt);
}

// Nothing may leave the DLL: an exception (out of memory, or one thrown by
// the caller's callback) ends the run here.
void RunCatching(void* p) {
  Job& job = *static_cast<Job*>(p);
  try {
    Run(job);
  } catch (const std::exception& e) {
    job.result = kUzFault;
    job.error = e.what();
  } catch (...) {
    job.result = kUzFault;
    job.error = "unknown exception";
  }
}

void Report(void* p) {
  Job& job = *static_cast<Job*>(p);
  try {
    job.rep->Message(kUzFault, "error: unpacking stopped by " + job.error + " inside UNPACK32.DLL\r\n");
  } catch (...) {
  }
}

// ---- Processor faults: fn runs under a guard; a fault inside it (bad
// pointers in the request, a damaged callback, a defect of ours) resumes
// execution after the guard instead of ending the caller's program.

bool IsFault(DWORD code) { return (code & 0xF0000000u) == 0xC0000000u; }

struct Guard {
#if defined(_WIN64)
  DWORD thread;
#else
  Guard* prev;   // the system's exception registration record: chain link,
  void* handler; // then handler
#endif
  void* jump[5];  // __builtin_setjmp buffer
  DWORD code;
};

__attribute__((noinline, used)) void Recover(Guard* g) { __builtin_longjmp(g->jump, 1); }

#if defined(_WIN64)
Guard* volatile g_guard = nullptr;

// Vectored: x64 has no frame chain to hook. It only acts for a guarded call
// on its own thread.
LONG CALLBACK Vectored(EXCEPTION_POINTERS* ep) {
  Guard* g = g_guard;
  if (!g || g->thread != GetCurrentThreadId() || !IsFault(ep->ExceptionRecord->ExceptionCode))
    return EXCEPTION_CONTINUE_SEARCH;
  g->code = ep->ExceptionRecord->ExceptionCode;
  CONTEXT* c = ep->ContextRecord;
  c->Rsp = ((c->Rsp - 256) & ~DWORD64(15)) - 8;  // as after a call
  c->Rcx = DWORD64(g);
  c->Rip = DWORD64(&Recover);
  return EXCEPTION_CONTINUE_EXECUTION;
}
#else
// A frame handler on the thread's chain (fs:[0]), as Windows 95 has it.
EXCEPTION_DISPOSITION __cdecl Framed(EXCEPTION_RECORD* rec, void* frame, CONTEXT* c, void*) {
  if (rec->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND) || !IsFault(rec->ExceptionCode))
    return ExceptionContinueSearch;
  Guard* g = static_cast<Guard*>(frame);
  g->code = rec->ExceptionCode;
  DWORD* sp = reinterpret_cast<DWORD*>((c->Esp - 64) & ~DWORD(15));
  *--sp = DWORD(g);  // Recover's argument
  *--sp = 0;         // its return address: it never returns
  c->Esp = DWORD(sp);
  c->Eip = DWORD(&Recover);
  return ExceptionContinueExecution;
}
#endif

// 0 when fn ran to its end, else the fault's code.
__attribute__((noinline)) DWORD CallGuarded(void (*fn)(void*), void* arg) {
  Guard g{};
#if defined(_WIN64)
  g.thread = GetCurrentThreadId();
  PVOID veh = AddVectoredExceptionHandler(1, Vectored);
  Guard* outer = g_guard;
  g_guard = &g;
  if (__builtin_setjmp(g.jump) == 0) fn(arg);
  g_guard = outer;
  if (veh) RemoveVectoredExceptionHandler(veh);
#else
  g.handler = reinterpret_cast<void*>(&Framed);
  g.prev = reinterpret_cast<Guard*>(__readfsdword(0));
  __writefsdword(0, DWORD(&g));
  if (__builtin_setjmp(g.jump) == 0) fn(arg);
  __writefsdword(0, DWORD(g.prev));  // also drops what the abandoned frames had put on
#endif
  return g.code;
}

}  // namespace

extern "C" int32_t UNZIP_API UnzipExtract(UnzipRequest* request) {
  if (!request) return kUzBadRequest;
  CallbackReporter rep(*request);
  Job job;
  job.req = request;
  job.rep = &rep;
  if (const DWORD fault = CallGuarded(RunCatching, &job)) {
    std::string code;
    for (int shift = 28; shift >= 0; shift -= 4) code += "0123456789ABCDEF"[fault >> shift & 15];
    job.result = kUzFault;
    job.error = "a processor fault (code " + code + ")";
  }
  if (job.result == kUzFault) {
    if (job.out) job.out->Abandon();
    job.in.reset();
    job.out.reset();
    CallGuarded(Report, &job);
  }
  return job.result;
}
