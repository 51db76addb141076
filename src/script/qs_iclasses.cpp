// The "classes" host module: TObject, TPersistent, TList and TStrings/TStringList with real
// members; the other classes of the module by name.
#include <algorithm>
#include <numeric>

#include "core/error.h"
#include "core/rtti.h"
#include "core/variant_convert.h"
#include "script/qs_iclass.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iclasses.h"
#include "script/qs_ilists.h"
#include "script/qs_ievents.h"
#include "script/qs_isysrtti.h"
#include "script/qs_istreams.h"

namespace zavrik {
namespace {

template <class T>
T& Self(Object* instance) {
  auto* self = dynamic_cast<T*>(instance);
  if (!self) throw Error(u"Access violation: the object is nil or of another class");
  return *self;
}

size_t CheckIndex(int index, size_t count) {
  if (index < 0 || static_cast<size_t>(index) >= count) {
    throw Error(u"List index out of bounds (" + Utf8ToString(std::to_string(index)) + u")");
  }
  return static_cast<size_t>(index);
}

Variant StringListMethod(TqsStringList& list, const String& name, std::vector<Variant>& p) {
  if (name == u"CREATE") return Variant(static_cast<Object*>(&list));
  if (name == u"ADD") return Variant(int32_t{list.Add(VarToString(p[0]))});
  if (name == u"ADDOBJECT") return Variant(int32_t{list.Add(VarToString(p[0]), p[1])});
  if (name == u"CLEAR") {
    list.FStrings.clear();
    list.FObjects.clear();
  } else if (name == u"DELETE") {
    const size_t i = CheckIndex(VarToInteger(p[0]), list.FStrings.size());
    list.FStrings.erase(list.FStrings.begin() + static_cast<ptrdiff_t>(i));
    list.FObjects.erase(list.FObjects.begin() + static_cast<ptrdiff_t>(i));
  } else if (name == u"INSERT") {
    list.RequireUnsorted();
    const size_t i = CheckIndex(VarToInteger(p[0]), list.FStrings.size() + 1);
    list.FStrings.insert(list.FStrings.begin() + static_cast<ptrdiff_t>(i), VarToString(p[1]));
    list.FObjects.insert(list.FObjects.begin() + static_cast<ptrdiff_t>(i), Variant(int32_t{0}));
  } else if (name == u"INDEXOF") {
    return Variant(int32_t{list.IndexOf(VarToString(p[0]))});
  } else if (name == u"LOADFROMFILE") {
    list.SetText(Utf8ToString(qsReadFileBytes(StringToUtf8(VarToString(p[0])))));
  } else if (name == u"SAVETOFILE") {
    qsWriteFileBytes(StringToUtf8(VarToString(p[0])), StringToUtf8(list.Text()));
  } else if (name == u"LOADFROMSTREAM") {
    list.SetText(Utf8ToString(qsStreamArgument(p[0]).ReadAll()));
  } else if (name == u"SAVETOSTREAM") {
    const std::string bytes = StringToUtf8(list.Text());
    qsStreamArgument(p[0]).Write(bytes.data(), bytes.size());
  } else if (name == u"STRINGS.GET") {
    return Variant(list.FStrings[CheckIndex(VarToInteger(p[0]), list.FStrings.size())]);
  } else if (name == u"STRINGS.SET") {
    list.RequireUnsorted();
    list.FStrings[CheckIndex(VarToInteger(p[0]), list.FStrings.size())] = VarToString(p[1]);
  } else if (name == u"OBJECTS.GET") {
    return list.FObjects[CheckIndex(VarToInteger(p[0]), list.FObjects.size())];
  } else if (name == u"OBJECTS.SET") {
    list.FObjects[CheckIndex(VarToInteger(p[0]), list.FObjects.size())] = p[1];
  }
  return Variant::Null();
}

class ClassesModule : public TqsRTTIModule {
 public:
  explicit ClassesModule(TqsScript& script) : TqsRTTIModule(script) {
    AddObjectClass();
    FScript.AddClass(qsPersistentClass(), u"TObject");
    qsAddStreamClasses(FScript);
    AddStrings();
    AddList();
    qsAddCollectionClasses(FScript);
    qsAddComponentClass(FScript);
    const char16_t* const kNamed[][2] = {
        {u"TqsXMLItem", u"TObject"},
        {u"TqsXMLDocument", u"TObject"},
    };
    for (const auto& [name, ancestor] : kNamed) {
      const TqsClassVariable* base = FScript.FindClass(ancestor);
      FScript.AddClass(qsNamedClass(name, base ? base->FClassRef : nullptr), ancestor);
    }
  }

 private:
  void AddObjectClass() {
    TqsClassVariable* cls = FScript.AddClass(Object::StaticClass(), u"");
    if (!cls) return;
    cls->AddConstructor(u"constructor Create", [](Object* instance, const ClassInfo*, const String&,
                                                  std::vector<Variant>&) { return Variant(instance); });
    // Frees only objects that scripts created; host objects are not the script's to free.
    cls->AddMethod(u"procedure Free", [](Object* instance, const ClassInfo*, const String&,
                                         TqsMethodHelper& caller) {
      if (instance && caller.FProgram) caller.FProgram->FreeObject(instance);
      return Variant::Null();
    });
    cls->AddMethod(u"function ClassName: String", [](Object* instance, const ClassInfo*, const String&,
                                                     std::vector<Variant>&) {
      return instance ? Variant(instance->ClassType().Name()) : Variant(String());
    });
  }

  void AddStrings() {
    FScript.AddClass(qsStringsClass(), u"TPersistent");
    TqsClassVariable* cls = FScript.AddClass(TqsStringList::StaticClass(), u"TStrings");
    if (!cls) return;
    auto change = [](Object* instance, const ClassInfo*, const String& name,
                     std::vector<Variant>& p) -> Variant {
      TqsStringList& list = Self<TqsStringList>(instance);
      list.Changing();
      Variant result = StringListMethod(list, name, p);
      list.Changed();
      return result;
    };
    auto method = [](Object* instance, const ClassInfo*, const String& name,
                     std::vector<Variant>& p) -> Variant {
      return StringListMethod(Self<TqsStringList>(instance), name, p);
    };
    auto property = [](Object* instance, const ClassInfo*, const String& name) -> Variant {
      TqsStringList& list = Self<TqsStringList>(instance);
      if (name == u"COUNT") return Variant(static_cast<int32_t>(list.FStrings.size()));
      if (name == u"TEXT") return Variant(list.Text());
      if (name == u"SORTED") return Variant(list.FSorted);
      if (name == u"COMMATEXT") return Variant(list.CommaText());
      return Variant::Null();
    };
    auto set_property = [](Object* instance, const ClassInfo*, const String& name, const Variant& v) {
      TqsStringList& list = Self<TqsStringList>(instance);
      list.Changing();
      if (name == u"TEXT") list.SetText(VarToString(v));
      else if (name == u"SORTED") list.SetSorted(VarToBoolean(v));
      else if (name == u"COMMATEXT") list.SetCommaText(VarToString(v));
      list.Changed();
    };
    cls->AddConstructor(u"constructor Create", method);
    for (const char16_t* syntax :
         {u"function Add(const S: string): Integer",
          u"function AddObject(const S: string; AObject: TObject): Integer", u"procedure Clear",
          u"procedure Delete(Index: Integer)", u"procedure Insert(Index: Integer; const S: string)",
          u"procedure LoadFromFile(const FileName: string)",
          u"procedure LoadFromStream(Stream: TStream)"}) {
      cls->AddMethod(syntax, change);
    }
    for (const char16_t* syntax :
         {u"function IndexOf(const S: string): Integer", u"procedure SaveToFile(const FileName: string)",
          u"procedure SaveToStream(Stream: TStream)"}) {
      cls->AddMethod(syntax, method);
    }
    cls->AddProperty(u"Count", u"Integer", property);
    cls->AddProperty(u"Text", u"String", property, set_property);
    cls->AddProperty(u"CommaText", u"String", property, set_property);
    cls->AddProperty(u"Sorted", u"Boolean", property, set_property);
    // Reading goes through `method`, writing (".SET") announces the change.
    auto indexed = [method, change](Object* instance, const ClassInfo* c, const String& name,
                                    std::vector<Variant>& p) -> Variant {
      return name.ends_with(u".SET") ? change(instance, c, name, p) : method(instance, c, name, p);
    };
    cls->AddIndexProperty(u"Objects", u"Integer", u"TObject", indexed);
    cls->AddDefaultProperty(u"Strings", u"Integer", u"String", indexed);
    cls->AddEvent(u"OnChange", qsEventBinder<TqsNotifyEvent>(u"OnChange"));
    cls->AddEvent(u"OnChanging", qsEventBinder<TqsNotifyEvent>(u"OnChanging"));
    FScript.AddClass(TqsWideStrings::StaticClass(), u"TStringList");
  }

  void AddList() {
    TqsClassVariable* cls = FScript.AddClass(TqsList::StaticClass(), u"TObject");
    if (!cls) return;
    auto method = [](Object* instance, const ClassInfo*, const String& name,
                     std::vector<Variant>& p) -> Variant {
      TqsList& list = Self<TqsList>(instance);
      if (name == u"CREATE") return Variant(instance);
      if (name == u"ADD") {
        list.FItems.push_back(p[0]);
        return Variant(static_cast<int32_t>(list.FItems.size() - 1));
      }
      if (name == u"CLEAR") list.FItems.clear();
      else if (name == u"DELETE") {
        list.FItems.erase(list.FItems.begin() +
                          static_cast<ptrdiff_t>(CheckIndex(VarToInteger(p[0]), list.FItems.size())));
      } else if (name == u"INDEXOF") {
        for (size_t i = 0; i < list.FItems.size(); ++i) {
          if (qsObjectOf(list.FItems[i]) == qsObjectOf(p[0])) return Variant(static_cast<int32_t>(i));
        }
        return Variant(int32_t{-1});
      } else if (name == u"ITEMS.GET") {
        return list.FItems[CheckIndex(VarToInteger(p[0]), list.FItems.size())];
      } else if (name == u"ITEMS.SET") {
        list.FItems[CheckIndex(VarToInteger(p[0]), list.FItems.size())] = p[1];
      }
      return Variant::Null();
    };
    cls->AddConstructor(u"constructor Create", method);
    for (const char16_t* syntax : {u"function Add(Item: TObject): Integer", u"procedure Clear",
                                   u"procedure Delete(Index: Integer)",
                                   u"function IndexOf(Item: TObject): Integer"}) {
      cls->AddMethod(syntax, method);
    }
    cls->AddProperty(u"Count", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
      return Variant(static_cast<int32_t>(Self<TqsList>(instance).FItems.size()));
    });
    cls->AddDefaultProperty(u"Items", u"Integer", u"TObject", method);
  }
};

}  // namespace

std::unique_ptr<TqsRTTIModule> qsMakeClassesModule(TqsScript& script) {
  return std::make_unique<ClassesModule>(script);
}

}  // namespace zavrik
