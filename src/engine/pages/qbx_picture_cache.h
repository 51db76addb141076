// TqbxPictureCache: the pictures of printed picture views, stored once as bytes in their own file
// format. Items are (segment, offset) pairs; segments are memory streams, or temporary files
// named "qbPic…" in TempDir when UseFileCache is set. An item's bytes run to the next item of the
// same segment or to the segment's end. Image indexes are 1-based; 0 means no picture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <vector>

#include "core/ustring.h"

namespace zavrik {

struct TqbxCacheItem {
  int Segment = 0;
  int64_t Offset = 0;
};

class TqbxPictureCache {
 public:
  static constexpr int64_t kSegmentLimit = 1789569705;

  explicit TqbxPictureCache(int64_t segment_limit = kSegmentLimit) : FSegmentLimit(segment_limit) {}
  ~TqbxPictureCache();
  TqbxPictureCache(const TqbxPictureCache&) = delete;
  TqbxPictureCache& operator=(const TqbxPictureCache&) = delete;

  // Both take effect only while no segment exists.
  void SetUseFileCache(bool value);
  void SetTempDir(const String& value);
  bool UseFileCache() const { return FUseFileCache; }

  // Stores a picture's bytes; the new item's image index, or 0 for no bytes.
  int AddPicture(const std::vector<uint8_t>& bytes);
  // The bytes of an item; empty for an index outside 1..Count.
  std::vector<uint8_t> GetPicture(int image_index) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  int SegmentCount() const { return static_cast<int>(FSegments.size()); }
  // The files of file-backed segments (for checks and clean-up).
  std::vector<std::filesystem::path> SegmentFiles() const;
  // Drops every item and segment, deleting the segment files.
  void Clear();

 private:
  struct Segment {
    std::unique_ptr<std::iostream> Stream;
    std::filesystem::path File;  // empty for memory segments
    int64_t Size = 0;
  };
  void AddSegment();

  int64_t FSegmentLimit;
  bool FUseFileCache = false;
  String FTempDir;
  std::vector<Segment> FSegments;
  std::vector<TqbxCacheItem> FItems;
};

}  // namespace zavrik
