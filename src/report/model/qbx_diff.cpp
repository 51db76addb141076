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

void DiffIntAttr(String& out, DiffName name, int64_t value) { DiffAttr(out, name, IntToStr(value)); }

void DiffFloatAttr(String& out, DiffName name, double value) { DiffAttr(out, name, FloatText(value)); }

void DiffStringAttr(String& out, DiffName name, const String& value) { DiffAttr(out, name, XmlEscape(value)); }

}  // namespace zavrik
