#include "report/model/qbx_diff.h"

#include "core/float_text.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {

void DiffAttr(String& out, DiffName name, StringView value) {
  out += u' ';
  out += name.Head;
  out += name.Tail;
  out += u"=\"";
  out += value;
  out += u'"';
}

void DiffInt(String& out, DiffName name, int64_t value, int64_t other) {
  if (value != other) DiffAttr(out, name, IntToStr(value));
}

void DiffBool(String& out, DiffName name, bool value, bool other) {
  if (value != other) DiffAttr(out, name, value ? u"True" : u"False");
}

void DiffFloat(String& out, DiffName name, double value, double other) {
  if (value != other) DiffAttr(out, name, FloatText(value));
}

void DiffString(String& out, DiffName name, const String& value, const String& other) {
  if (value != other) DiffAttr(out, name, XmlEscape(value));
}

}  // namespace zavrik
