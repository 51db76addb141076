// The loader's directories as the ICU probe filter sees them.
#include "driver/library_directories.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zavrik::driver {
namespace {

namespace fs = std::filesystem;

class LibraryDirectoriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zavrik-libdirs-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }
  std::string Dir(const std::string& name) {
    fs::create_directories(root_ / name);
    return (root_ / name).string();
  }
  void Touch(const std::string& dir, const std::string& file) { std::ofstream(fs::path(dir) / file); }
  void Write(const std::string& file, const std::string& text) { std::ofstream(root_ / file) << text; }
  fs::path root_;
};

TEST_F(LibraryDirectoriesTest, DirectoriesComeInTheLoadersOrderOnce) {
  const std::string env = Dir("env"), origin = Dir("origin"), conf = Dir("conf"), inc = Dir("inc");
  Write("ld.so.conf", "# comment\n" + conf + "  # trailing comment\nhwcap 0 nosegneg\ninclude conf.d/*.conf\n" +
                          "relative/dir\n");
  fs::create_directories(root_ / "conf.d");
  Write("conf.d/a.conf", inc + "/\n" + env + "\n");
  const auto dirs = LibraryDirectories::Scan(env + "::" + env + ";" + origin, (root_ / "ld.so.conf").string(),
                                             {origin, "relative"});
  const auto& list = dirs.Directories();
  ASSERT_GE(list.size(), 4u);
  EXPECT_EQ(list[0], env);
  EXPECT_EQ(list[1], origin);
  EXPECT_EQ(list[2], conf);
  EXPECT_EQ(list[3], inc);  // the trailing slash is dropped, the repeated env directory is not added
  EXPECT_EQ(std::count(list.begin(), list.end(), env), 1);
  for (const std::string& dir : list) EXPECT_EQ(dir.front(), '/') << dir;
  EXPECT_NE(std::find(list.begin(), list.end(), "/usr/lib"), list.end());
}

// Made-up names: the default directories of the machine hold the real libraries.
TEST_F(LibraryDirectoriesTest, FindsOnlyTheListedPrefixAndLocatesTheFirstHolder) {
  const std::string first = Dir("first"), second = Dir("second");
  Touch(second, "libzvprobeuc.so.72");
  Touch(first, "libzvprobei18n.so.72");
  Touch(second, "libzvprobei18n.so.72");
  Touch(first, "libother.so.1");
  auto dirs = LibraryDirectories::Scan(first + ":" + second, (root_ / "missing.conf").string(), {});
  dirs.List("libzvprobe");
  EXPECT_TRUE(dirs.Holds("libzvprobeuc.so.72"));
  EXPECT_FALSE(dirs.Holds("libzvprobeuc.so.52"));
  EXPECT_FALSE(dirs.Holds("libother.so.1"));
  EXPECT_TRUE(dirs.HoldsAnyStartingWith("libzvprobeuc.so."));
  EXPECT_FALSE(dirs.HoldsAnyStartingWith("libzvprobedata.so."));
  EXPECT_EQ(dirs.Locate("libzvprobei18n.so.72"), first + "/libzvprobei18n.so.72");
  EXPECT_EQ(dirs.Locate("libzvprobeuc.so.72"), second + "/libzvprobeuc.so.72");
  EXPECT_EQ(dirs.Locate("libzvprobeuc.so.52"), "");
}

// Objects loaded after the scan (the engine's plugins) bring their directories in among the
// earlier objects' ones, ahead of ld.so.conf's, and only those are read.
TEST_F(LibraryDirectoriesTest, LaterObjectDirectoriesJoinBeforeTheConfiguredOnes) {
  const std::string env = Dir("env"), early = Dir("early"), conf = Dir("conf"), late = Dir("late");
  Write("ld.so.conf", conf + "\n");
  Touch(late, "libzvprobeuc.so.72");
  auto dirs = LibraryDirectories::Scan(env, (root_ / "ld.so.conf").string(), {early});
  dirs.List("libzvprobe");
  EXPECT_FALSE(dirs.HoldsAnyStartingWith("libzvprobeuc.so."));
  dirs.AddObjectDirectories({early, late, late + "/", conf}, "libzvprobe");
  const auto& list = dirs.Directories();
  ASSERT_GE(list.size(), 4u);
  EXPECT_EQ(list[0], env);
  EXPECT_EQ(list[1], early);
  EXPECT_EQ(list[2], late);
  EXPECT_EQ(list[3], conf);
  EXPECT_EQ(std::count(list.begin(), list.end(), late), 1);
  EXPECT_EQ(dirs.Locate("libzvprobeuc.so.72"), late + "/libzvprobeuc.so.72");
  Touch(early, "libzvprobeuc.so.73");  // a directory already read is not read again
  dirs.AddObjectDirectories({early}, "libzvprobe");
  EXPECT_FALSE(dirs.Holds("libzvprobeuc.so.73"));
}

TEST_F(LibraryDirectoriesTest, IncludeLoopsAndUnreadableDirectoriesEndQuietly) {
  Write("loop.conf", "include " + (root_ / "loop.conf").string() + "\n" + Dir("lib") + "\n");
  auto dirs = LibraryDirectories::Scan("/nonexistent/dir", (root_ / "loop.conf").string(), {});
  dirs.List("libicu");
  EXPECT_EQ(std::count(dirs.Directories().begin(), dirs.Directories().end(), (root_ / "lib").string()), 1);
}

}  // namespace
}  // namespace zavrik::driver
