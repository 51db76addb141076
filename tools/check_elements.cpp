// The template's elements as the reader meets them: each attribute is applied on its own to a new
// object of the element's class through the template serializer, so a refused value is named
// with its object and attribute; references are looked up on the loaded report.
#include <memory>
#include <sstream>

#include "core/error.h"
#include "core/rtti.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/model/qbx_strings.h"
#include "report/document/qbx_xml_document.h"
#include "template_check.h"

namespace zavrik::tool {
namespace {

struct Attribute {
  String name, raw;
};

// The attributes of an element's text, as the serializer splits them.
std::vector<Attribute> SplitAttributes(StringView text) {
  std::vector<Attribute> result;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == u' ') ++i;
    const size_t equals = text.find(u'=', i);
    if (equals == StringView::npos) break;
    StringView name = text.substr(i, equals - i);
    while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
    const size_t open = text.find(u'"', equals);
    if (name.empty() || open == StringView::npos) break;
    size_t close = text.find(u'"', open + 1);
    if (close == StringView::npos) close = text.size();
    result.push_back({String(name), String(text.substr(open + 1, close - open - 1))});
    i = close + 1;
  }
  return result;
}

// Where an attribute lands: the object its dotted name walks to (owned sub-objects only) and the
// property there; `known` is false when the reader would drop the attribute.
struct Landing {
  Object* target = nullptr;
  const PropInfo* prop = nullptr;
  bool known = false;
};

Landing Land(Object& object, StringView name) {
  Landing landing{&object};
  for (size_t dot = name.find(u'.'); dot != StringView::npos; dot = name.find(u'.')) {
    const PropInfo* prop = landing.target->ClassType().FindProp(name.substr(0, dot));
    if (!prop || prop->kind != TypeKind::Class || prop->reference || !prop->get) break;
    Object* sub = prop->get(*landing.target).ObjectValue();
    if (!sub) break;
    landing.target = sub;
    name = name.substr(dot + 1);
  }
  const bool component = dynamic_cast<TqbxComponent*>(landing.target) != nullptr;
  const bool memo = dynamic_cast<TqbxMemoText*>(landing.target) != nullptr;
  if (name.size() == 1 && ((component && String(u"ltwh").find(name[0]) != String::npos) ||
                           (memo && (name[0] == u'x' || name[0] == u'u')))) {
    landing.known = true;
  } else if (SameTextAscii(name, u"Text") && (memo || dynamic_cast<TStrings*>(landing.target))) {
    landing.known = true;
  } else if (SameTextAscii(name, u"PropData") || (SameTextAscii(name, u"Name") && component)) {
    landing.known = true;
  } else {
    landing.prop = landing.target->ClassType().FindProp(name);
    landing.known = landing.prop != nullptr;
  }
  return landing;
}

String ObjectName(const TqbxXMLItem& item, const TqbxComponent* loaded) {
  if (loaded && loaded->IsReport()) return u"Report";
  const String name = item.GetProp(u"Name");
  return name.empty() ? u"<" + item.Name() + u">" : name;
}

class ElementChecker {
 public:
  ElementChecker(TqbxReport& report, CheckFindings& findings, bool old_format)
      : FReport(report), FFindings(findings) {
    FSerializer.OldFormat = old_format;
  }

  void Walk(TqbxXMLItem& root) {
    struct Frame {
      TqbxXMLItem* item;
      std::unique_ptr<TqbxComponent> scratch;
      int next_child;
    };
    std::vector<Frame> stack;
    if (auto scratch = Visit(root, &FReport)) stack.push_back({&root, std::move(scratch), 0});
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (top.next_child >= top.item->Count()) {
        stack.pop_back();
        continue;
      }
      TqbxXMLItem& child = top.item->Items(top.next_child++);
      TqbxComponent& parent = *top.scratch;
      if ((parent.ComponentStyle() & csHandlesNestedProperties) && parent.ReadNestedProperty(child, FSerializer))
        continue;
      if (auto scratch = Visit(child, nullptr)) stack.push_back({&child, std::move(scratch), 0});
    }
  }

 private:
  // A new object of the element's class with the attributes checked; none when the element is
  // left out (its subtree with it).
  std::unique_ptr<TqbxComponent> Visit(TqbxXMLItem& item, TqbxComponent* loaded) {
    if (SameTextAscii(item.Name(), u"QbxCustomData") || SameTextAscii(item.Name(), u"inherited")) return nullptr;
    const ClassInfo* info = FindClass(item.Name());
    std::unique_ptr<Object> created =
        info && info->InheritsFrom(TqbxComponent::StaticClass()) ? info->Create() : nullptr;
    if (!loaded && !item.GetProp(u"Name").empty()) loaded = FReport.FindObject(item.GetProp(u"Name"));
    if (!created) {
      FFindings.Add(ObjectName(item, loaded), u"unknown class",
                    u"class " + item.Name() + u" is not known: the object and its contents are left out");
      FFindings.Explained.push_back(u"Не удалось найти класс " + item.Name());
      return nullptr;
    }
    std::unique_ptr<TqbxComponent> scratch(static_cast<TqbxComponent*>(created.release()));
    scratch->IsLoading = true;
    for (const Attribute& attribute : SplitAttributes(item.Text()))
      CheckAttribute(ObjectName(item, loaded), *scratch, loaded, attribute);
    return scratch;
  }

  void CheckAttribute(const String& object, TqbxComponent& scratch, TqbxComponent* loaded, const Attribute& attribute) {
    const Landing landing = Land(scratch, attribute.name);
    if (!landing.known) {
      FFindings.Add(object, u"unknown property",
                    attribute.name + u" is not a property of " + scratch.ClassType().Name() + u": it is ignored");
      return;
    }
    if (landing.prop && !landing.prop->set) {
      FFindings.Add(object, u"unknown property", attribute.name + u" is read-only: it is ignored");
      return;
    }
    FSerializer.Errors.Clear();
    FSerializer.XMLToObj(attribute.name + u"=\"" + attribute.raw + u"\"", scratch);
    for (const String& message : FSerializer.Errors.Items()) {
      FFindings.Add(object, u"bad value", attribute.name + u"=\"" + attribute.raw + u"\": " + message);
      FFindings.Explained.push_back(message);
    }
    if (landing.prop && landing.prop->reference && !attribute.raw.empty() && loaded) CheckReference(object, *loaded, attribute);
  }

  // A reference that resolved to nothing leaves the property empty.
  void CheckReference(const String& object, TqbxComponent& loaded, const Attribute& attribute) {
    const Landing landing = Land(loaded, attribute.name);
    if (!landing.prop || !landing.prop->get || landing.prop->get(*landing.target).ObjectValue()) return;
    const bool database = SameTextAscii(landing.prop->name, u"Database");
    FFindings.Add(object, database ? u"no database" : u"missing reference",
                  attribute.name + u" names " + attribute.raw +
                      u", which the template does not have (or not of that class): it stays empty");
    FFindings.Explained.push_back(u"Missing " + attribute.raw);
  }

  TqbxReport& FReport;
  CheckFindings& FFindings;
  TqbxXMLSerializer FSerializer;
};

}  // namespace

void CheckElements(const std::string& template_bytes, TqbxReport& report, CheckFindings& findings) {
  TqbxXMLDocument document;
  try {
    document.LoadFromString(template_bytes);
  } catch (const Error& e) {
    findings.Add(u"Report", u"unreadable", e.Message());
    findings.Explained.push_back(e.Message());
    return;
  }
  ElementChecker(report, findings, document.OldVersion).Walk(document.Root());
}

}  // namespace zavrik::tool
