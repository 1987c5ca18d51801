// UNPACK32.DLL: the request record turned into a run of the extraction core
// over the current folder, its reports turned into callback calls.
#include <cstdlib>
#include <cstring>
#include <exception>

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

int32_t Run(const UnzipRequest& req) {
  CallbackReporter rep(req);
  if (req.Version != kUnzipVersion || req.CheckWord != kUnzipCheckWord || req.ArgCount < 0 ||
      req.ArgCount > kUnzipMaxSpecs || !req.ZipName) {
    rep.Message(kUzBadRequest, "error: the request record is not understood\r\n");
    return kUzBadRequest;
  }
  unpack::Options opt;
  opt.archiveName = req.ZipName;
  opt.dirNames = req.DirNamesFlag != 0;
  opt.overwrite = req.OverwriteFlag != 0;
  opt.freshen = req.FreshenFlag != 0;
  opt.update = req.UpdateFlag != 0;
  opt.verbose = req.VerboseFlag != 0 || req.TraceFlag != 0;
  opt.convertName = unpack::PlatformName;
  for (int i = 0; i < req.ArgCount; ++i)
    if (req.FileSpecs[i] && *req.FileSpecs[i]) opt.specs.emplace_back(req.FileSpecs[i]);
  const auto in = unpack::OpenArchive(opt.archiveName);
  if (!in) {
    rep.Message(kUzNoArchive, "error: cannot open zipfile " + opt.archiveName + "\r\n");
    return kUzNoArchive;
  }
  const auto out = unpack::FolderOutput("");
  return unpack::Extract(*in, *out, rep, opt);
}

}  // namespace

extern "C" int32_t UNZIP_API UnzipExtract(UnzipRequest* request) {
  if (!request) return kUzBadRequest;
  try {
    return Run(*request);
  } catch (...) {
    // Out of memory, or an exception from the caller's callback: nothing may
    // leave the DLL.
    return kUzArchive;
  }
}
