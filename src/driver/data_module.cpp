#include "driver/data_module.h"

namespace zavrik::driver {

const ClassInfo& Tdm::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"Tdm", &Object::StaticClass(), nullptr, {}); });
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

void Tdm::Connect(const String& database_path) {
  Base.DatabaseName = database_path;
  Base.LoginPrompt = false;
  Base.Params.SetValue(u"user_name", u"SYSDBA");
  Base.Params.SetValue(u"password", u"plovertin");
  Base.Connect();
  if (!TR.Active()) TR.StartTransaction();
}

}  // namespace zavrik::driver
