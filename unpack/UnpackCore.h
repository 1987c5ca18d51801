// The extraction core of UNPACK32.DLL: reads a ZIP archive's central directory
// and extracts its stored and deflated entries through a small file-system
// interface. No Windows API, so it is tested, fuzzed and measured natively;
// the DLL (Unpack32.cpp) is a thin layer over it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace unpack {

// The archive, read at given offsets.
class Input {
 public:
  virtual ~Input() = default;
  virtual uint64_t Size() = 0;
  // Reads exactly n bytes at off; false when they are not all there.
  virtual bool ReadAt(uint64_t off, void* buf, size_t n) = 0;
};

// A file being written. Destroying one that was not closed closes it.
class OutFile {
 public:
  virtual ~OutFile() = default;
  virtual bool Write(const void* data, size_t n) = 0;
  // Sets the modification time (DOS date in the high word, time in the low)
  // and closes the file.
  virtual bool Close(uint32_t dosTime) = 0;
};

// Where files go. Paths are relative to the extraction folder, with '/'
// between their parts; the core makes them safe before it asks.
class Output {
 public:
  enum Kind { kNone, kFile, kFolder };
  virtual ~Output() = default;
  // What is at path; for a file also its modification time in DOS form.
  virtual Kind Probe(const std::string& path, uint32_t* dosTime) = 0;
  virtual bool MakeFolder(const std::string& path) = 0;
  // Creates a new file; fails (nullptr) when something of that name exists.
  virtual std::unique_ptr<OutFile> CreateNew(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Renames a file; the new name must be free.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // After a run cut short where no destructor ran (a processor fault):
  // closes and removes the files it created that were neither renamed nor
  // removed since.
  virtual void Abandon() {}
};

// Who hears of the progress. Either answer true to stop the extraction.
class Reporter {
 public:
  virtual ~Reporter() = default;
  // Before a file is written: its stored name and uncompressed size; index
  // counts from 1 over the archive's entries.
  virtual bool FileBegin(const std::string& name, uint32_t size, int index, int total) = 0;
  // A problem (code != 0) or, when verbose, a notice (code 0); text ends in CR LF.
  virtual bool Message(int code, const std::string& text) = 0;
};

struct Options {
  std::string archiveName;  // for the messages
  bool dirNames = false;    // keep stored folders; else every file lands in the top folder
  bool overwrite = false;   // replace existing files
  bool freshen = false;     // only replace existing files that are older
  bool update = false;      // replace older files and add missing ones
  bool verbose = false;     // also report entries passed over
  std::vector<std::string> specs;  // wildcards (* ?) over the names; empty: all
  // Turns a stored name holding non-ASCII bytes into the platform's character
  // set (utf8: the entry's UTF-8 flag, else the DOS code page). The name is
  // made safe after this. Null: names are used as stored.
  std::string (*convertName)(const std::string& stored, bool utf8) = nullptr;
  // The form of an output path under which the file system finds the same
  // file (letter case folded). Null: ASCII letters folded.
  std::string (*foldName)(const std::string& path) = nullptr;
};

// Extracts; returns 0 when every selected entry was extracted intact, else the
// highest error code of the run (UnzipError in UnzipApi.h). Two entries that
// land on one file (letter case ignored) are a problem: the later one is not
// written. An exception from the Output or the Reporter passes through,
// with no temporary file left behind.
int Extract(Input& in, Output& out, Reporter& rep, const Options& opt);

// The stored name as a safe relative path ('/' separated, trailing '/' for a
// folder), or empty with why set when the name is refused.
std::string SafePath(const std::string& stored, std::string* why);

// Wildcard match ignoring ASCII case; '\' and '/' are the same.
bool MatchSpec(const std::string& spec, const std::string& name);

}  // namespace unpack
