// The launcher's settings and command lines as plain values: the enumerations,
// their platform numbers, the 255-character short strings and the two command
// lines. No Windows API, so they are tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

enum TWindowStyle : uint8_t { wsNorm, wsMinimize, wsMaximize, wsHide, wsMinNoActivate, wsShowNoActivate };
enum TPriorityClass : uint8_t { pcNormal, pcIdle, pcHigh, pcRealTime };
enum TWaitStyle : uint8_t { wRegular, wSuspend };

// Show-window value of the start-up record (SW_SHOWNORMAL ... SW_SHOWNA).
unsigned ShowWindowValue(TWindowStyle style);
// Priority-class creation flag (NORMAL_PRIORITY_CLASS ... REALTIME_PRIORITY_CLASS).
uint32_t PriorityFlag(TPriorityClass priority);

// A length byte and up to 255 characters: longer assignments are cut.
class InString {
 public:
  static constexpr size_t kMax = 255;
  InString() = default;
  InString(std::string_view s) : s_(s.substr(0, kMax)) {}
  InString(const char* s) : InString(std::string_view(s)) {}
  InString(const std::string& s) : InString(std::string_view(s)) {}
  const std::string& str() const { return s_; }
  const char* c_str() const { return s_.c_str(); }
  size_t size() const { return s_.size(); }
  bool empty() const { return s_.empty(); }
  operator const std::string&() const { return s_; }

 private:
  std::string s_;
};

// CommandLine, one blank, Parameters, joined as a short string (so cut at 255).
// The blank is there even when Parameters is empty.
std::string FirstCommandLine(const InString& commandLine, const InString& parameters);

// AssociatedExe, blank, CommandLine, blank, Parameters.
std::string FallbackCommandLine(std::string_view associatedExe, const InString& commandLine,
                                const InString& parameters);

// The fallback line goes to process creation through a 512-byte buffer; a line
// that does not fit with its terminating NUL is refused as a failed start.
constexpr size_t kFallbackBuffer = 512;
inline bool FitsFallbackBuffer(std::string_view line) { return line.size() < kFallbackBuffer; }

}  // namespace setup
