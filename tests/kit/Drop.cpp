// WM_DROPFILES from outside the target. An HDROP is an HGLOBAL, which is only
// meaningful inside its own process, so the block is written into the target's
// memory: a page from VirtualAllocEx is fixed memory, and GlobalLock (inside
// DragQueryFile) hands fixed memory back as it is. DragFinish cannot free it
// (it is not from the heap); the page goes with the process.
#include "tests/kit/Internal.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace uikit {

using namespace detail;

std::vector<uint8_t> DropFilesBlock(const std::vector<std::string>& files, POINT pt) {
  DROPFILES head{};
  head.pFiles = sizeof head;
  head.pt = pt;
  head.fNC = FALSE;
  head.fWide = FALSE;
  std::vector<uint8_t> block(sizeof head);
  std::memcpy(block.data(), &head, sizeof head);
  for (const auto& f : files) {
    block.insert(block.end(), f.begin(), f.end());
    block.push_back(0);
  }
  block.push_back(0);
  if (files.empty()) block.push_back(0);
  return block;
}

void DropFiles(HWND w, const std::vector<std::string>& files, POINT pt) {
  std::vector<uint8_t> block = DropFilesBlock(files, pt);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE proc = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!proc) throw Failure("cannot open the process of " + Describe(w) + " to drop files");
  void* remote = VirtualAllocEx(proc, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  SIZE_T written = 0;
  bool ok = remote && WriteProcessMemory(proc, remote, block.data(), block.size(), &written) &&
            written == block.size();
  CloseHandle(proc);
  if (!ok) throw Failure("cannot write the dropped names into the process of " + Describe(w));
  Post(w, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

}  // namespace uikit
