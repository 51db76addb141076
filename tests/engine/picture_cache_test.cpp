// The picture cache: bytes back by image index, segments, and file-backed segments in TempDir.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/pages/qbx_picture_cache.h"

namespace zavrik::test {
namespace {

std::vector<uint8_t> Bytes(size_t size, uint8_t first) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

TEST(PictureCache, ItemsRunToTheNextItemOrTheSegmentEnd) {
  TqbxPictureCache cache(10);  // a new segment once the last one is larger than 10 bytes
  EXPECT_EQ(cache.AddPicture({}), 0);
  EXPECT_EQ(cache.AddPicture(Bytes(6, 1)), 1);
  EXPECT_EQ(cache.AddPicture(Bytes(5, 20)), 2);  // same segment, now 11 bytes
  EXPECT_EQ(cache.AddPicture(Bytes(3, 40)), 3);  // second segment
  EXPECT_EQ(cache.SegmentCount(), 2);
  EXPECT_EQ(cache.GetPicture(1), Bytes(6, 1));
  EXPECT_EQ(cache.GetPicture(2), Bytes(5, 20));
  EXPECT_EQ(cache.GetPicture(3), Bytes(3, 40));
  EXPECT_TRUE(cache.GetPicture(0).empty());
  EXPECT_TRUE(cache.GetPicture(4).empty());
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
}

TEST(PictureCache, FileSegmentsLiveInTheTempDirUntilCleared) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "zavrik_picture_cache_test";
  std::filesystem::create_directories(dir);
  TqbxPictureCache cache(100);
  cache.SetUseFileCache(true);
  cache.SetTempDir(Utf8ToString(dir.string()));
  cache.AddPicture(Bytes(150, 0));
  cache.AddPicture(Bytes(70, 9));
  cache.SetUseFileCache(false);  // ignored while segments exist
  EXPECT_TRUE(cache.UseFileCache());
  const auto files = cache.SegmentFiles();
  ASSERT_EQ(files.size(), 2u);
  for (const auto& file : files) {
    EXPECT_EQ(file.parent_path(), dir);
    EXPECT_EQ(file.filename().string().rfind("qbPic", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(file));
  }
  EXPECT_EQ(cache.GetPicture(2), Bytes(70, 9));
  EXPECT_EQ(cache.GetPicture(1), Bytes(150, 0));
  cache.Clear();
  for (const auto& file : files) EXPECT_FALSE(std::filesystem::exists(file));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zavrik::test
