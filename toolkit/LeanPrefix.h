// Forced into every Windows translation unit: std::string members are
// instantiated where they are used, so the linker keeps only those, instead of
// pulling the C++ library's whole pre-built string object.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
