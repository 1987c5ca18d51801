// The core over real files, on archives made by Info-ZIP's zip.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "unpack/FileIo.h"
#include "unpack/MemIo.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void Spit(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

class UnpackFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/unpack_test.XXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    dir_ = tmpl;
    ASSERT_EQ(Sh("mkdir -p src/sub/deep out && seq 1 200000 > src/big.txt && head -c 200000 /dev/urandom > "
                 "src/sub/noise.bin && echo hi > src/sub/deep/hi.txt && : > src/empty"),
              0);
  }
  void TearDown() override { Sh("cd / && rm -rf " + dir_); }
  int Sh(const std::string& cmd) { return std::system(("cd " + dir_ + " && " + cmd).c_str()); }
  int Extract(const std::string& zip, bool dirNames, unpack::LogReporter& rep) {
    unpack::Options opt;
    opt.dirNames = dirNames;
    opt.archiveName = dir_ + "/" + zip;
    const auto in = unpack::OpenArchive(opt.archiveName);
    if (!in) return -1;
    const auto out = unpack::FolderOutput(dir_ + "/out");
    return unpack::Extract(*in, *out, rep, opt);
  }
  std::string dir_;
};

TEST_F(UnpackFiles, InfoZipTreeIsRebuiltByteForByte) {
  ASSERT_EQ(Sh("cd src && zip -qr ../a.zip . && zip -q0 ../a.zip empty"), 0);
  unpack::LogReporter rep;
  EXPECT_EQ(Extract("a.zip", true, rep), 0);
  EXPECT_TRUE(rep.messages.empty());
  EXPECT_EQ(Sh("diff -r src out"), 0);
  // Times come back too (DOS precision: two seconds).
  struct stat a, b;
  ASSERT_EQ(stat((dir_ + "/src/big.txt").c_str(), &a), 0);
  ASSERT_EQ(stat((dir_ + "/out/big.txt").c_str(), &b), 0);
  EXPECT_LE(std::llabs(static_cast<long long>(a.st_mtime - b.st_mtime)), 2);
}

TEST_F(UnpackFiles, StreamedArchiveWithDataDescriptors) {
  // Written to a pipe, zip cannot seek back: sizes follow the data.
  ASSERT_EQ(Sh("cd src && zip -q -r - . | cat > ../s.zip"), 0);
  unpack::LogReporter rep;
  EXPECT_EQ(Extract("s.zip", false, rep), 0);
  EXPECT_EQ(Slurp(dir_ + "/out/noise.bin"), Slurp(dir_ + "/src/sub/noise.bin"));
  EXPECT_EQ(Slurp(dir_ + "/out/hi.txt"), "hi\n");
}

TEST_F(UnpackFiles, FlippedByteGivesMessageAndNoFile) {
  ASSERT_EQ(Sh("cd src && zip -q ../f.zip big.txt"), 0);
  std::string zip = Slurp(dir_ + "/f.zip");
  zip[30 + 7 + 1000] ^= 0x55;  // inside big.txt's deflated data
  Spit(dir_ + "/f.zip", zip);
  unpack::LogReporter rep;
  EXPECT_NE(Extract("f.zip", false, rep), 0);
  EXPECT_FALSE(rep.messages.empty());
  EXPECT_EQ(Sh("test -z \"$(ls -A out)\""), 0);
}

}  // namespace
