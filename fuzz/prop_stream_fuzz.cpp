// The binary property stream (`PropData`) from arbitrary bytes: walked value by value by the
// reader, and read by the serializer into a memo, a data band and a template query. Only the
// ordinary error kind may escape, and nothing may crash or hang.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/error.h"
#include "data/ibx_components.h"
#include "report/model/qbx_classes.h"
#include "report/document/qbx_prop_stream.h"
#include "report/model/qbx_report.h"

namespace {

void WalkValues(std::string_view bytes) {
  using namespace zavrik;
  TqbxPropReader reader(bytes);
  try {
    while (!reader.AtEnd()) {
      reader.ReadShortText();
      const TValueType type = reader.PeekValueType();
      if (type == vaSet) {
        reader.ReadValueType();
        reader.ReadSetNames();
      } else if (type == vaBinary) {
        reader.ReadValueType();
        reader.ReadBinary();
      } else if (type == vaList || type == vaCollection) {
        reader.SkipValue();
      } else {
        reader.ReadScalar(reader.ReadValueType());
      }
    }
  } catch (const zavrik::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zavrik;
  RegisterReportClasses();
  data::RegisterDataClasses();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  WalkValues(bytes);

  const std::string hex = StringToUtf8(BytesToHex(bytes));
  const std::string prop = " PropData=\"" + hex + "\"";
  std::istringstream in(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport>"
      "<TqbxDataPage Name=\"Data\"><TqbxIBXQuery Name=\"Q\"" + prop + "/></TqbxDataPage>"
      "<TqbxReportPage Name=\"Page1\"><TqbxMasterData Name=\"B\" Height=\"20\"" + prop + ">"
      "<TqbxMemoView Name=\"M\" Width=\"100\" Height=\"20\"" + prop + "/>"
      "</TqbxMasterData></TqbxReportPage></TqbxReport>");
  TqbxReport report;
  report.EngineOptions()->NewSilentMode = simSilent;
  report.LoadFromStream(in);
  return 0;
}
