#include "engine/pages/qbx_picture_cache.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/error.h"

namespace zavrik {

TqbxPictureCache::~TqbxPictureCache() { Clear(); }

void TqbxPictureCache::SetUseFileCache(bool value) {
  if (FSegments.empty()) FUseFileCache = value;
}

void TqbxPictureCache::SetTempDir(const String& value) {
  if (FSegments.empty()) FTempDir = value;
}

void TqbxPictureCache::AddSegment() {
  Segment segment;
  if (FUseFileCache) {
    std::error_code error;
    std::filesystem::path dir =
        FTempDir.empty() ? std::filesystem::path() : std::filesystem::path(StringToUtf8(FTempDir));
    if (dir.empty() || !std::filesystem::is_directory(dir, error))
      dir = std::filesystem::temp_directory_path();
    std::string name = (dir / "qbPicXXXXXX").string();
    const int fd = mkstemp(name.data());
    if (fd < 0) throw Error("Cannot create file \"" + name + "\"");
    close(fd);
    auto file = std::make_unique<std::fstream>(
        name, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
    if (!*file) throw Error("Cannot open file \"" + name + "\"");
    segment.Stream = std::move(file);
    segment.File = name;
  } else {
    segment.Stream =
        std::make_unique<std::stringstream>(std::ios::in | std::ios::out | std::ios::binary);
  }
  FSegments.push_back(std::move(segment));
}

int TqbxPictureCache::AddPicture(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return 0;
  if (FSegments.empty() || FSegments.back().Size > FSegmentLimit) AddSegment();
  Segment& segment = FSegments.back();
  segment.Stream->clear();
  segment.Stream->seekp(segment.Size);
  segment.Stream->write(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<std::streamsize>(bytes.size()));
  segment.Stream->flush();
  if (!*segment.Stream) throw Error(u"Cannot write the picture cache");
  FItems.push_back({static_cast<int>(FSegments.size()) - 1, segment.Size});
  segment.Size += static_cast<int64_t>(bytes.size());
  return Count();
}

std::vector<uint8_t> TqbxPictureCache::GetPicture(int image_index) const {
  if (image_index < 1 || image_index > Count()) return {};
  const TqbxCacheItem& item = FItems[static_cast<size_t>(image_index - 1)];
  const Segment& segment = FSegments[static_cast<size_t>(item.Segment)];
  int64_t end = segment.Size;
  if (image_index < Count() && FItems[static_cast<size_t>(image_index)].Segment == item.Segment) {
    end = FItems[static_cast<size_t>(image_index)].Offset;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(end - item.Offset));
  segment.Stream->clear();
  segment.Stream->seekg(item.Offset);
  segment.Stream->read(reinterpret_cast<char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
  if (!*segment.Stream) throw Error(u"Cannot read the picture cache");
  return bytes;
}

std::vector<std::filesystem::path> TqbxPictureCache::SegmentFiles() const {
  std::vector<std::filesystem::path> files;
  for (const Segment& segment : FSegments) {
    if (!segment.File.empty()) files.push_back(segment.File);
  }
  return files;
}

void TqbxPictureCache::Clear() {
  for (Segment& segment : FSegments) {
    segment.Stream.reset();
    std::error_code ignored;
    if (!segment.File.empty()) std::filesystem::remove(segment.File, ignored);
  }
  FSegments.clear();
  FItems.clear();
}

}  // namespace zavrik
