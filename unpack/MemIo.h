// The core's Input, Output and Reporter in memory: for the tests and the
// fuzzer, which must not touch the disk.
#pragma once
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "unpack/UnpackCore.h"

namespace unpack {

class MemInput : public Input {
 public:
  explicit MemInput(std::string data) : data_(std::move(data)) {}
  uint64_t Size() override { return data_.size(); }
  bool ReadAt(uint64_t off, void* buf, size_t n) override {
    if (off > data_.size() || data_.size() - off < n) return false;
    std::memcpy(buf, data_.data() + off, n);
    return true;
  }

 private:
  std::string data_;
};

class MemOutput : public Output {
 public:
  struct File {
    std::string data;
    uint32_t dosTime = 0;
  };
  std::map<std::string, File> files;
  std::set<std::string> folders;
  size_t writeLimit = size_t(-1);  // total bytes before writes fail (disk full)

  Kind Probe(const std::string& path, uint32_t* dosTime) override {
    if (folders.count(path)) return kFolder;
    const auto f = files.find(path);
    if (f == files.end()) return kNone;
    if (dosTime) *dosTime = f->second.dosTime;
    return kFile;
  }
  bool MakeFolder(const std::string& path) override {
    if (files.count(path) || !Parent(path)) return false;
    return folders.insert(path).second;
  }
  std::unique_ptr<OutFile> CreateNew(const std::string& path) override {
    if (files.count(path) || folders.count(path) || !Parent(path)) return nullptr;
    files[path];
    return std::make_unique<Writer>(this, path);
  }
  bool Remove(const std::string& path) override { return files.erase(path) == 1; }
  bool Rename(const std::string& from, const std::string& to) override {
    if (!files.count(from) || files.count(to) || folders.count(to)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }

 private:
  bool Parent(const std::string& path) const {
    const size_t s = path.rfind('/');
    return s == std::string::npos || folders.count(path.substr(0, s));
  }
  class Writer : public OutFile {
   public:
    Writer(MemOutput* o, std::string p) : o_(o), p_(std::move(p)) {}
    bool Write(const void* data, size_t n) override {
      if (n > o_->writeLimit) return false;
      o_->writeLimit -= n;
      o_->files[p_].data.append(static_cast<const char*>(data), n);
      return true;
    }
    bool Close(uint32_t dosTime) override {
      o_->files[p_].dosTime = dosTime;
      return true;
    }

   private:
    MemOutput* o_;
    std::string p_;
  };
};

// Keeps every report; answers "stop" after stopAfter files when set.
class LogReporter : public Reporter {
 public:
  std::vector<std::string> begun;
  std::vector<std::pair<int, std::string>> messages;
  int stopAfter = -1;
  bool FileBegin(const std::string& name, uint32_t, int, int) override {
    begun.push_back(name);
    return stopAfter >= 0 && int(begun.size()) >= stopAfter;
  }
  bool Message(int code, const std::string& text) override {
    messages.emplace_back(code, text);
    return false;
  }
};

}  // namespace unpack
