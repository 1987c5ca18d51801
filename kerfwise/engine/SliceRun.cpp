#include "kerfwise/engine/SliceRun.h"
#include "toolkit/Error.h"

#include <algorithm>
#include <cstdint>

#include "kerfwise/engine/CheckFile.h"
#include "kerfwise/engine/Crc32.h"
#include "kerfwise/engine/IoError.h"
#include "kerfwise/engine/SetGuard.h"
#include "toolkit/PathText.h"

namespace kerfwise {

namespace {
// Copying goes in chunks sized so that one read and write take about 20 ms:
// big on a hard disk, down to one block on a floppy, so Stop is heard in time.
constexpr size_t kFirstChunk = 2048;
constexpr size_t kMaxChunk = 1024 * 1024;
constexpr uint32_t kSlowMs = 20;
constexpr uint32_t kFastMs = 5;

// A source refused because its set would replace another's: said, and the
// run goes on with the next source.
struct Refusal {
  std::string text;
};

class Run {
  // Paths in the system's full spelling, so that "C:\DATA", "C:\DATA\." and
  // "C:\DATA~1" are one folder.
  struct Claim {
    std::string source;
    std::string sourceKey;
    std::string slices;  // slice folder and stem: the slices are <slices>s10, <slices>s11, ...
    std::string base;
    int64_t count;       // slices the source's size gives
  };

 public:
  Run(const RunInputs& in, SliceHost& host, Platform& fs) : in_(in), host_(host), fs_(fs) {}

  RunOutcome Go() {
    plan_ = ParseSliceSize(in_.sizeText);
    // Every source must open before anything is written.
    std::vector<int64_t> sizes;
    for (const std::string& s : in_.sources) {
      sizes.push_back(fs_.OpenRead(s)->Size());
      total_ += sizes.back();
    }
    // Floppies too: one disk may well take the next source's slices.
    for (size_t i = 0; i < in_.sources.size(); ++i) ClaimNames(in_.sources[i], sizes[i]);
    for (const std::string& s : in_.sources) RefuseOverwrittenSource(s);
    estimate_ = DiskEstimate(in_.sizeText, fs_.DecimalSeparator(), total_);
    buffer_.resize(kMaxChunk);
    for (const std::string& s : in_.sources) {
      try {
        RunOutcome r = SliceSource(s);
        if (r != RunOutcome::Done) return r;
      } catch (const Refusal& r) {
        host_.ShowError(r.text);
      }
    }
    return RunOutcome::Done;
  }

  // What the user must hear once the run is over, one line each.
  const std::string& Notes() const { return notes_; }

 private:
  bool Floppy() const { return in_.destination == Destination::FloppyDisk; }

  bool Prompt(int64_t disk) {
    return host_.DiskPrompt("Please insert Disk " + std::to_string(disk) + " of " +
                            std::to_string(estimate_));
  }

  std::unique_ptr<WriteFile> CreateSlice(const std::string& source, const std::string& path) {
    // A source named like one of its own slices would be truncated by it.
    if (kw::SameText(Key(path), fs_.FullPath(source)))
      throw kw::Error("Cannot slice " + source + " into itself");
    return fs_.Create(path);
  }

  // A file's full spelling; it need not exist yet.
  std::string Key(const std::string& path) { return FolderKey(kw::ExtractFilePath(path)) + kw::ExtractFileName(path); }

  std::string FolderKey(const std::string& folder) {
    std::string full = fs_.FullPath(folder.empty() ? "." : folder);
    if (!full.empty() && full.back() != '\\') full += '\\';
    return full;
  }

  void ShowProgress() {
    if (total_ <= 0) return;  // the bar stays at 0
    int64_t percent = done_ < INT64_MAX / 100 ? done_ * 100 / total_ : done_ / (total_ / 100);
    int bar = int(std::min<int64_t>(100, percent));
    if (bar != bar_) host_.SetProgress(bar_ = bar);
  }

  // Two sources of one run whose slices or slice lists would share names
  // (REPORT.DOC and REPORT.TXT): the second would overwrite the first's set,
  // which may be all that is left of it once delete source has run. The same
  // file listed twice only makes the same slices again.
  void ClaimNames(const std::string& source, int64_t size) {
    Claim claim{source, fs_.FullPath(source),
                FolderKey(SliceFolder(source, in_.destination, in_.driveText, in_.slicePath)) + SliceStem(source),
                Key(BasePath(source, in_.destination, in_.driveText, in_.slicePath)), SliceCount(size)};
    for (const Claim& c : claims_)
      if (!kw::SameText(c.sourceKey, claim.sourceKey) &&
          (kw::SameText(c.slices, claim.slices) || kw::SameText(c.base, claim.base)))
        throw kw::Error("The slices of " + source + " would overwrite those of " + c.source);
    claims_.push_back(claim);
  }

  int64_t SliceCount(int64_t size) const {
    if (size <= plan_.threshold) return 1;
    return 1 + (size - plan_.threshold + plan_.length - 1) / plan_.length;
  }

  // A source that is itself one of the files a set writes (REPORT.sss beside
  // REPORT.DOC, X.s10 cut into X.s10) would be truncated before it is read.
  void RefuseOverwrittenSource(const std::string& source) {
    std::string key = fs_.FullPath(source);
    for (const Claim& c : claims_)
      if (Writes(c, key)) {
        if (kw::SameText(c.sourceKey, key)) throw kw::Error("Cannot slice " + source + " into itself");
        throw kw::Error("The slices of " + c.source + " would overwrite " + source);
      }
  }

  static bool Writes(const Claim& c, const std::string& path) {
    std::string list = c.base + ".sss";
    // The batch file too where blanks keep it from being written: the full
    // spelling may have blanks the typed one has not.
    if (kw::SameText(path, list) || kw::SameText(path, c.base + "s.exe") || kw::SameText(path, c.base + "s.bat") ||
        kw::SameText(path, CheckFilePath(list)))
      return true;
    // A slice: the slice stem, "s" and a number in use, written without leading zeros.
    size_t n = c.slices.size();
    if (path.size() < n + 3 || !kw::SameText(path.substr(0, n), c.slices) || (path[n] != 's' && path[n] != 'S'))
      return false;
    int64_t number = 0;
    for (size_t i = n + 1; i < path.size(); ++i) {
      if (path[i] < '0' || path[i] > '9' || i - n > 18) return false;
      number = number * 10 + (path[i] - '0');
    }
    return path[n + 1] != '0' && number >= 10 && number < 10 + c.count;
  }

  // What lies at the set's names, looked at before they are written: in the
  // folder once, on floppies on each disk as it comes.
  void LookAtDestination(const std::string& source, const std::string& base, const std::string& folder,
                         const std::vector<std::string>& slices, bool listToo) {
    Occupants o = kerfwise::LookAtDestination(fs_, source, base, folder, slices, listToo);
    if (!o.refusal.empty()) throw Refusal{o.refusal};
    // An earlier set of this source would look complete while half replaced.
    if (o.sameSource) {
      fs_.Delete(base + ".sss");
      fs_.Delete(base + "s.bat");
      fs_.Delete(CheckFilePath(base + ".sss"));
    }
  }

  RunOutcome SliceSource(const std::string& source) {
    std::string stem = SliceStem(source);
    std::string folder = SliceFolder(source, in_.destination, in_.driveText, in_.slicePath);
    std::string base = BasePath(source, in_.destination, in_.driveText, in_.slicePath);
    int number = 10;
    std::vector<std::string> names{SliceName(stem, number)};
    auto src = fs_.OpenRead(source);
    int64_t last = 10 + SliceCount(src->Size()) - 1;  // the slice the list goes with
    if (!Floppy()) {
      std::vector<std::string> all;
      for (int64_t n = 10; n <= last; ++n) all.push_back(SliceName(stem, int(n)));
      LookAtDestination(source, base, folder, all, true);
    }
    if (Floppy() && !host_.DiskPrompt("Please insert Disk 1 of " + std::to_string(estimate_))) {
      src.reset();
      host_.CloseMainWindow();
      return RunOutcome::Cancelled;
    }
    if (Floppy()) LookAtDestination(source, base, folder, names, number >= last);
    auto slice = CreateSlice(source, folder + names.back());
    CheckValues check;
    check.whole.name = kw::ExtractFileName(source);
    uint32_t crc = 0;
    int64_t fill = 0;
    size_t chunk = kFirstChunk;
    for (;;) {
      uint32_t start = fs_.Milliseconds();
      // Whole chunks up to the slice's length; past it one block, which either
      // still fits (the short end of the file) or opens the next slice.
      int64_t want = fill < plan_.length ? std::min<int64_t>(int64_t(chunk), plan_.length - fill)
                     : plan_.length < plan_.threshold ? kBlock
                                                      : std::min<int64_t>(int64_t(chunk), plan_.length);
      size_t n = src->Read(buffer_.data(), size_t(want));
      if (n == 0) break;
      ShowProgress();
      done_ += int64_t(n);
      // What was read after the last look at the queue is not written.
      if (host_.ProcessMessages()) return RunOutcome::Stopped;
      if (fill + int64_t(n) > plan_.threshold) {
        slice->Close();
        slice.reset();
        EndSlice(check, names.back(), crc, fill);
        crc = 0;
        names.push_back(SliceName(stem, ++number));
        ++disk_;
        if (Floppy() && !Prompt(disk_)) {
          src.reset();
          host_.CloseMainWindow();
          return RunOutcome::Cancelled;
        }
        if (Floppy()) LookAtDestination(source, base, folder, {names.back()}, number >= last);
        slice = CreateSlice(source, folder + names.back());
        fill = 0;
      }
      if (in_.checkValues) crc = Crc32(crc, buffer_.data(), n);
      slice->Write(buffer_.data(), n);
      fill += int64_t(n);
      uint32_t took = fs_.Milliseconds() - start;
      if (took > kSlowMs && chunk > size_t(kBlock)) chunk /= 2;
      else if (took < kFastMs && chunk < kMaxChunk) chunk *= 2;
    }
    src.reset();
    slice->Close();  // a slice whose data may not be stored fails the run here
    slice.reset();
    EndSlice(check, names.back(), crc, fill);
    if (in_.checkValues) WriteCheckFile(base, check);
    if (!WriteJoinFiles(source, names)) {
      host_.CloseMainWindow();
      return RunOutcome::Cancelled;
    }
    // Only once the slice list stands: a set without it is no copy to rely on.
    if (in_.deleteSource) fs_.Delete(source);
    return RunOutcome::Done;
  }

  static void EndSlice(CheckValues& check, const std::string& name, uint32_t crc, int64_t size) {
    check.slices.push_back({crc, size, name});
    check.whole.crc = Crc32Combine(check.whole.crc, crc, size);
    check.whole.size += size;
  }

  // Before the slice list: whenever a list stands, its check values are
  // whole. A set whose check values cannot be written still joins, unchecked.
  void WriteCheckFile(const std::string& base, const CheckValues& check) {
    std::string path = CheckFilePath(base + ".sss");
    try {
      std::string text = CheckFileText(check);
      auto f = fs_.Create(path);
      f->Write(text.data(), text.size());
      f->Close();
    } catch (const IoError&) {
      fs_.Delete(path);  // cut values would refuse a sound set
    }
  }

  void WriteList(const std::string& list, const std::string& text) {
    std::unique_ptr<WriteFile> f;
    try {
      f = fs_.Create(list);
    } catch (const IoError&) {
      throw kw::Error("Cannot create file " + list);
    }
    try {
      f->Write(text.data(), text.size());
      f->Close();
    } catch (const IoError&) {
      f.reset();
      fs_.Delete(list);  // a cut list would name a cut set
      throw;
    }
  }

  // false: Cancel at the prompt for one more disk.
  bool WriteJoinFiles(const std::string& source, const std::vector<std::string>& names) {
    std::string name = kw::ExtractFileName(source);
    std::string base = BasePath(source, in_.destination, in_.driveText, in_.slicePath);
    std::string list = base + ".sss";
    std::string text = JoinCrLf(SliceListLines(in_.deleteSlicesAfterJoin, name, names));
    try {
      WriteList(list, text);
    } catch (const IoError& e) {
      // A last slice that filled its floppy (0.75 fills a 720 KB disk
      // exactly): the set's own files go on one more disk.
      if (!Floppy() || e.code != kDiskFull) throw;
      if (!Prompt(++disk_)) return false;
      WriteList(list, text);
    }
    // DOS batch files cannot name paths with blanks, nor names too long for
    // their lines.
    std::vector<std::string> batchLines =
        BatchLines(in_.deleteSlicesAfterJoin, ShortTargetName(name), names);
    if (list.find(' ') == std::string::npos && !batchLines.empty()) {
      std::string batch = base + "s.bat";
      try {
        std::string text = JoinCrLf(batchLines);
        auto f = fs_.Create(batch);
        f->Write(text.data(), text.size());
        f->Close();
      } catch (const IoError&) {
        fs_.Delete(batch);  // half a copy line would join half the file
      }
    }
    std::string joiner = fs_.ProgramFolder() + "unkerf.exe";
    if (!fs_.CopyOver(joiner, base + "s.exe")) {
      fs_.Delete(base + "s.exe");  // a cut copy would not run
      if (Floppy() && fs_.Exists(joiner))
        notes_ += "There was no room for the joiner " + kw::ExtractFileName(base) + "s.exe beside the slices of " +
                  name + " on the last disk. The set is whole: join it with " +
                  (fs_.Exists(base + "s.bat") ? kw::ExtractFileName(base) + "s.bat or " : std::string()) +
                  "another copy of unkerf.exe.\n";
    }
    return true;
  }

  const RunInputs& in_;
  SliceHost& host_;
  Platform& fs_;
  SlicePlan plan_;
  int64_t total_ = 0;
  int64_t done_ = 0;
  int64_t disk_ = 1;
  int64_t estimate_ = 0;
  int bar_ = 0;
  std::vector<char> buffer_;
  std::vector<Claim> claims_;
  std::string notes_;  // said once the run is over
};
}  // namespace

RunOutcome RunSlicing(const RunInputs& in, SliceHost& host, Platform& fs) {
  host.RunStarted();
  RunOutcome outcome = RunOutcome::Done;
  std::string error;
  Run run(in, host, fs);
  try {
    outcome = run.Go();
  } catch (const std::exception& e) {
    outcome = RunOutcome::Failed;
    error = e.what();
  }
  if (outcome == RunOutcome::Cancelled) return outcome;
  host.RunEnded();
  if (!run.Notes().empty()) host.ShowNote(run.Notes().substr(0, run.Notes().size() - 1));
  if (outcome == RunOutcome::Failed) host.ShowError(error);
  return outcome;
}

}  // namespace kerfwise
