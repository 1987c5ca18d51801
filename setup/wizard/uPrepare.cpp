// The wizard's creation step: from what lies beside the installer to a ready
// installation (or a message and the program's end through tExit).
#include <objbase.h>

#include <initializer_list>
#include <stdexcept>
#include <string_view>

#include "setup/SetupIds.h"
#include "setup/engine/Folders.h"
#include "setup/wizard/DiskFolders.h"
#include "setup/wizard/JoinParts.h"
#include "setup/wizard/PartCheck.h"
#include "setup/wizard/uCopy.h"
#include "setup/wizard/uSetup.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Handle.h"
#include "toolkit/ExitCodes.h"
#include "toolkit/Log.h"
#include "toolkit/PathText.h"
#include "toolkit/Silent.h"

namespace setup {

namespace {

// Thrown after a warning or a refused confirmation: the step ends quietly
// with the run's exit code.
struct StopPreparation {
  int code;
};

[[noreturn]] void Fail(const std::string& warning) {
  kw::ShowWarning(warning);
  throw StopPreparation{kw::exitcode::kFailed};
}

// A refused question: the user cancelled, or (unattended) nobody could answer.
[[noreturn]] void Stop() {
  throw StopPreparation{kw::Silent() ? kw::exitcode::kFailed : kw::exitcode::kCancelled};
}

// Unattended, nobody can insert the disk: where it was looked for is said.
[[noreturn]] void DiskMissing(const std::string& disk, const std::string& where) {
  Fail("Setup disk number " + disk + " is missing: there is no " + where + ".");
}

void Require(const std::string& question) {
  if (!kw::Confirm(question)) Stop();
}

// Where part `name` of disk `disk` lies, asking for the disk only when it is
// neither beside the installer nor in a disk folder copied beside its own.
// Unattended, nobody can change disks.
std::string FindPart(const std::string& source, const std::string& name, size_t disk) {
  for (;;) {
    std::vector<std::string> places = PartPlaces(source, name, disk);
    for (const std::string& place : places)
      if (FileExists(place)) return place;
    if (kw::Silent()) {
      std::string where;
      for (const std::string& place : places) where += (where.empty() ? "" : " or ") + place;
      DiskMissing(kw::Decimal(disk), where);
    }
    Require("Please insert setup disk number " + kw::Decimal(disk));
  }
}

std::string ModuleFolder() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return StripBackslash(kw::ExtractFilePath(std::string(buf, n)));
}

enum class Copied { kOk, kSourceFailed, kTargetFailed };

// Copies in blocks rather than by CopyFileA, so that a failure is known to be
// the setup disk's or the hard disk's, and the size and CRC come with the copy.
Copied CopyCounting(const std::string& from, const std::string& to, uint64_t* size, uint32_t* crc) {
  Copied result = Copied::kSourceFailed;
  {
    kw::FileHandle in(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in.ok()) return Copied::kSourceFailed;
    kw::FileHandle out(
        CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!out.ok()) return Copied::kTargetFailed;
    static char block[32768];
    Crc32 sum;
    uint64_t total = 0;
    for (;;) {
      DWORD got = 0, put = 0;
      if (!ReadFile(in.get(), block, sizeof block, &got, nullptr)) break;
      if (got == 0) {
        result = Copied::kOk;
        break;
      }
      if (!WriteFile(out.get(), block, got, &put, nullptr) || put != got) {
        result = Copied::kTargetFailed;
        break;
      }
      sum.Add(block, got);
      total += got;
    }
    *size = total;
    *crc = sum.Value();
  }
  if (result != Copied::kOk) DeleteFileA(to.c_str());  // half a file is never used
  return result;
}

// One text from its pieces: cheaper in the program than chains of operator+.
std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string s;
  for (std::string_view p : pieces) s.append(p.data(), p.size());
  return s;
}

void CannotRead(const std::string& path, const std::string& disk) {
  if (!kw::RetryCancel(Cat({"Setup disk ", disk, " cannot be read: ", path, ". Check the disk in the drive and click Retry."})))
    Stop();
}

using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// Free bytes and cluster size of the drive; false when the system cannot tell.
bool DriveSpace(const std::string& root, uint64_t* free, uint64_t* cluster) {
  DWORD perCluster = 0, perSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &perCluster, &perSector, &freeClusters, &clusters)) return false;
  *cluster = uint64_t(perCluster) * perSector;
  *free = uint64_t(freeClusters) * *cluster;
  // The first Windows 95 cannot count past 2 GB; later systems can, and count quotas too.
  auto ex = reinterpret_cast<FreeSpaceEx>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetDiskFreeSpaceExA")));
  ULARGE_INTEGER avail, total, all;
  if (ex && ex(root.c_str(), &avail, &total, &all)) *free = avail.QuadPart;
  return true;
}

}  // namespace

std::string TfSetup::PackageTitle() const {
  std::vector<std::string> lines = mCopyRight.Lines();
  return lines.empty() || lines[0].empty() ? std::string("this program") : lines[0];
}

// Asks until the temporary folder's drive holds files of these sizes; a drive
// whose room the system cannot tell is taken on trust.
void TfSetup::RequireRoom(const std::vector<uint64_t>& sizes) {
  const std::string root = DriveRoot(State.TempDir);
  for (;;) {
    uint64_t free = 0, cluster = 0, need = 0;
    if (root.empty() || !DriveSpace(root, &free, &cluster)) return;
    for (uint64_t s : sizes) need += OnDisk(s, cluster);
    if (need <= free) return;
    if (!kw::RetryCancel(Cat({"There is not enough room on drive ", root, " for the temporary installation files in ",
                              State.TempDir, ": ", GroupDigits(need), " bytes are needed, ", GroupDigits(free),
                              " are free. Make room on the drive and click Retry."})))
      Stop();
  }
}

// Brings part n (counted from 1) from its setup disk into the temporary folder:
// asks for the disk until the part is there, asks again while it cannot be
// read, and checks it against its record at once, so that a part of another
// package or a damaged one is refused while its disk is still in the drive.
void TfSetup::FetchPart(size_t n, const std::string& name, const PartRecord* record) {
  const std::string to = Cat({State.TempDir, "\\", name});
  const std::string disk = kw::Decimal(n);
  for (;;) {
    const std::string from = FindPart(State.SourceDir, name, n);
    uint64_t size = 0;
    uint32_t crc = 0;
    const Copied r = CopyCounting(from, to, &size, &crc);
    if (r == Copied::kTargetFailed) Fail("Could not create temporary install files");
    if (r == Copied::kSourceFailed) {
      CannotRead(from, disk);
      continue;
    }
    if (!record || (record->size == size && record->crc == crc)) {
      kw::Log({"Part ", name, " taken from ", from});
      return SetArchiveOnly(to);
    }
    DeleteFileA(to.c_str());
    if (!kw::WarnOkCancel(
            Cat({"This is not disk ", disk, " of ", PackageTitle(), ", or it is damaged. Insert disk ", disk, " and click OK."})))
      Stop();
  }
}

// An :EXTRA file into TempDir\EXTRA; false when disk 1 does not hold it.
bool TfSetup::FetchExtra(const std::string& item) {
  const std::string from = Cat({State.SourceDir, "\\", item}), to = Cat({State.TempDir, "\\EXTRA\\", item});
  if (!FileExists(from)) return false;
  for (;;) {
    uint64_t size = 0;
    uint32_t crc = 0;
    const Copied r = CopyCounting(from, to, &size, &crc);
    if (r == Copied::kOk) {
      kw::Log({"Extra file ", from});
      return SetArchiveOnly(to), true;
    }
    if (r == Copied::kTargetFailed) Fail("Could not create temporary install files");
    CannotRead(from, "1");
  }
}

void TfSetup::FormCreate() {
  comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
  try {
    Prepare();
  } catch (const StopPreparation& stop) {
    Result = stop.code;
    tExit.SetEnabled(true);
  } catch (const std::exception& e) {
    // Errors without a message of their own (a list too short, an archive
    // that cannot be made or read) end the run the same way, after their text.
    Result = kw::exitcode::kFailed;
    kw::ShowError(e.what());
    tExit.SetEnabled(true);
  }
}

void TfSetup::Prepare() {
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetBounds(int(sw * 0.5 - Width() * 0.5), int(sh * 0.5 - Height() * 0.5), Width(), Height());
  State.SourceDir = ModuleFolder();
  if (FileExists(State.SourceDir + "\\copyBrin.txt"))
    mCopyRight.SetLines(FileLines(State.SourceDir + "\\copyBrin.txt"));
  if (FileExists(State.SourceDir + "\\setup.lst")) PreparePackage();
  State.PackageDir = State.SourceDir;
  LoadInstallList();
}

// Steps of the packed layout: temporary folder, disks, joining, extraction.
void TfSetup::PreparePackage() {
  const std::string& source = State.SourceDir;
  if (!kw::Silent() && !source.empty() && (source[0] == 'A' || source[0] == 'a')) {
    std::vector<std::string> lines = mCopyRight.Lines();
    Require("This program will install " + (lines.empty() ? std::string() : lines[0]));
  }

  std::string base = GetWindowsFolder() + "\\TEMP\\QFINST";
  int n = 1;
  while (FolderExists(base + kw::Decimal(n))) ++n;
  State.TempDir = base + kw::Decimal(n);
  ForceFolders(State.TempDir);
  if (!FolderExists(State.TempDir)) Fail("Could not create temporary installation folder");
  const std::string& temp = State.TempDir;

  State.lbSetup.LoadFile(source + "\\setup.lst");
  const std::vector<std::string> parts = State.lbSetup.ListSection(section::kPackage);
  const std::vector<PartRecord> records = PartRecords(State.lbSetup);
  // Room for the parts and the archive joined from them, before any disk is asked for.
  std::vector<uint64_t> sizes;
  uint64_t archive = 0;
  for (const std::string& part : parts) {
    const PartRecord* r = FindPartRecord(records, part);
    if (!r) continue;  // taken on trust
    sizes.push_back(r->size);
    archive += r->size;
  }
  sizes.push_back(archive);
  RequireRoom(sizes);

  std::vector<std::string> extra;
  if (State.lbSetup.Has(section::kExtra)) {
    ForceFolders(temp + "\\EXTRA\\");
    for (const std::string& item : State.lbSetup.ListSection(section::kExtra))
      if (FetchExtra(item)) extra.push_back(item);
  }

  if (!State.lbSetup.Has(section::kPackage)) Fail("No install package information.");
  for (size_t i = 0; i < parts.size(); ++i) FetchPart(i + 1, parts[i], FindPartRecord(records, parts[i]));
  if (!parts.empty()) {
    // The installer and the package list live on disk 1.
    while (!FileExists(source + "\\" + parts[0])) {
      if (kw::Silent())
        DiskMissing("1", source + "\\" + parts[0]);
      Require("Please re-insert setup disk number 1");
    }
    std::vector<std::string> reversed;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) reversed.push_back(temp + "\\" + *it);
    std::string archive = temp + "\\" + kw::ChangeFileExt(parts[0], ".zip");
    JoinParts(archive, reversed);
    ExtractPackage(archive);
  } else {
    Fail("Error decompressing install package.");
  }

  for (const std::string& item : extra)
    if (!CopyFileA((temp + "\\EXTRA\\" + item).c_str(), (temp + "\\" + item).c_str(), FALSE))
      Fail("Could not create temporary install files");
  State.SourceDir = temp;
}

void TfSetup::ExtractPackage(const std::string& archive) {
  if (!FileExists(archive)) Fail("Error decompressing install package.");
  TfCopy window;  // destroyed on every path, also when reading the archive fails
  window.Create();
  window.Label1.SetText("Extracting file:");
  window.SetCaption("Extracting Setup Files");
  if (!kw::Silent()) window.Show();
  struct Bind {
    TfCopy*& slot;
    ~Bind() { slot = nullptr; }
  } bind{progress_ = &window};
  ZipExtractor1.SetZipFilename(archive);
  std::vector<uint64_t> sizes;
  for (const ZipDirEntry& e : ZipExtractor1.DirEntries()) sizes.push_back(e.UncompressedSize);
  RequireRoom(sizes);
  ZipExtractor1.ExtrBaseDir = State.TempDir;
  ZipExtractor1.Extract();
  window.Hide();
  // Going on with a partly unpacked package would install a broken program.
  if (ZipExtractor1.LastResult() != 0) Fail("Error decompressing install package.");
  kw::Log({"Unpacked ", archive, ": ", kw::Decimal(ZipExtractor1.Count()), " files"});
}

void TfSetup::LoadInstallList() {
  const std::string& source = State.SourceDir;
  if (!FileExists(source + "\\setup.ini")) Fail("Could not find installation list");
  State.lbSetup.LoadFile(source + "\\setup.ini");
  backTitle_->SetText(State.lbSetup.At(2));
  State.StartMenuFolder = State.lbSetup.At(1);
  State.DestDir = StripBackslash("C:\\Program Files" + State.lbSetup.At(0));
  State.ProgramName = State.lbSetup.At(2);
  SetCaption(State.ProgramName);
  mIntro.AddLine("This utility will install " + State.ProgramName +
                 ".  It is recommended that you close all other windows programs.  You can "
                 "switch to other Windows programs by pressing CTRL and TAB.");
  if (FileExists(source + "\\copyMott.txt")) mWarning.SetLines(FileLines(source + "\\copyMott.txt"));
  if (FileExists(source + "\\logo.bmp")) Image1.LoadFromFile(source + "\\logo.bmp");
}

void TfSetup::ZipExtractor1Progress(TZipExtractor* Sender, ProgressType ProgrType,
                                    const std::string& Filename, int32_t) {
  // Nothing here may stop the extraction.
  try {
    if (!progress_) return;
    if (ProgrType == ptFileBegin) {
      ++progress_->FileCount;
      progress_->lFileName.SetText(Filename);
      progress_->Repaint();
    }
    int32_t count = Sender->Count();
    if (count > 0) progress_->Guage.SetPosition(int(int64_t(progress_->FileCount) * 100 / count));
  } catch (...) {
  }
}

}  // namespace setup
