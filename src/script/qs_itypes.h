// The engine's type kinds and the small helpers every phase shares.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/ustring.h"
#include "core/variant.h"

namespace zavrik {

class ClassInfo;
class Object;

enum TqsVarType : uint8_t {
  fvtInt,
  fvtBool,
  fvtFloat,
  fvtChar,
  fvtString,
  fvtClass,
  fvtArray,
  fvtVariant,
  fvtEnum,
  fvtConstructor,
  fvtInt64,
};

struct TqsTypeRec {
  TqsVarType Typ = fvtVariant;
  String TypeName;
};

// Names compare case-insensitively: ASCII and Cyrillic letters are upper-cased.
String qsUpperName(StringView name);
bool qsSameName(StringView a, StringView b);

// "Integer", "Boolean", "Extended", "Char", "String", "Array", "Int64"; the type name for
// classes and enumerations; "Variant" otherwise.
String qsFullTypeName(TqsVarType typ, StringView type_name);

// The value converted to the kind of a typed variable (Integer, Boolean, Float unless already a
// date, String, Int64; other kinds unchanged).
Variant qsConvertToKind(TqsVarType typ, const Variant& value);

// The object a value refers to; none for nil, Null and non-objects.
Object* qsObjectOf(const Variant& value);

// Host callbacks. Names are upper-cased; indexed properties add ".GET" or ".SET".
class TqsScript;
class TqsPropertyHelper;
class TqsMethodHelper;
using TqsGetValueEvent =
    std::function<Variant(Object* Instance, const ClassInfo* ClassType, const String& PropName)>;
using TqsSetValueEvent = std::function<void(Object* Instance, const ClassInfo* ClassType,
                                            const String& PropName, const Variant& Value)>;
using TqsGetValueNewEvent = std::function<Variant(Object* Instance, const ClassInfo* ClassType,
                                                  const String& PropName, TqsPropertyHelper& Caler)>;
using TqsSetValueNewEvent =
    std::function<void(Object* Instance, const ClassInfo* ClassType, const String& PropName,
                       const Variant& Value, TqsPropertyHelper& Caller)>;
using TqsCallMethodEvent =
    std::function<Variant(Object* Instance, const ClassInfo* ClassType, const String& MethodName,
                          std::vector<Variant>& Params)>;
using TqsCallMethodNewEvent = std::function<Variant(
    Object* Instance, const ClassInfo* ClassType, const String& MethodName, TqsMethodHelper& Caller)>;
using TqsRunLineEvent =
    std::function<void(TqsScript& Sender, const String& UnitName, const String& SourcePos)>;
using TqsGetVariableValueEvent =
    std::function<Variant(const String& VarName, TqsVarType VarTyp, const Variant& OldValue)>;

}  // namespace zavrik
