// The file layer under the slicing engine and the joiner. Two implementations:
// Win32Platform.cpp (CreateFileA and friends; the Windows builds) and
// PosixPlatform.cpp (the native builds). Failures are thrown as IoError with the
// run-time library's I/O error number and message.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace kerfwise {

class ReadFile {
 public:
  virtual ~ReadFile() = default;
  virtual int64_t Size() = 0;
  // Up to count bytes; 0 at the end of the file.
  virtual size_t Read(void* buffer, size_t count) = 0;
};

class WriteFile {
 public:
  virtual ~WriteFile() = default;
  // All count bytes or IoError; a disk that takes fewer is "Disk full".
  virtual void Write(const void* buffer, size_t count) = 0;
  // Closes the file, IoError when the system cannot say its data is stored.
  // Destroying an open file closes it without a word (error paths); files
  // that hold nothing to lose (test doubles) may keep this default.
  virtual void Close() {}
};

class Platform {
 public:
  virtual ~Platform() = default;
  // Opens an existing file for reading only (read-only media work).
  virtual std::unique_ptr<ReadFile> OpenRead(const std::string& path) = 0;
  // Creates the file or truncates an existing one.
  virtual std::unique_ptr<WriteFile> Create(const std::string& path) = 0;
  // These report success only; callers decide whether a failure matters.
  virtual bool Delete(const std::string& path) = 0;
  virtual bool CopyOver(const std::string& from, const std::string& to) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // The path as the system spells it in full (absolute, long names, no "."
  // parts), for telling whether two spellings name one file. A last part that
  // does not exist yet is kept as given after its folder's full spelling.
  virtual std::string FullPath(const std::string& path) { return path; }
  // Folder of the running program, with a trailing backslash (slash natively).
  virtual std::string ProgramFolder() = 0;
  // The user's decimal separator (the disk estimate reads the size text with it).
  virtual char DecimalSeparator() = 0;
  // A millisecond clock for pacing message processing.
  virtual uint32_t Milliseconds() = 0;
};

// The platform of this build.
Platform& SystemPlatform();

// The whole of a file of at most `limit` bytes (slice lists, check files):
// false when it is larger; IoError when it cannot be read.
bool ReadSmallFile(Platform& fs, const std::string& path, int64_t limit, std::string& text);

}  // namespace kerfwise
