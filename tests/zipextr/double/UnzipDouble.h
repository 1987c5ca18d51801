// What the stand-in library saw of its last request.
#pragma once
#include "unpack/UnzipApi.h"

constexpr int kDoubleSpecs = 8;

struct DoubleRecord {
  int calls = 0;
  int answers = 0;  // sum of the callback's answers
  UnzipRequest request;
  char words[sizeof(UnzipRequest)];
  char zipName[512];
  char specs[kDoubleSpecs][512];
};

extern "C" const DoubleRecord* DoubleSeen();
