#include "report/model/qbx_diff.h"

#include "core/float_text.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {

void DiffAttr(String& out, StringView name, StringView value) {
  out += u' ';
  out += name;
  out += u"=\"";
  out += value;
  out += u'"';
}

void DiffInt(String& out, StringView name, int64_t value, int64_t other) {
  if (value != other) DiffAttr(out, name, IntToStr(value));
}

void DiffBool(String& out, StringView name, bool value, bool other) {
  if (value != other) DiffAttr(out, name, value ? u"True" : u"False");
}

void DiffFloat(String& out, StringView name, double value, double other) {
  if (value != other) DiffAttr(out, name, FloatText(value));
}

void DiffString(String& out, StringView name, const String& value, const String& other) {
  if (value != other) DiffAttr(out, name, XmlEscape(value));
}

}  // namespace zavrik
