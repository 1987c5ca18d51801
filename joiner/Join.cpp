#include "joiner/Join.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "kerfwise/engine/CheckFile.h"
#include "kerfwise/engine/Crc32.h"
#include "kerfwise/engine/IoError.h"
#include "toolkit/PathText.h"

namespace unkerf {

namespace {
constexpr int64_t kBlock = 2048;
constexpr size_t kMaxList = 1 << 20;  // far more than any slice list
constexpr size_t kBuffer = 256 * 1024;

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.emplace_back(line);
    start = end + 1;
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  return out;
}

bool PlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '\0' || c == '\r') return false;
  // By character: in a double-byte code page '\' may be a second byte.
  return kw::FindChar(name, "\\/:") == std::string_view::npos;
}

std::string ReadAll(const std::string& path, kerfwise::Platform& fs, const char* kind = "slice list") {
  std::string text;
  try {
    if (!kerfwise::ReadSmallFile(fs, path, int64_t(kMaxList), text)) throw JoinError(path + " is not a valid " + kind);
    return text;
  } catch (const kerfwise::IoError& e) {
    throw JoinError("Cannot read " + std::string(kind) + " " + path + ": " + e.what());
  }
}

// The check values beside the list, when the set has them (sets of older
// splitters and sets made by hand have none and join unchecked).
std::optional<kerfwise::CheckValues> ReadCheckValues(const std::string& listPath, const SliceList& list,
                                                     kerfwise::Platform& fs) {
  std::string path = kerfwise::CheckFilePath(listPath);
  if (!fs.Exists(path)) return std::nullopt;
  std::optional<kerfwise::CheckValues> v = kerfwise::ParseCheckFile(ReadAll(path, fs, "check file"));
  if (!v) throw JoinError(path + " is not a valid check file");
  bool same = kw::SameText(v->whole.name, list.target) && v->slices.size() == list.slices.size();
  for (size_t i = 0; same && i < list.slices.size(); ++i) same = kw::SameText(v->slices[i].name, list.slices[i]);
  if (!same) throw JoinError(path + " does not hold the check values of " + listPath);
  return v;
}

std::string NotWritten(const std::string& slice) { return slice + " is not the slice that was written: "; }

// A file of the target's name is put aside until the rebuilt one has its
// name, so that it is never lost to a failed rename.
void Replace(const std::string& temp, const std::string& target, kerfwise::Platform& fs) {
  std::string aside = target + ".$$~";
  bool existed = fs.Exists(target);
  if (existed) {
    fs.Delete(aside);
    if (!fs.Rename(target, aside)) {
      fs.Delete(temp);
      throw JoinError("Cannot replace " + target);
    }
  }
  if (!fs.Rename(temp, target)) {
    if (existed) fs.Rename(aside, target);
    fs.Delete(temp);
    throw JoinError("Cannot rename " + temp + " to " + target);
  }
  if (existed) fs.Delete(aside);
}

// Slices of one set: all but the last of one length, the last at most one
// block short of a block more than that.
void CheckLengths(const std::vector<std::string>& paths, const std::vector<int64_t>& sizes) {
  size_t n = sizes.size();
  if (n < 2) return;
  int64_t full = *std::max_element(sizes.begin(), sizes.end() - 1);
  for (size_t i = 0; i + 1 < n; ++i)
    if (sizes[i] != full || full == 0 || sizes[n - 1] >= full + kBlock)
      throw JoinError("Slice " + paths[i] + " is incomplete");
}
}  // namespace

SliceList ParseSliceList(std::string_view text, const std::string& path) {
  std::vector<std::string> lines = Lines(text);
  SliceList list;
  bool ok = lines.size() >= 3 && (lines[0] == "DEL" || lines[0] == "NODEL");
  for (size_t i = 1; ok && i < lines.size(); ++i) ok = PlainName(lines[i]);
  if (!ok) throw JoinError(path + " is not a valid slice list");
  list.deleteSlices = lines[0] == "DEL";
  list.target = lines[1];
  list.slices.assign(lines.begin() + 2, lines.end());
  return list;
}

std::string ListPathForProgram(std::string_view programPath) {
  std::string base = kw::ChangeFileExt(programPath, "");
  if ((kw::EndsWithChar(base, 's') || kw::EndsWithChar(base, 'S')) &&
      !kw::ExtractFileName(base).empty())
    base.pop_back();
  return base + ".sss";
}

std::string JoinSlices(const std::string& listPath, kerfwise::Platform& fs, ReplaceQuestion replace) {
  SliceList list = ParseSliceList(ReadAll(listPath, fs), listPath);
  std::optional<kerfwise::CheckValues> check = ReadCheckValues(listPath, list, fs);
  std::string folder = kw::ExtractFilePath(listPath);
  std::string target = folder + list.target;
  std::vector<std::string> paths;
  std::vector<int64_t> sizes;
  for (const std::string& s : list.slices) {
    paths.push_back(folder + s);
    try {
      sizes.push_back(fs.OpenRead(paths.back())->Size());
    } catch (const kerfwise::IoError& e) {
      throw JoinError("Cannot read slice " + paths.back() + ": " + e.what());
    }
  }
  if (check)
    for (size_t i = 0; i < paths.size(); ++i)
      if (sizes[i] != check->slices[i].size)
        throw JoinError(NotWritten(paths[i]) + "it holds " + std::to_string(sizes[i]) + " bytes, the slice written " +
                        std::to_string(check->slices[i].size) + ".");
  CheckLengths(paths, sizes);
  std::string question = target + " already exists.\n\nReplace it with the file rebuilt from the slices?";
  if (fs.Exists(target) && !(replace && replace(question)))
    throw JoinError(target + " already exists and was left as it is.");

  std::string temp = target + ".$$$";
  int64_t total = 0;
  try {
    auto out = fs.Create(temp);
    std::vector<char> buffer(kBuffer);
    uint32_t whole = 0;
    for (size_t i = 0; i < paths.size(); ++i) {
      int64_t copied = 0;
      uint32_t crc = 0;
      try {
        auto in = fs.OpenRead(paths[i]);
        while (size_t n = in->Read(buffer.data(), buffer.size())) {
          copied += int64_t(n);
          if (check) crc = kerfwise::Crc32(crc, buffer.data(), n);
          try {
            out->Write(buffer.data(), n);
          } catch (const kerfwise::IoError& e) {
            throw JoinError("Cannot rebuild " + target + ": " + e.what());
          }
        }
      } catch (const kerfwise::IoError& e) {
        throw JoinError("Cannot read slice " + paths[i] + ": " + e.what());
      }
      if (copied != sizes[i]) throw JoinError("Slice " + paths[i] + " changed while joining");
      total += copied;
      if (check && crc != check->slices[i].crc)
        throw JoinError(NotWritten(paths[i]) + "its check value is " + kerfwise::CrcText(crc) +
                        ", the slice written had " + kerfwise::CrcText(check->slices[i].crc) + ".");
      if (check) whole = kerfwise::Crc32Combine(whole, crc, copied);
    }
    if (check && (whole != check->whole.crc || total != check->whole.size))
      throw JoinError(target + " rebuilt from these slices is not the file that was sliced.");
    // Data that could not be stored shows at the close, on a network drive
    // often only there.
    try {
      out->Close();
    } catch (const kerfwise::IoError& e) {
      throw JoinError("Cannot rebuild " + target + ": " + e.what());
    }
    out.reset();
    if (fs.OpenRead(temp)->Size() != total)
      throw JoinError("Cannot rebuild " + target + ": " + kerfwise::IoMessage(kerfwise::kDiskFull));
  } catch (const kerfwise::IoError& e) {
    fs.Delete(temp);
    throw JoinError("Cannot rebuild " + target + ": " + e.what());
  } catch (...) {
    fs.Delete(temp);
    throw;
  }
  Replace(temp, target, fs);
  if (list.deleteSlices)
    for (size_t i = 0; i < paths.size(); ++i)
      if (!kw::SameText(list.slices[i], list.target)) fs.Delete(paths[i]);
  return target + " has been rebuilt from " + std::to_string(paths.size()) +
         (paths.size() == 1 ? " slice." : " slices.");
}

Options ParseCommandLine(std::string_view args) {
  Options o;
  auto skipBlanks = [&] {
    while (!args.empty() && (args.front() == ' ' || args.front() == '\t')) args.remove_prefix(1);
  };
  skipBlanks();
  while (args.size() >= 2 && (args[0] == '/' || args[0] == '-') && (args[1] == 'q' || args[1] == 'Q') &&
         (args.size() == 2 || args[2] == ' ' || args[2] == '\t')) {
    o.quiet = true;
    args.remove_prefix(2);
    skipBlanks();
  }
  while (!args.empty() && (args.back() == ' ' || args.back() == '\t')) args.remove_suffix(1);
  for (char c : args)
    if (c != '"') o.listPath += c;
  return o;
}

Outcome RunJoiner(const Options& options, const std::string& programPath,
                  kerfwise::Platform& fs, ReplaceQuestion ask) {
  std::string list =
      options.listPath.empty() ? ListPathForProgram(programPath) : options.listPath;
  try {
    return {true, JoinSlices(list, fs, options.quiet ? nullptr : ask)};
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

}  // namespace unkerf
