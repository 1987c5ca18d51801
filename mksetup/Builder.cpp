#include "mksetup/Builder.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "mksetup/Fs.h"
#include "mksetup/RunTool.h"
#include "mksetup/ZipWrite.h"
#include "setup/components/ZipDir.h"
#include "setup/engine/ListFormat.h"
#include "setup/wizard/JoinParts.h"
#include "toolkit/Error.h"
#include "toolkit/PathText.h"
#include "unpack/MemIo.h"

namespace mksetup {

namespace {

std::string DiskFolder(const Options& opt, size_t i) { return JoinPath(opt.out, "disk" + std::to_string(i + 1)); }
std::string ImagePath(const Options& opt, size_t i) { return DiskFolder(opt, i) + ".img"; }

// The files and the part of one disk, in the order they are written.
std::vector<std::pair<std::string, const std::string*>> Contents(const Plan& plan, size_t i) {
  std::vector<std::pair<std::string, const std::string*>> v;
  for (const SourceFile* f : plan.disks[i].files) v.emplace_back(f->name, &f->data);
  return v;
}

// Files on the disks carry a time from the project, never the clock: the
// newest of the package's files.
int64_t NewestTime(const Project& p) {
  int64_t t = 315532800;  // 1980-01-01, the first DOS date
  for (const SourceFile& f : p.package) t = f.mtime > t ? f.mtime : t;
  return t;
}


// What an earlier run left in OUT: diskN folders and diskN.img images (or a
// link by such a name, which the clean-up removes, never what it points to).
bool IsOutput(const FolderEntry& e) {
  std::string n = e.name;
  if (e.link && n.size() > 4 && n.substr(n.size() - 4) == ".img") n.resize(n.size() - 4);
  else if (!e.folder) {
    if (n.size() < 4 || n.substr(n.size() - 4) != ".img") return false;
    n.resize(n.size() - 4);
  }
  return n.size() > 4 && n.rfind("disk", 0) == 0 && n.find_first_not_of("0123456789", 4) == std::string::npos;
}

std::string Group(uint64_t n) {
  std::string s = std::to_string(n);
  for (int i = int(s.size()) - 3; i > 0; i -= 3) s.insert(size_t(i), ",");
  return s;
}

}  // namespace

std::string PackageList(const std::vector<std::string>& extras, const std::vector<setup::PartRecord>& parts) {
  std::string s;
  if (!extras.empty()) {
    s += ":EXTRA\r\n";
    for (const std::string& e : extras) s += e + "\r\n";
    s += ":\r\n";
  }
  s += ":PACKAGE\r\n";
  for (const setup::PartRecord& p : parts) s += p.name + "\r\n";
  s += ":\r\n";
  s += std::string(setup::section::kParts) + "\r\n";
  for (const setup::PartRecord& p : parts) s += setup::FormatPartRecord(p) + "\r\n";
  return s + ":\r\n";
}

bool MakePlan(const Options& opt, const Project& p, Plan* plan, std::string* why) {
  if (p.package.size() > 65535) return *why = "more than 65,535 package files", false;
  std::vector<ZipSource> sources;
  for (const SourceFile& f : p.package) {
    sources.push_back({f.name, f.data, DosTime(f.mtime)});
    plan->unpacked += f.data.size();
  }
  plan->archive = WriteZip(sources, opt.best ? Packing::Best : Packing::Default);
  std::vector<std::string> extras;
  for (const SourceFile& f : p.extras) extras.push_back(f.name);

  // setup.lst names every part with its size, so its length and the room on
  // disk 1 depend on the cut: repeat until the cut gives the list it was made
  // for. The length counted only grows, so the rounds end.
  auto records = [&](const std::vector<uint64_t>& sizes) {
    std::vector<setup::PartRecord> r(sizes.empty() ? 1 : sizes.size());
    for (size_t i = 0; i < r.size(); ++i) {
      r[i].name = opt.name + "." + std::to_string(i + 1);
      r[i].size = sizes.empty() ? 0 : sizes[i];
    }
    return r;
  };
  const std::string first = opt.name + ".1";
  std::vector<uint64_t> sizes;
  uint64_t lstBytes = 0;
  bool settled = false;
  for (int round = 0; round < 20 && !settled; ++round) {
    lstBytes = std::max<uint64_t>(lstBytes, PackageList(extras, records(sizes)).size());
    std::vector<DiskFile> fixed{{p.setupExe.name, p.setupExe.data.size()},
                                {p.unpackDll.name, p.unpackDll.data.size()},
                                {"setup.lst", lstBytes}};
    for (const auto* v : {&p.beside, &p.extras})
      for (const SourceFile& f : *v) fixed.push_back({f.name, f.data.size()});
    uint64_t room1 = 0;
    if (!PartRoom(opt.disk, fixed, first, &room1, why)) return false;
    std::vector<uint64_t> next = CutSizes(plan->archive.size(), room1, opt.disk.dataBytes);
    settled = next == sizes;
    sizes = std::move(next);
  }
  if (!settled) return *why = "the number of disks does not settle", false;
  std::vector<setup::PartRecord> parts = records(sizes);
  for (size_t i = 0; i < parts.size(); ++i)
    parts[i].crc = setup::Crc32Of(std::string_view(plan->archive).substr(PartOffset(sizes, i), sizes[i]));
  plan->setupLst = PackageList(extras, parts);

  const int64_t when = NewestTime(p);
  plan->lstFile = SourceFile{"setup.lst", "", plan->setupLst, when};
  plan->disks.assign(sizes.size(), Disk{});
  Disk& d1 = plan->disks[0];
  d1.files = {&p.setupExe, &p.unpackDll, &plan->lstFile};
  for (const auto* v : {&p.beside, &p.extras})
    for (const SourceFile& f : *v) d1.files.push_back(&f);
  for (size_t i = 0; i < sizes.size(); ++i) {
    Disk& d = plan->disks[i];
    d.partName = parts[i].name;
    d.partOffset = PartOffset(sizes, i);
    d.partSize = sizes[i];
    d.used = SpaceOf(d.partSize, opt.disk);
    for (const SourceFile* f : d.files) d.used += SpaceOf(f->data.size(), opt.disk);
  }
  return true;
}

void CheckOutFolder(const Options& opt) {
  if (!IsFolder(opt.out)) return;
  for (const FolderEntry& e : ListFolder(opt.out))
    if (!IsOutput(e))
      throw kw::Error(opt.out + " holds " + e.name + ", which mksetup did not make: name a new or empty folder");
}

void WriteDisks(const Options& opt, const Plan& plan) {
  CheckOutFolder(opt);
  if (IsFolder(opt.out)) {
    for (const FolderEntry& e : ListFolder(opt.out)) RemoveTree(JoinPath(opt.out, e.name));
  }
  MakeFolders(opt.out);
  for (size_t i = 0; i < plan.disks.size(); ++i) {
    const Disk& d = plan.disks[i];
    const std::string folder = DiskFolder(opt, i);
    MakeFolders(folder);
    for (const SourceFile* f : d.files) {
      const std::string path = JoinPath(folder, f->name);
      WriteFile(path, f->data);
      SetFileTime(path, f->mtime);
    }
    const std::string part = JoinPath(folder, d.partName);
    WriteFile(part, plan.archive.substr(d.partOffset, d.partSize));
    SetFileTime(part, plan.lstFile.mtime);
  }
}

int RemoveDisks(const Options& opt) {
  if (!IsFolder(opt.out)) return 0;
  int n = 0;
  for (const FolderEntry& e : ListFolder(opt.out))
    if (IsOutput(e)) RemoveTree(JoinPath(opt.out, e.name)), ++n;
  return n;
}

int VerifyDisks(const Options& opt, const Project& p, const Plan& plan) {
  auto fail = [](const std::string& what) { throw kw::Error("verification failed: " + what); };
  // Every file beside the installer as it was meant to be.
  for (size_t i = 0; i < plan.disks.size(); ++i)
    for (const SourceFile* f : plan.disks[i].files)
      if (ReadFile(JoinPath(DiskFolder(opt, i), f->name)) != f->data)
        fail("disk" + std::to_string(i + 1) + "/" + f->name + " differs from its source");

  // The parts as setup.lst names them, joined last listed first.
  setup::LineList lst;
  lst.LoadFile(JoinPath(DiskFolder(opt, 0), "setup.lst"));
  const std::vector<std::string> names = lst.ListSection(":PACKAGE");
  if (names.size() != plan.disks.size()) fail("setup.lst names " + std::to_string(names.size()) + " parts");
  const std::vector<setup::PartRecord> records = setup::PartRecords(lst);
  for (size_t n = 0; n < names.size(); ++n) {
    const setup::PartRecord* r = setup::FindPartRecord(records, names[n]);
    const std::string part = ReadFile(JoinPath(DiskFolder(opt, n), names[n]));
    if (!r || r->size != part.size() || r->crc != setup::Crc32Of(part))
      fail("disk" + std::to_string(n + 1) + "/" + names[n] + " does not match its record in setup.lst");
  }
  std::vector<std::string> parts;
  for (size_t n = names.size(); n-- > 0;) parts.push_back(JoinPath(DiskFolder(opt, n), names[n]));
  const std::string joined = JoinPath(opt.out, kw::ChangeFileExt(names[0], ".zip"));
  struct Scratch {
    std::string path;
    ~Scratch() { std::remove(path.c_str()); }
  } scratch{joined};
  setup::JoinParts(joined, parts);

  std::vector<setup::ZipDirEntry> entries;
  {
    setup::ZipFileStream s(joined);
    setup::WalkZipDirectory(s, entries);
  }
  if (entries.size() != p.package.size())
    fail("the installer's walk finds " + std::to_string(entries.size()) + " entries, not " +
         std::to_string(p.package.size()));

  const std::string bytes = ReadFile(joined);
  if (bytes != plan.archive) fail("the joined parts differ from the archive");
  unpack::MemInput in(bytes);
  unpack::MemOutput out;
  unpack::LogReporter rep;
  unpack::Options uo;
  uo.archiveName = joined;
  const int rc = unpack::Extract(in, out, rep, uo);
  if (rc != 0) fail("the unpack core reports error " + std::to_string(rc) +
                    (rep.messages.empty() ? "" : ": " + rep.messages.front().second));
  if (rep.begun.size() != p.package.size() || out.files.size() != p.package.size())
    fail("the unpack core gives " + std::to_string(out.files.size()) + " files, not " + std::to_string(p.package.size()));
  for (size_t i = 0; i < p.package.size(); ++i) {
    const SourceFile& f = p.package[i];
    if (entries[i].FileName != f.name) fail("entry " + std::to_string(i + 1) + " is " + entries[i].FileName);
    auto it = out.files.find(f.name);
    if (it == out.files.end() || it->second.data != f.data) fail(f.name + " unpacks differently");
    if (it->second.dosTime != DosTime(f.mtime)) fail(f.name + " unpacks with another time");
  }
  return int(entries.size());
}

void WriteImages(const Options& opt, const Plan& plan) {
  if (opt.disk.mformatKb == 0)
    throw kw::Error("--images needs a floppy size (720K, 1.2M, 1.44M or 2.88M), not " + opt.disk.name);
  // mtools stamps the label and the entries from this, not from the clock.
  const std::vector<std::string> env{"SOURCE_DATE_EPOCH=" + std::to_string(plan.lstFile.mtime),
                                     "MTOOLS_SKIP_CHECK=1", "MTOOLS_NO_VFAT=0"};
  std::string label = kw::UpperAscii(opt.name).substr(0, 8);
  for (size_t i = 0; i < plan.disks.size(); ++i) {
    const std::string img = ImagePath(opt, i);
    std::remove(img.c_str());
    const std::string vol = (label + " " + std::to_string(i + 1)).substr(0, 11);
    char serial[16];
    std::snprintf(serial, sizeof serial, "%08X", unsigned(0x5E7A0000u + i + 1));
    if (RunTool({"mformat", "-C", "-i", img, "-f", std::to_string(opt.disk.mformatKb), "-v", vol, "-N", serial, "::"}, env) != 0)
      throw kw::Error("mformat could not make " + img + " (--images needs mtools: mformat and mcopy on the PATH)");
    std::vector<std::string> args{"mcopy", "-m", "-i", img};
    const std::string folder = DiskFolder(opt, i);
    for (const SourceFile* f : plan.disks[i].files) args.push_back(JoinPath(folder, f->name));
    args.push_back(JoinPath(folder, plan.disks[i].partName));
    args.push_back("::/");
    if (RunTool(args, env) != 0) {
      std::remove(img.c_str());
      throw kw::Error("mcopy could not fill " + img + ": what was counted to fit does not fit");
    }
  }
}

std::string Summary(const Options& opt, const Project& p, const Plan& plan) {
  std::string s;
  char line[256];
  std::snprintf(line, sizeof line, "%s: %zu disk%s of %s (%s bytes of data space each)\n",
                p.facts.programName.c_str(), plan.disks.size(), plan.disks.size() == 1 ? "" : "s",
                opt.disk.name.c_str(), Group(opt.disk.dataBytes).c_str());
  s += line;
  const double pct = plan.unpacked ? 100.0 * double(plan.archive.size()) / double(plan.unpacked) : 100.0;
  std::snprintf(line, sizeof line, "archive: %zu files, %s bytes packed into %s bytes (%.1f%%%s)\n", p.package.size(),
                Group(plan.unpacked).c_str(), Group(plan.archive.size()).c_str(), pct, opt.best ? ", --best" : "");
  s += line;
  for (size_t i = 0; i < plan.disks.size(); ++i) {
    const Disk& d = plan.disks[i];
    std::string names;
    for (const auto& c : Contents(plan, i)) names += c.first + " ";
    names += d.partName;
    std::snprintf(line, sizeof line, "disk %zu: %13s bytes used, %13s free  ", i + 1, Group(d.used).c_str(),
                  Group(opt.disk.dataBytes - d.used).c_str());
    s += line + names + "\n";
  }
  for (const std::string& n : p.notes) s += "added: " + n + "\n";
  return s;
}

}  // namespace mksetup
