// The entry of a console program.
#include <stdlib.h>

#include "toolkit/runtime/Runtime.h"

extern "C" int main(int, char**);

extern "C" __attribute__((force_align_arg_pointer)) void mainCRTStartup() {
  kwrt::Construct();
  int argc;
  char** argv = kwrt::Arguments(&argc);
  exit(main(argc, argv));
}
