// zavrik-tool classes [CLASS]: the report classes as the program registers them. Without a class,
// every registered class with its ancestors; with one, its published properties (kind and the
// value a new object has), the attributes the template reader takes beside them, and the members
// scripts reach. Everything is read from the class tables and the report script at run time.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "core/float_text.h"
#include "core/rtti.h"
#include "core/variant_convert.h"
#include "data/ibx_components.h"
#include "driver/report_pipeline.h"
#include "report/binding/qbx_report_script.h"
#include "report/model/serializer/qbx_serializer.h"
#include "script/qs_iclass.h"
#include "script/qs_iinterpreter.h"

namespace zavrik::tool {
namespace {

void PrintLine(const String& text) { std::printf("%s\n", StringToUtf8(text).c_str()); }

String Ancestry(const ClassInfo& info) {
  String text;
  for (const ClassInfo* parent = info.Parent(); parent; parent = parent->Parent())
    text += (text.empty() ? u"" : u" < ") + parent->Name();
  return text;
}

String ElementList(const EnumType& type) {
  String text;
  for (int i = 0; i < type.Count(); ++i) text += (i ? u", " : u"") + type.Name(i);
  return text;
}

String KindText(const PropInfo& prop) {
  switch (prop.kind) {
    case TypeKind::Integer: return u"integer";
    case TypeKind::Char: return u"char";
    case TypeKind::WChar: return u"wide char";
    case TypeKind::Enumeration:
      return prop.enum_type == &BooleanType() ? u"boolean" : u"enumeration (" + ElementList(*prop.enum_type) + u")";
    case TypeKind::Set: return u"set of (" + ElementList(*prop.enum_type) + u")";
    case TypeKind::Float: return u"float";
    case TypeKind::String: return u"string";
    case TypeKind::Class: {
      const String name = prop.class_type ? prop.class_type().Name() : String(u"object");
      return u"class " + name + (prop.reference ? u" (reference)" : u" (owned)");
    }
    case TypeKind::Variant: return u"variant";
  }
  return u"?";
}

String OrdinalText(const PropInfo& prop, int64_t value) {
  if (prop.kind == TypeKind::Enumeration && prop.enum_type) {
    const String name = prop.enum_type->Name(value);
    return name.empty() ? IntToStr(value) : name;
  }
  if (prop.kind == TypeKind::Set && prop.enum_type) {
    String text;
    for (int i = 0; i < prop.enum_type->Count() && i < 63; ++i)
      if (value & (int64_t{1} << i)) text += (text.empty() ? u"" : u",") + prop.enum_type->Name(i);
    return u"[" + text + u"]";
  }
  return IntToStr(value);
}

// The value of `prop` on a new object; the declared default when there is no object.
String DefaultText(const PropInfo& prop, const Object* instance) {
  if (!instance || !prop.get) return prop.default_value ? OrdinalText(prop, *prop.default_value) : String();
  const Variant value = prop.get(*instance);
  if (prop.IsOrdinal()) return OrdinalText(prop, value.IsNull() ? 0 : VarToInt64(value));
  if (prop.kind == TypeKind::Float) return FloatText(VarToDouble(value));
  if (prop.kind == TypeKind::String) return u"'" + VarToStr(value) + u"'";
  if (prop.kind == TypeKind::Class) return prop.reference && !value.ObjectValue() ? u"none" : String();
  return VarToStr(value);
}

void PrintProperty(const String& name, const String& kind, const String& value) {
  PrintLine(u"  " + name + u": " + kind + (value.empty() ? u"" : u" = " + value));
}

// The published properties of `info`, owned sub-objects expanded with dotted names (as
// templates write them).
void PrintProperties(const ClassInfo& info, const Object* instance, const String& prefix, int depth) {
  for (const PropInfo* prop : info.Props()) {
    const bool owned = prop->kind == TypeKind::Class && !prop->reference;
    PrintProperty(prefix + prop->name, KindText(*prop) + (prop->set || owned ? u"" : u", read-only"),
                  DefaultText(*prop, instance));
    if (prop->kind != TypeKind::Class || prop->reference || !prop->class_type || depth > 4) continue;
    const Object* sub = instance && prop->get ? prop->get(*instance).ObjectValue() : nullptr;
    PrintProperties(sub ? sub->ClassType() : prop->class_type(), sub, prefix + prop->name + u".", depth + 1);
  }
}

// Attributes the template reader takes that are not published properties.
void PrintReaderAttributes(const Object* instance) {
  if (const auto* memo = dynamic_cast<const TqbxMemoText*>(instance))
    PrintProperty(u"Text", u"string (the memo text)", u"'" + memo->MemoText() + u"'");
  if (dynamic_cast<const TqbxDefinedProperties*>(instance))
    PrintProperty(u"PropData", u"binary data (hexadecimal)", String());
}

String MemberText(TqsCustomHelper& member) {
  if (auto* method = dynamic_cast<TqsMethodHelper*>(&member)) {
    if (method->FIndexMethod)
      return u"property " + member.Name() + u"[...]: " + member.GetFullTypeName() +
             (member.FIsReadOnly ? u" (read-only)" : u"");
    return method->FSyntax.empty() ? member.Name() : method->FSyntax;
  }
  if (dynamic_cast<TqsEventHelper*>(&member)) return u"event " + member.Name();
  return u"property " + member.Name() + u": " + member.GetFullTypeName() +
         (member.FIsReadOnly ? u" (read-only)" : u"");
}

// The members scripts reach beyond the published properties, the class's own first, then each
// ancestor's with its name.
void PrintScriptMembers(const TqsClassVariable& script_class) {
  PrintLine(u"Script members:");
  int count = 0;
  for (const TqsClassVariable* c = &script_class; c; c = c->AncestorClass()) {
    for (const auto& member : c->FMembers) {
      const auto* property = dynamic_cast<const TqsPropertyHelper*>(member.get());
      if (property && property->FIsPublished) continue;
      const String owner = c == &script_class ? String() : u"  (" + c->Name() + u")";
      PrintLine(u"  " + MemberText(*member) + owner);
      ++count;
    }
  }
  if (count == 0) PrintLine(u"  (none beyond the published properties)");
}

int ListClasses() {
  std::vector<const ClassInfo*> classes = RegisteredClasses();
  for (const ClassInfo* info : classes) {
    const String ancestry = Ancestry(*info);
    PrintLine(info->Name() + (ancestry.empty() ? u"" : u" < " + ancestry));
  }
  return 0;
}

int DescribeClass(TqbxReport& report, const String& name) {
  const ClassInfo* registered = FindClass(name);
  TqsClassVariable* script_class = ReportScriptOf(report).Script().FindClass(name);
  if (!registered && !script_class) {
    std::fprintf(stderr, "Unknown class %s\n", StringToUtf8(name).c_str());
    return 1;
  }
  // Classes known to scripts only (the run's engine, library classes) are never created here.
  const ClassInfo* info = registered ? registered : script_class->FClassRef;
  const String ancestry = info ? Ancestry(*info) : String();
  PrintLine((info ? info->Name() : script_class->Name()) + (ancestry.empty() ? u"" : u" < " + ancestry) +
            (registered ? u"" : u" (known to scripts only)"));
  if (info && !info->Props().empty()) {
    const std::unique_ptr<Object> instance = registered ? registered->Create() : nullptr;
    PrintLine(instance ? u"Properties (name: kind = value of a new object):" : u"Properties (name: kind = declared default):");
    PrintProperties(*info, instance.get(), String(), 0);
    PrintReaderAttributes(instance.get());
  }
  if (script_class) PrintScriptMembers(*script_class);
  return 0;
}

}  // namespace

int ClassesCommand(int argc, char** argv) {
  if (argc > 1) {
    std::fputs("Usage: zavrik-tool classes [CLASS]\n", stderr);
    return 1;
  }
  // The data-source classes join the registry before the report script takes the classes in.
  data::RegisterDataClasses();
  const std::unique_ptr<TqbxReport> report = driver::CreateReport();
  // Preparing the (empty) script adds the classes of a run: Engine's, PreviewPages', Outline's.
  report->EngineOptions()->NewSilentMode = simSilent;
  report->PrepareScript();
  return argc == 0 ? ListClasses() : DescribeClass(*report, Utf8ToString(argv[0]));
}

}  // namespace zavrik::tool
