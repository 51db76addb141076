// zavrik-tool emf FILE.emf OUT.png: plays a recorded drawing onto the raster canvas.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "commands.h"
#include "core/error.h"
#include "platform/emf_format.h"
#include "platform/emf_player.h"
#include "platform/raster_canvas.h"

namespace zavrik::tool {

int EmfCommand(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: zavrik-tool emf FILE.emf OUT.png\n", stderr);
    return 1;
  }
  std::ifstream in(argv[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "Cannot open file \"%s\"\n", argv[0]);
    return 1;
  }
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const Rect frame = EmfFrameInPixels(bytes);
  RasterCanvas canvas(frame.Width(), frame.Height());
  PlayEmf(bytes, canvas, Rect{0, 0, canvas.Width(), canvas.Height()});
  if (!canvas.WritePng(argv[1])) {
    std::fprintf(stderr, "Cannot write file \"%s\"\n", argv[1]);
    return 1;
  }
  return 0;
}

}  // namespace zavrik::tool
