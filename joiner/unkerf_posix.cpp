// unkerf for the native builds: "unkerf [-q] <slice list>"; the outcome goes to
// standard error, the exit code is 0 when the file was rebuilt.
#include <cstdio>
#include <string>

#include "joiner/Join.h"

namespace {
bool AskReplace(const std::string& question) {
  std::fprintf(stderr, "%s [y/n] ", question.c_str());
  int c = std::getchar();
  return c == 'y' || c == 'Y';
}
}  // namespace

int main(int argc, char** argv) {
  std::string args;
  for (int i = 1; i < argc; ++i) args += std::string(i > 1 ? " " : "") + argv[i];
  unkerf::Options options = unkerf::ParseCommandLine(args);
  unkerf::Outcome r = unkerf::RunJoiner(options, argv[0], kerfwise::SystemPlatform(), AskReplace);
  if (!options.quiet) std::fprintf(stderr, "%s\n", r.text.c_str());
  return r.ok ? 0 : 1;
}
