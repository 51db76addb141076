#include "report/qbx_classes.h"

#include <mutex>
#include <vector>

#include "core/rtti.h"

namespace zavrik {

void RegisterReportClasses() {
  // The creatable classes, one entry each. Pages, bands, views, frames, highlights, style items and
  // data sources join this table as they are implemented; until then templates naming them
  // report "Не удалось найти класс" for those elements.
  static const std::vector<const ClassInfo*> kClasses = {};
  static std::once_flag once;
  std::call_once(once, [] {
    for (const ClassInfo* info : kClasses) RegisterClass(*info);
  });
}

}  // namespace zavrik
