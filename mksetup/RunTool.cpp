#include "mksetup/RunTool.h"

#include <cstdlib>

#ifdef _WIN32
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace mksetup {

int RunTool(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  std::vector<std::string> quoted;
  for (const std::string& a : args)
#ifdef _WIN32
    // The C runtime joins the arguments with blanks into one command line.
    quoted.push_back(a.find(' ') == std::string::npos ? a : "\"" + a + "\"");
#else
    quoted.push_back(a);
#endif
  std::vector<char*> argv;
  for (const std::string& a : quoted) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
#ifdef _WIN32
  for (const std::string& e : env) _putenv(e.c_str());
  const intptr_t rc = _spawnvp(_P_WAIT, argv[0], argv.data());
  return rc < 0 ? -1 : int(rc);
#else
  std::vector<char*> envp;
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  envp.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace mksetup
