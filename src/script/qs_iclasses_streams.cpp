// The "classes" host module: streams, collections and components.
#include <memory>

#include "core/error.h"
#include "core/variant_convert.h"
#include "script/qs_iclass.h"
#include "script/qs_iclasses.h"
#include "script/qs_ihost.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_istreams.h"

namespace zavrik {
namespace {

Variant Nothing() { return Variant::Null(); }

std::string FileName(const Variant& v) { return StringToUtf8(VarToString(v)); }

const ClassInfo& Persistent() { return qsNamedClass(u"TPersistent", &Object::StaticClass()); }

class TqsCollectionItem : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TCollectionItem", &Persistent(), &New<TqsCollectionItem>, {}); });
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  Object* FCollection = nullptr;
  int FIndex = -1;
};

class TqsCollection : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TCollection", &Persistent(), &New<TqsCollection>, {}); });
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Renumber() {
    for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->FIndex = static_cast<int>(i);
  }
  // Removed items stay allocated while the collection lives: scripts may still hold them.
  std::vector<std::unique_ptr<TqsCollectionItem>> FItems, FRemoved;
};

template <class T>
T& Self(Object* instance) {
  auto* self = dynamic_cast<T*>(instance);
  if (!self) throw Error(u"Access violation: the object is nil or of another class");
  return *self;
}

size_t CheckIndex(const Variant& value, size_t count) {
  const int index = VarToInteger(value);
  if (index < 0 || static_cast<size_t>(index) >= count) {
    throw Error(u"List index out of bounds (" + Utf8ToString(std::to_string(index)) + u")");
  }
  return static_cast<size_t>(index);
}

void AddStreamMembers(TqsClassVariable& cls) {
  auto method = [](Object* instance, const ClassInfo*, const String& name,
                   std::vector<Variant>& p) -> Variant {
    TqsStream& stream = Self<TqsStream>(instance);
    if (name == u"SEEK") {
      return Variant(static_cast<int32_t>(stream.Seek(VarToInt64(p[0]), VarToInteger(p[1]))));
    }
    if (name == u"COPYFROM") {
      return Variant(static_cast<int32_t>(stream.CopyFrom(qsStreamArgument(p[0]), VarToInt64(p[1]))));
    }
    return Nothing();
  };
  cls.AddMethod(u"function Seek(Offset, Origin: Integer): Integer", method);
  cls.AddMethod(u"function CopyFrom(Source: TStream; Count: Integer): Integer", method);
  cls.AddProperty(
      u"Position", u"Integer",
      [](Object* instance, const ClassInfo*, const String&) {
        return Variant(static_cast<int32_t>(Self<TqsStream>(instance).Position()));
      },
      [](Object* instance, const ClassInfo*, const String&, const Variant& v) {
        Self<TqsStream>(instance).Seek(VarToInt64(v), soFromBeginning);
      });
  cls.AddProperty(u"Size", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
    return Variant(static_cast<int32_t>(Self<TqsStream>(instance).Size()));
  });
}

void AddMemoryStreamMembers(TqsClassVariable& cls) {
  auto method = [](Object* instance, const ClassInfo*, const String& name,
                   std::vector<Variant>& p) -> Variant {
    TqsMemoryStream& stream = Self<TqsMemoryStream>(instance);
    if (name == u"CREATE") return Variant(instance);
    if (name == u"CLEAR") stream.Clear();
    else if (name == u"LOADFROMFILE") stream.LoadFromFile(FileName(p[0]));
    else if (name == u"SAVETOFILE") stream.SaveToFile(FileName(p[0]));
    else if (name == u"LOADFROMSTREAM") {
      stream.Clear();
      stream.CopyFrom(qsStreamArgument(p[0]), 0);
      stream.FPosition = 0;
    } else if (name == u"SAVETOSTREAM") {
      qsStreamArgument(p[0]).Write(stream.FData.data(), stream.FData.size());
    }
    return Nothing();
  };
  cls.AddConstructor(u"constructor Create", method);
  for (const char16_t* syntax :
       {u"procedure Clear", u"procedure LoadFromFile(const FileName: string)",
        u"procedure SaveToFile(const FileName: string)", u"procedure LoadFromStream(Stream: TStream)",
        u"procedure SaveToStream(Stream: TStream)"}) {
    cls.AddMethod(syntax, method);
  }
}

void AddCollectionMembers(TqsClassVariable& items, TqsClassVariable& collection) {
  items.AddProperty(u"Index", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
    return Variant(int32_t{Self<TqsCollectionItem>(instance).FIndex});
  });
  items.AddProperty(u"Collection", u"TCollection", [](Object* instance, const ClassInfo*, const String&) {
    return Variant(Self<TqsCollectionItem>(instance).FCollection);
  });
  auto method = [](Object* instance, const ClassInfo*, const String& name,
                   std::vector<Variant>& p) -> Variant {
    TqsCollection& c = Self<TqsCollection>(instance);
    if (name == u"CREATE") return Variant(instance);
    if (name == u"ADD") {
      c.FItems.push_back(std::make_unique<TqsCollectionItem>());
      c.FItems.back()->FCollection = &c;
      c.Renumber();
      return Variant(static_cast<Object*>(c.FItems.back().get()));
    }
    if (name == u"CLEAR") {
      for (auto& item : c.FItems) c.FRemoved.push_back(std::move(item));
      c.FItems.clear();
    } else if (name == u"DELETE") {
      const size_t i = CheckIndex(p[0], c.FItems.size());
      c.FRemoved.push_back(std::move(c.FItems[i]));
      c.FItems.erase(c.FItems.begin() + static_cast<ptrdiff_t>(i));
      c.Renumber();
    } else if (name == u"ITEMS.GET") {
      return Variant(static_cast<Object*>(c.FItems[CheckIndex(p[0], c.FItems.size())].get()));
    }
    return Nothing();
  };
  collection.AddConstructor(u"constructor Create(ItemClass: Variant = nil)", method);
  for (const char16_t* syntax : {u"function Add: TCollectionItem", u"procedure Clear",
                                 u"procedure Delete(Index: Integer)"}) {
    collection.AddMethod(syntax, method);
  }
  collection.AddProperty(u"Count", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
    return Variant(static_cast<int32_t>(Self<TqsCollection>(instance).FItems.size()));
  });
  collection.AddDefaultProperty(u"Items", u"Integer", u"TCollectionItem", method, true);
}

}  // namespace

TqsStream& qsStreamArgument(const Variant& value) {
  auto* stream = dynamic_cast<TqsStream*>(qsObjectOf(value));
  if (!stream) throw Error(u"Access violation: the object is nil or of another class");
  return *stream;
}

void qsAddStreamClasses(TqsScript& script) {
  static const std::pair<const char16_t*, int32_t> kConstants[] = {
      {u"fmCreate", 0xFF00},     {u"fmOpenRead", 0},         {u"fmOpenWrite", 1},
      {u"fmOpenReadWrite", 2},   {u"fmShareExclusive", 0x10}, {u"fmShareDenyWrite", 0x20},
      {u"fmShareDenyNone", 0x40}, {u"soFromBeginning", 0},    {u"soFromCurrent", 1},
      {u"soFromEnd", 2},
  };
  for (const auto& [name, value] : kConstants) script.AddConst(name, u"Integer", Variant(value));
  if (TqsClassVariable* stream = script.AddClass(TqsStream::StaticClass(), u"TObject")) {
    AddStreamMembers(*stream);
  }
  if (TqsClassVariable* memory = script.AddClass(TqsMemoryStream::StaticClass(), u"TStream")) {
    AddMemoryStreamMembers(*memory);
  }
  if (TqsClassVariable* file = script.AddClass(TqsFileStream::StaticClass(), u"TStream")) {
    // The class has no factory: the constructor opens the file and returns the new object.
    file->AddConstructor(u"constructor Create(const FileName: string; Mode: Integer)",
                         [](Object*, const ClassInfo*, const String&, TqsMethodHelper& caller) {
                           auto stream = std::make_unique<TqsFileStream>(
                               FileName(caller.ParamValue(0)), VarToInteger(caller.ParamValue(1)));
                           Object* raw = stream.get();
                           caller.FProgram->MainProgram()->AdoptObject(std::move(stream));
                           return Variant(raw);
                         });
  }
}

void qsAddCollectionClasses(TqsScript& script) {
  TqsClassVariable* items = script.AddClass(TqsCollectionItem::StaticClass(), u"TPersistent");
  TqsClassVariable* collection = script.AddClass(TqsCollection::StaticClass(), u"TPersistent");
  if (items && collection) AddCollectionMembers(*items, *collection);
}

void qsAddComponentClass(TqsScript& script) {
  TqsClassVariable* cls = script.AddClass(qsNamedClass(u"TComponent", &Persistent()), u"TPersistent");
  if (!cls) return;
  auto method = [](Object* instance, const ClassInfo*, const String& name,
                   std::vector<Variant>& p) -> Variant {
    TqsComponentOwner* owner = qsComponentOwner(instance);
    if (name == u"FINDCOMPONENT") {
      return Variant(owner ? owner->FindOwnedComponent(VarToString(p[0])) : static_cast<Object*>(nullptr));
    }
    if (name == u"COMPONENTS.GET") {
      if (!owner) throw Error(u"List index out of bounds (" + VarToString(p[0]) + u")");
      const std::vector<Object*> components = owner->OwnedComponents();
      return Variant(components[CheckIndex(p[0], components.size())]);
    }
    return Nothing();
  };
  cls->AddMethod(u"function FindComponent(const AName: string): TComponent", method);
  cls->AddIndexProperty(u"Components", u"Integer", u"TComponent", method, true);
  cls->AddProperty(u"ComponentCount", u"Integer", [](Object* instance, const ClassInfo*, const String&) {
    TqsComponentOwner* owner = qsComponentOwner(instance);
    return Variant(static_cast<int32_t>(owner ? owner->OwnedComponents().size() : 0));
  });
}

}  // namespace zavrik
