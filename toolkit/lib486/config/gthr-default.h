// The win32 thread model, as the shipped programs' compiler was built with.
#include "config/i386/gthr-win32.h"
