// Slicing then joining gives the original bytes, whichever way the slices are
// put back: by unkerf's logic or in the batch file's "copy /b" order.
#include <gtest/gtest.h>

#include <set>

#include "joiner/Join.h"
#include "kerfwise/engine/SliceRun.h"
#include "tests/slicing/SliceTestKit.h"

using namespace kerfwise;
using slicetest::Get;
using slicetest::Pattern;
using slicetest::Put;

namespace {
// The files that "copy /b A + B + C T" puts together, in order, over every
// step ("copy /b T + D + E T" appends to what the steps before joined).
std::vector<std::string> CopyOrder(const std::string& bat) {
  std::vector<std::string> names;
  for (size_t at = 0; (at = bat.find("copy /b ", at)) != std::string::npos; at += 8) {
    std::string line = bat.substr(at + 8, bat.find("\r\n", at) - at - 8);
    std::string target = line.substr(line.rfind(' ') + 1);
    size_t start = 0;
    std::vector<std::string> step;
    for (size_t plus; (plus = line.find(" + ", start)) != std::string::npos; start = plus + 3)
      step.push_back(line.substr(start, plus - start));
    step.push_back(line.substr(start, line.rfind(' ') - start));
    bool appends = !names.empty() && step[0] == target;
    names.insert(names.end(), step.begin() + (appends ? 1 : 0), step.end());
  }
  return names;
}

std::set<int64_t> SizesAround(const SlicePlan& p) {
  std::set<int64_t> out{0, 1, 2, 2047, 2048, 2049};
  for (int64_t k = 1; k <= 3; ++k)
    for (int64_t edge : {k * p.length, (k - 1) * p.length + p.threshold})
      for (int64_t d : {int64_t(-1), int64_t(0), int64_t(1)}) out.insert(edge + d);
  return out;
}
}  // namespace

TEST(RoundTrip, EverySizeAroundEverySliceBoundary) {
  slicetest::Platform fs;
  std::string dir = slicetest::ScratchFolder();
  fs.programFolder = dir;
  int cases = 0;
  for (const char* text : {"0.05", "0.0320", "@1", "@7", "@2047", "@2048", "@3000", "@4096"}) {
    SlicePlan plan = ParseSliceSize(text);
    for (int64_t size : SizesAround(plan)) {
      if (size < 0 || size > 3 * plan.threshold + 4096) continue;
      std::string base = "f" + std::to_string(++cases);
      std::string name = base + ".bin";
      std::string out = dir + "o" + std::to_string(cases) + "\\";
      slicetest::MakeFolder(out);
      std::string bytes = Pattern(size_t(size), unsigned(cases));
      Put(dir + name, bytes);
      RunInputs in;
      in.sources = {dir + name};
      in.sizeText = text;
      in.destination = Destination::SlicedPath;
      in.slicePath = out;
      slicetest::Host host;
      ASSERT_EQ(RunSlicing(in, host, fs), RunOutcome::Done) << text << " " << size;

      std::string joined;
      std::vector<std::string> order = CopyOrder(Get(out + base + "s.bat"));
      for (const std::string& s : order) joined += Get(out + s);
      EXPECT_EQ(joined, bytes) << "copy /b, " << text << " " << size;
      EXPECT_EQ(order.size(), SliceLengths(size, plan).size());

      unkerf::JoinSlices(out + base + ".sss", fs);
      EXPECT_EQ(Get(out + name), bytes) << "unkerf, " << text << " " << size;
    }
  }
  EXPECT_GT(cases, 80);
}
