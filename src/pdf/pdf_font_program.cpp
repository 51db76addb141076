#include "pdf/pdf_font_program.h"

#include <exception>
#include <map>
#include <mutex>
#include <utility>

#include "platform/font_face.h"

namespace zavrik::pdf {
namespace {

struct Entry {
  std::once_flag read;
  FontProgram program;
  std::exception_ptr failure;
};

// Keyed by file and face index: a face object may go while its file stays.
Entry& EntryFor(const FontLocation& location) {
  static std::mutex mutex;
  static std::map<std::pair<std::string, int>, std::unique_ptr<Entry>> entries;
  std::lock_guard lock(mutex);
  std::unique_ptr<Entry>& entry = entries[{location.path, location.index}];
  if (!entry) entry = std::make_unique<Entry>();
  return *entry;
}

}  // namespace

const FontProgram& FontProgramOf(const FontFace& face) {
  Entry& entry = EntryFor(face.Location());
  std::call_once(entry.read, [&] {
    try {
      entry.program.bytes = face.FileBytes();
      entry.program.font = ReadTrueType(entry.program.bytes, face.Location().index);
      if (entry.program.font) entry.program.checksum_errors = entry.program.font->ChecksumErrors();
    } catch (...) {
      entry.failure = std::current_exception();
    }
  });
  if (entry.failure) std::rethrow_exception(entry.failure);
  return entry.program;
}

void PreloadFontPrograms(const std::vector<std::shared_ptr<const FontFace>>& faces) noexcept {
  for (const std::shared_ptr<const FontFace>& face : faces) {
    try {
      if (face) FontProgramOf(*face);
    } catch (...) {
    }
  }
}

}  // namespace zavrik::pdf
