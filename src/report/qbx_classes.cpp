#include "report/qbx_classes.h"

#include <mutex>

#include "core/rtti.h"

namespace zavrik {

void RegisterReportClasses() {
  // The creatable classes, one entry each. Pages, bands, views, frames, highlights, style items and
  // data sources join this table as they are implemented; until then templates naming them
  // report "Не удалось найти класс" for those elements.
  static const ClassInfo* const kClasses[] = {
      nullptr,
  };
  static std::once_flag once;
  std::call_once(once, [] {
    for (const ClassInfo* info : kClasses) {
      if (info) RegisterClass(*info);
    }
  });
}

}  // namespace zavrik
