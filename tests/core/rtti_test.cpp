// Reflection tables: property order and lookup, kinds deduced from the accessors, the registry.
#include <gtest/gtest.h>

#include "core/rtti_props.h"

namespace zavrik {
namespace {

enum TKind : int32_t { kA, kB };

class TBase : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"TBase", &Object::StaticClass(), nullptr, {
        Prop(u"Count", &TBase::Count, &TBase::SetCount).Default(3),
        Prop(u"Caption", &TBase::Caption, &TBase::SetCaption),
        Prop(u"Hidden", &TBase::Hidden),
    });
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int32_t Count() const { return count; }
  void SetCount(int32_t v) { count = v; }
  const String& Caption() const { return caption; }
  void SetCaption(StringView v) { caption = String(v); }
  bool Hidden() const { return true; }
  int32_t count = 3;
  String caption;
};

class TDerived : public TBase {
 public:
  static const ClassInfo& StaticClass() {
    static const EnumType kinds{u"kA", u"kB"};
    using C = TDerived;
    static const ClassInfo info(u"TDerived", &TBase::StaticClass(), &New<TDerived>, {
        Prop(u"Ratio", &C::Ratio, &C::SetRatio),
        Prop(u"Kind", &C::Kind, &C::SetKind).Enum(kinds),
        Prop(u"Visible", &C::Visible, &C::SetVisible).Default(1),
        Prop(u"Value", &C::Value, &C::SetValue),
        Prop(u"Next", &C::Next, &C::SetNext).Reference(),
        Prop(u"count", &TBase::Count, &TBase::SetCount).Default(5),  // published again
    });
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  double Ratio() const { return ratio; }
  void SetRatio(double v) { ratio = v; }
  TKind Kind() const { return kind; }
  void SetKind(TKind v) { kind = v; }
  bool Visible() const { return visible; }
  void SetVisible(bool v) { visible = v; }
  const Variant& Value() const { return value; }
  void SetValue(const Variant& v) { value = v; }
  TDerived* Next() const { return next; }
  void SetNext(TDerived* v) { next = v; }
  double ratio = 0;
  TKind kind = kA;
  bool visible = true;
  Variant value;
  TDerived* next = nullptr;
};

TEST(Reflection, PropertiesInDeclarationOrderBaseFirst) {
  const ClassInfo& info = TDerived::StaticClass();
  String names;
  for (const PropInfo* p : info.Props()) names += p->name + u" ";
  EXPECT_EQ(names, u"Caption Hidden Ratio Kind Visible Value Next count ");
  EXPECT_EQ(info.FindProp(u"COUNT")->default_value, 5);
  EXPECT_EQ(TBase::StaticClass().FindProp(u"count")->default_value, 3);
  EXPECT_EQ(info.FindProp(u"nope"), nullptr);
  EXPECT_TRUE(info.InheritsFrom(TBase::StaticClass()));
  EXPECT_FALSE(TBase::StaticClass().InheritsFrom(info));
  EXPECT_FALSE(TBase::StaticClass().IsCreatable());
}

// A sibling of TDerived and a class below it, described out of line as the report classes are.
class TSibling : public TBase {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TSibling", &TBase::StaticClass(), nullptr, {}); });
    return info;
  }
};

class TDeeper : public TDerived {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info = OutOfLine([&] {
      return ClassInfo(u"TDeeper", &TDerived::StaticClass(), nullptr, {Prop(u"Depth", &TBase::Count, &TBase::SetCount)});
    });
    return info;
  }
};

TEST(Reflection, InheritanceFollowsTheLineageOnly) {
  const ClassInfo& base = TBase::StaticClass();
  const ClassInfo& derived = TDerived::StaticClass();
  const ClassInfo& sibling = TSibling::StaticClass();
  const ClassInfo& deeper = TDeeper::StaticClass();
  for (const ClassInfo* info : {&base, &derived, &sibling, &deeper}) {
    EXPECT_TRUE(info->InheritsFrom(*info));
    EXPECT_TRUE(info->InheritsFrom(Object::StaticClass()));
    EXPECT_FALSE(Object::StaticClass().InheritsFrom(*info));
  }
  EXPECT_TRUE(deeper.InheritsFrom(derived));
  EXPECT_TRUE(deeper.InheritsFrom(base));
  // Same depth or deeper, another branch.
  EXPECT_FALSE(deeper.InheritsFrom(sibling));
  EXPECT_FALSE(sibling.InheritsFrom(derived));
  EXPECT_FALSE(derived.InheritsFrom(sibling));
  EXPECT_FALSE(derived.InheritsFrom(deeper));
  EXPECT_FALSE(base.InheritsFrom(deeper));
  // Built in place: the table refers to the description's own properties.
  EXPECT_EQ(deeper.FindProp(u"depth"), deeper.Props().back());
  EXPECT_EQ(deeper.FindProp(u"Ratio"), derived.FindProp(u"Ratio"));
}

TEST(Reflection, KindsAndConversionsFollowTheAccessors) {
  const ClassInfo& info = TDerived::StaticClass();
  TDerived object, other;
  EXPECT_EQ(info.FindProp(u"Ratio")->kind, TypeKind::Float);
  EXPECT_EQ(info.FindProp(u"Caption")->kind, TypeKind::String);
  EXPECT_EQ(info.FindProp(u"Value")->kind, TypeKind::Variant);
  const PropInfo& visible = *info.FindProp(u"visible");
  EXPECT_EQ(visible.kind, TypeKind::Enumeration);
  EXPECT_EQ(visible.enum_type, &BooleanType());
  visible.set(object, Variant(int32_t(-1)));  // any non-zero ordinal is true
  EXPECT_TRUE(object.visible);
  visible.set(object, Variant(int32_t(0)));
  EXPECT_EQ(visible.get(object).SignedValue(), 0);
  const PropInfo& kind = *info.FindProp(u"Kind");
  EXPECT_EQ(kind.enum_type->Ordinal(u"KB"), 1);
  EXPECT_EQ(kind.enum_type->Name(7), u"");
  kind.set(object, Variant(int32_t(1)));
  EXPECT_EQ(object.kind, kB);
  info.FindProp(u"Caption")->set(object, Variant(String(u"x")));
  EXPECT_EQ(info.FindProp(u"Caption")->get(object).StringValue(), u"x");
  const PropInfo& next = *info.FindProp(u"Next");
  EXPECT_EQ(next.kind, TypeKind::Class);
  EXPECT_EQ(&next.class_type(), &TDerived::StaticClass());
  next.set(object, Variant(static_cast<Object*>(&other)));
  EXPECT_EQ(object.next, &other);
  EXPECT_FALSE(static_cast<bool>(info.FindProp(u"Hidden")->set));  // read-only
}

TEST(Reflection, RegistryFindsClassesIgnoringCase) {
  RegisterClass(TDerived::StaticClass());
  const ClassInfo* found = FindClass(u"tderived");
  ASSERT_EQ(found, &TDerived::StaticClass());
  EXPECT_EQ(found->Create()->ClassType().Name(), u"TDerived");
  EXPECT_EQ(FindClass(u"TNothing"), nullptr);
}

}  // namespace
}  // namespace zavrik
