// The end of the database work, overlapped with the export: once the report is prepared nothing
// reads the database again.
#pragma once

#include <thread>

#include "driver/data_module.h"

namespace zavrik::driver {

// Start() rolls back the data module's transactions (as the end of the process would) and
// detaches its connection on another thread, then calls `released` there; the destructor waits
// for it. A failure is left to the data module's end, which meets it the same way. Without a
// thread the end of the process does it all.
class DataRelease {
 public:
  DataRelease(Tdm& dm, void (*released)()) : dm_(dm), released_(released) {}
  ~DataRelease();
  DataRelease(const DataRelease&) = delete;
  DataRelease& operator=(const DataRelease&) = delete;

  // Once; nothing may use the data module's connection from then on.
  void Start();

 private:
  Tdm& dm_;
  void (*released_)();
  std::thread thread_;
};

}  // namespace zavrik::driver
