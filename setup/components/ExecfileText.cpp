#include "setup/components/ExecfileText.h"

namespace setup {

unsigned ShowWindowValue(TWindowStyle style) {
  static const unsigned kShow[] = {1, 2, 3, 0, 7, 8};
  return style <= wsShowNoActivate ? kShow[style] : 1;
}

uint32_t PriorityFlag(TPriorityClass priority) {
  static const uint32_t kFlag[] = {0x20, 0x40, 0x80, 0x100};
  return priority <= pcRealTime ? kFlag[priority] : 0x20;
}

std::string FirstCommandLine(const InString& commandLine, const InString& parameters) {
  return InString(commandLine.str() + " " + parameters.str()).str();
}

std::string FallbackCommandLine(std::string_view associatedExe, const InString& commandLine,
                                const InString& parameters) {
  std::string line(associatedExe);
  line += ' ';
  line += commandLine.str();
  line += ' ';
  line += parameters.str();
  return line;
}

}  // namespace setup
