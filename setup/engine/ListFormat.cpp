#include "setup/engine/ListFormat.h"
#include "toolkit/Error.h"

#include <cstdio>
#include <memory>

#include "toolkit/PathText.h"

namespace setup {

std::vector<std::string> SplitLines(std::string_view text) {
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    out.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) out.emplace_back(text.substr(start));
  return out;
}

std::string ReadFileText(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) throw kw::Error("Cannot open file " + path);
  std::string text;
  char buf[8192];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) text.append(buf, n);
  if (std::ferror(f.get())) throw kw::Error("Cannot read file " + path);
  return text;
}

std::vector<std::string> FileLines(const std::string& path) {
  return SplitLines(ReadFileText(path));
}

LineList::LineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

void LineList::LoadText(std::string_view text, std::string_view source) {
  std::vector<std::string> lines = SplitLines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() <= kMaxListLine) continue;
    std::string msg = "Line " + kw::Decimal(i + 1);
    if (!source.empty()) msg += " of " + std::string(source);
    throw kw::Error(msg + " is longer than 4095 characters");
  }
  lines_ = std::move(lines);
}

void LineList::LoadFile(const std::string& path) { LoadText(ReadFileText(path), path); }

const std::string& LineList::At(size_t i) const {
  if (i >= lines_.size()) throw ListIndexError();
  return lines_[i];
}

int LineList::Find(std::string_view keyword) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (kw::SameText(lines_[i], keyword)) return int(i);
  return -1;
}

std::vector<std::string> LineList::ListEntries(int k) const {
  std::vector<std::string> out;
  for (size_t i = size_t(k) + 1; !IsTerminator(At(i)); ++i) out.push_back(lines_[i]);
  return out;
}

std::vector<std::string> LineList::ListSection(std::string_view keyword) const {
  int k = Find(keyword);
  return k < 0 ? std::vector<std::string>() : ListEntries(k);
}

std::string ExpandRemovePath(std::string_view entry, std::string_view windowsFolder,
                             std::string_view destDir) {
  std::string path(entry);
  if (path.compare(0, 8, "<WINDIR>") == 0) path = std::string(windowsFolder) + path.substr(8);
  if (path.compare(0, 9, "<INSTALL>") == 0)
    path = kw::StripBackslash(destDir) + "\\" + path.substr(9);
  return path;
}

CopyEntry ParseCopyEntry(std::string_view line) {
  CopyEntry e;
  if (!line.empty() && line[0] == '*') {
    e.keep = true;
    line.remove_prefix(1);
  }
  e.source = std::string(line);
  e.target = kw::LowerAscii(kw::ExtractFileExt(line)) == ".ex_" ? kw::ChangeFileExt(line, ".exe")
                                                                : e.source;
  return e;
}

}  // namespace setup
