// libgcc's target file list for i686-w64-mingw32.
#pragma once
#include "config/i386/value-unwind.h"
