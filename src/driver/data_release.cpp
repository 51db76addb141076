#include "driver/data_release.h"

#include <system_error>

#include "core/error.h"

namespace zavrik::driver {

DataRelease::~DataRelease() {
  if (thread_.joinable()) thread_.join();
}

void DataRelease::Start() {
  if (thread_.joinable() || !dm_.Base.Connected()) return;
  try {
    thread_ = std::thread([&dm = dm_, released = released_] {
      try {
        dm.Base.RollbackAndDisconnect();
      } catch (const Error&) {
        return;  // still attached: the data module's end tries again
      }
      if (released) released();
    });
  } catch (const std::system_error&) {
  }
}

}  // namespace zavrik::driver
