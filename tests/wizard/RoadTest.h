// The start of a test that walks the installer's road: newer Windows calls
// than the shipped programs may use (RegDeleteTree, RegGetValue,
// GetGUIThreadInfo), GoogleTest, the installer's control ids and the road kit.
#pragma once
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0600
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include <gtest/gtest.h>

#include "setup/SetupIds.h"
#include "tests/wizard/Road.h"
