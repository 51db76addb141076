#include "engine/pages/qbx_xml_props.h"

#include "core/format_settings.h"
#include "core/number_parse.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_item.h"

namespace zavrik {

int IntProp(const TqbxXMLItem& item, StringView name, int fallback) {
  if (!item.PropExists(name)) return fallback;
  return ParseInt32(item.GetProp(name)).value_or(fallback);
}

double FloatProp(const TqbxXMLItem& item, StringView name, double fallback) {
  static const FormatSettings dot;
  if (!item.PropExists(name)) return fallback;
  return ParseFloat(item.GetProp(name), dot).value_or(fallback);
}

void SetFloatProp(TqbxXMLItem& item, StringView name, double value) {
  item.SetProp(name, FloatText(value));
}

}  // namespace zavrik
