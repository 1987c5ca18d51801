// unkerf: rebuilds a file from the slices named in its slice list. The logic
// needs no Windows API; unkerf_win.cpp (message boxes) and unkerf_posix.cpp
// (standard error) only show the outcome.
#pragma once
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "kerfwise/engine/Platform.h"

namespace unkerf {

// A slice list: "DEL" or "NODEL", the file to rebuild, then the slices in order.
struct SliceList {
  bool deleteSlices = false;
  std::string target;
  std::vector<std::string> slices;
};

// What went wrong, naming the file (a plain exception keeps unkerf.exe small).
struct JoinError : std::exception {
  explicit JoinError(std::string text) : text(std::move(text)) {}
  const char* what() const noexcept override { return text.c_str(); }
  std::string text;
};

// Throws JoinError("<path> is not a valid slice list") for a damaged list:
// a first line other than DEL/NODEL, no slice, or a name that is not a plain
// file name.
SliceList ParseSliceList(std::string_view text, const std::string& path);

// The slice list beside a joiner copy: "C:\DATA\REPORTs.exe" -> "C:\DATA\REPORT.sss".
std::string ListPathForProgram(std::string_view programPath);

// Asked, with the question's text, before a file of the target's name is
// replaced; true for Yes.
using ReplaceQuestion = bool (*)(const std::string& question);

// Rebuilds the file in the slice list's folder, under a temporary name first so
// that no half-built file ever carries the target's name, and checks every
// slice against the set's check values when it has them. A file of the
// target's name is replaced only when `replace` says Yes (never without it).
// Deletes the slices afterwards, once the rebuilt file is closed and complete,
// when the list asks for it. Returns the text to show; throws JoinError naming
// the file at fault, with nothing deleted and no rebuilt file left.
std::string JoinSlices(const std::string& listPath, kerfwise::Platform& fs, ReplaceQuestion replace = nullptr);

// The command line after the program name: "/q" (no message boxes, for
// scripts and tests) and the slice list path, quoted or not.
struct Options {
  bool quiet = false;
  std::string listPath;  // empty: the list beside the program
};
Options ParseCommandLine(std::string_view args);

// What the program does: the outcome's text, and whether it succeeded.
struct Outcome {
  bool ok = false;
  std::string text;
};
// Without /q an existing target is asked about through `ask`; with /q it is
// left as it is and the run fails.
Outcome RunJoiner(const Options& options, const std::string& programPath,
                  kerfwise::Platform& fs, ReplaceQuestion ask = nullptr);

}  // namespace unkerf
