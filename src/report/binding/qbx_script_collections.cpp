// Collections that report scripts create: TqbxStyles (a report's named styles, or a free list of
// them, kept in files and streams as the template keeps them) and TqbxArray (values by any key).
#include <map>
#include <sstream>

#include "core/error.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_ref.h"
#include "report/model/qbx_report.h"
#include "report/binding/qbx_report_script.h"
#include "report/binding/qbx_script_args.h"
#include "report/binding/qbx_script_classes.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_xml_document.h"
#include "report/document/qbx_xml_item.h"
#include "script/qs_iclass.h"
#include "script/qs_iclasses.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_ilists.h"
#include "script/qs_istreams.h"

namespace zavrik {

namespace {

using StyleList = std::vector<std::unique_ptr<TqbxStyleItem>>;

// The styles of a report (shared with it) or a list of its own.
class TqbxStyles : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxStyles", &Object::StaticClass(), &New<TqbxStyles>, {}); });
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxRef<TqbxReport> Report;
  bool Bound = false;  // to a report, which may since have been destroyed

  StyleList& Items() {
    if (!Bound) return FOwn;
    if (!Report) throw Error(u"The report of the styles no longer exists");
    return Report->Styles();
  }
  TqbxStyleItem& Item(int index) {
    StyleList& items = Items();
    if (index < 0 || static_cast<size_t>(index) >= items.size())
      throw Error(u"List index out of bounds (" + Utf8ToString(std::to_string(index)) + u")");
    return *items[static_cast<size_t>(index)];
  }
  TqbxStyleItem* Find(StringView name) {
    for (const auto& item : Items())
      if (item->Name() == name) return item.get();
    return nullptr;
  }
  // Every memo of the report takes its style again.
  void Apply() {
    if (!Report) return;
    for (TqbxComponent* object : Report->AllObjects()) {
      auto* memo = dynamic_cast<TqbxCustomMemoView*>(object);
      if (memo && !memo->Style().empty()) memo->SetStyle(memo->Style());
    }
  }
  std::string Save() {
    TqbxXMLDocument document;
    document.Root().SetName(u"Styles");
    TqbxXMLSerializer serializer;
    for (const auto& item : Items()) {
      String text = serializer.ObjToXML(*item);
      if (!text.empty()) text.erase(0, 1);
      document.Root().Add(u"item").SetText(std::move(text));
    }
    return document.SaveToString();
  }
  void Load(const std::string& bytes) {
    TqbxXMLDocument document;
    document.LoadFromString(bytes);
    StyleList& items = Items();
    items.clear();
    TqbxXMLSerializer serializer;
    serializer.ReadCollection(document.Root(), [&items]() -> Object& {
      return *items.emplace_back(std::make_unique<TqbxStyleItem>());
    });
  }

 private:
  StyleList FOwn;
};

// Keys of kinds that do not compare (a text and a number that is not one) are different keys.
bool SameKey(const Variant& a, const Variant& b) {
  try {
    return VarEqual(a, b);
  } catch (const Error&) {
    return false;
  }
}

// Values by key: keys equal as values name one entry.
class TqbxArray : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxArray", &Object::StaticClass(), &New<TqbxArray>, {}); });
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }

  Variant& At(const Variant& key) {
    for (auto& entry : FEntries)
      if (SameKey(entry.first, key)) return entry.second;
    return FEntries.emplace_back(key, Variant()).second;
  }
  Variant Get(const Variant& key) const {
    for (const auto& entry : FEntries)
      if (SameKey(entry.first, key)) return entry.second;
    return Variant();
  }
  int Count() const { return static_cast<int>(FEntries.size()); }

 private:
  std::vector<std::pair<Variant, Variant>> FEntries;
};

void AddStylesClass(TqsScript& script) {
  TqsClassVariable* styles = script.AddClass(TqbxStyles::StaticClass(), u"TPersistent");
  if (!styles) return;
  styles->AddConstructor(
      u"constructor Create(AReport: TqbxReport)",
      [](Object* instance, const ClassInfo*, const String&, std::vector<Variant>& p) {
        TqbxStyles& s = ScriptSelf<TqbxStyles>(instance);
        auto* report = !p.empty() && p[0].Kind() == VarKind::Object
                           ? dynamic_cast<TqbxReport*>(p[0].ObjectValue())
                           : nullptr;
        s.Report = report;
        s.Bound = report != nullptr;
        return Variant(instance);
      });
  const auto call = [](Object* instance, const ClassInfo*, const String& name,
                       std::vector<Variant>& p) -> Variant {
    TqbxStyles& s = ScriptSelf<TqbxStyles>(instance);
    if (name == u"ITEMS.GET") return Variant(static_cast<Object*>(&s.Item(p.empty() ? -1 : VarToInteger(p[0]))));
    if (name == u"ADD") return Variant(static_cast<Object*>(s.Items().emplace_back(std::make_unique<TqbxStyleItem>()).get()));
    if (name == u"FIND") return ObjectOrNil(s.Find(TextArgument(p)));
    if (name == u"APPLY") {
      s.Apply();
    } else if (name == u"GETLIST") {
      auto* list = p.empty() || p[0].Kind() != VarKind::Object
                       ? nullptr
                       : dynamic_cast<TqsStringList*>(p[0].ObjectValue());
      if (!list) throw Error(u"TStrings expected");
      list->Changing();
      list->FStrings.clear();
      list->FObjects.clear();
      for (const auto& item : s.Items()) list->Add(item->Name());
      list->Changed();
    } else if (name == u"SAVETOFILE") {
      qsWriteFileBytes(StringToUtf8(TextArgument(p)), s.Save());
    } else if (name == u"LOADFROMFILE") {
      s.Load(qsReadFileBytes(StringToUtf8(TextArgument(p))));
    } else if (name == u"SAVETOSTREAM") {
      if (p.empty()) throw Error(u"Not enough actual parameters");
      const std::string bytes = s.Save();
      qsStreamArgument(p[0]).Write(bytes.data(), bytes.size());
    } else if (name == u"LOADFROMSTREAM") {
      if (p.empty()) throw Error(u"Not enough actual parameters");
      s.Load(qsStreamArgument(p[0]).ReadAll());
    } else if (name == u"COUNT") {
      return Variant(int32_t{static_cast<int32_t>(s.Items().size())});
    }
    return Variant();
  };
  for (const char16_t* syntax :
       {u"function Add: TqbxStyleItem", u"function Find(const Name: String): TqbxStyleItem",
        u"procedure Apply", u"procedure GetList(List: TStrings)",
        u"procedure LoadFromFile(const FileName: String)",
        u"procedure SaveToFile(const FileName: String)",
        u"procedure LoadFromStream(Stream: TStream)", u"procedure SaveToStream(Stream: TStream)",
        u"function Count: Integer"})
    styles->AddMethod(syntax, call);
  styles->AddDefaultProperty(u"Items", u"Integer", u"TqbxStyleItem", call, true);

  if (TqsClassVariable* report = script.FindClass(TqbxReport::StaticClass().Name())) {
    report->AddProperty(u"Styles", u"TqbxStyles",
                        [](Object* instance, const ClassInfo*, const String&) {
                          TqbxReport& r = ScriptSelf<TqbxReport>(instance);
                          auto& styles = static_cast<TqbxStyles&>(ReportScriptOf(r).HostObject(
                              &r, 0, [] { return std::make_unique<TqbxStyles>(); }));
                          styles.Report = &r;
                          styles.Bound = true;
                          return Variant(static_cast<Object*>(&styles));
                        });
  }
}

void AddArrayClass(TqsScript& script) {
  TqsClassVariable* array = script.AddClass(TqbxArray::StaticClass(), u"TPersistent");
  if (!array) return;
  const auto call = [](Object* instance, const ClassInfo*, const String& name,
                       std::vector<Variant>& p) -> Variant {
    TqbxArray& a = ScriptSelf<TqbxArray>(instance);
    if (name == u"CREATE") return Variant(instance);
    if (name == u"COUNT") return Variant(int32_t{a.Count()});
    if (p.empty()) throw Error(u"Not enough actual parameters");
    if (name == u"VARIABLES.SET") {
      a.At(p[0]) = p.size() > 1 ? p[1] : Variant();
      return Variant();
    }
    return a.Get(p[0]);
  };
  array->AddConstructor(u"constructor Create", call);
  array->AddMethod(u"function Count: Integer", call);
  array->AddDefaultProperty(u"Variables", u"Variant", u"Variant", call);
}

}  // namespace

void AddReportScriptCollections(TqsScript& script) {
  AddStylesClass(script);
  AddArrayClass(script);
}

}  // namespace zavrik
