#include "driver/data_module.h"

namespace zavrik::driver {

const ClassInfo& Tdm::StaticClass() {
  static const ClassInfo info(u"Tdm", &Object::StaticClass(), nullptr, {});
  return info;
}

Tdm::Tdm() {
  Base.Params = {u"user_name=SYSDBA", u"password=plovertin", u"lc_ctype=UTF8"};
  Base.LoginPrompt = false;
  TR.SetDefaultDatabase(&Base);
  TR.AllowAutoStart = false;
  TR.Params = {u"read", u"read_committed", u"rec_version", u"nowait"};
  IBDatabaseInfo1.Database = &Base;
  qbxIBXComponents1.SetDefaultDatabase(&Base);
}

}  // namespace zavrik::driver
