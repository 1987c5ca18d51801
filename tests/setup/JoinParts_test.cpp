// Joining package parts into one archive.
#include "setup/wizard/JoinParts.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace setup;
namespace fs = std::filesystem;

namespace {

class JoinPartsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("joinparts" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

}  // namespace

TEST_F(JoinPartsTest, AppendsInTheOrderGivenAcrossBlockEdges) {
  std::string a(2048, 'a'), b(2049, 'b'), c = "", d(1, 'd');
  std::vector<std::string> parts = {Write("p.3", a), Write("p.2", b), Write("p.0", c), Write("p.1", d)};
  Write("p.zip", "old contents that must go");
  JoinParts(Path("p.zip"), parts);
  EXPECT_EQ(Read("p.zip"), a + b + c + d);
  EXPECT_EQ(Read("p.3"), a);  // the parts stay as they were
}

TEST_F(JoinPartsTest, ArchiveNamedLikeAPartIsNeverTruncatedBeforeItIsRead) {
  std::string first = "PK first part", second = "second part";
  // Joined last listed first: the archive's own name is read last.
  std::vector<std::string> parts = {Write("b.2", second), Write("pkg.zip", first)};
  JoinParts(Path("pkg.zip"), parts);
  EXPECT_EQ(Read("pkg.zip"), second + first);
  EXPECT_FALSE(fs::exists(Path("pkg.zip.$$$")));

  // A one-part package that is the archive itself stays as it is.
  JoinParts(Path("pkg.zip"), {Path("pkg.zip")});
  EXPECT_EQ(Read("pkg.zip"), second + first);
}

TEST_F(JoinPartsTest, MissingPartOrFolderIsAnError) {
  try {
    JoinParts(Path("x.zip"), {Path("nothere.1")});
    FAIL();
  } catch (const kw::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + Path("nothere.1"));
  }
  try {
    JoinParts(Path("nofolder/x.zip"), {});
    FAIL();
  } catch (const kw::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + Path("nofolder/x.zip"));
  }
}
