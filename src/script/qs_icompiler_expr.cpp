// The compiler: expressions, set constructors, constants and type checks.
#include <charconv>

#include "core/error.h"
#include "script/qs_iclass.h"
#include "script/qs_icompiler.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_xml.h"

namespace zavrik {
namespace {

String NameOf(const TqsXMLItem& e) { return AsciiLower(e.Name()); }
String TextOf(const TqsXMLItem& e) { return e.GetProp(u"text"); }

TqsOperatorType OperatorOf(const String& text) {
  static const std::pair<const char16_t*, TqsOperatorType> kOps[] = {
      {u"+", opPlus},     {u"-", opMinus},      {u"*", opMul},     {u"/", opDivFloat},
      {u"div", opDivInt}, {u"mod", opMod},      {u"and", opAnd},   {u"or", opOr},
      {u"xor", opXor},    {u"shl", opShl},      {u"shr", opShr},   {u"not", opNot},
      {u"unminus", opUnMinus}, {u"=", opEq},    {u"<>", opNonEq},  {u"<", opLess},
      {u">", opGreat},    {u"<=", opLessEq},    {u">=", opGreatEq}, {u"in", opIn},
      {u"is", opIs},      {u"(", opLeftBracket}, {u")", opRightBracket}, {u"strcat", opStrCat},
  };
  const String lower = AsciiLower(text);
  for (const auto& [name, op] : kOps) {
    if (lower == name) return op;
  }
  return opNone;
}

// A number token: a 64-bit integer (decimal or "$" hexadecimal), Integer when it fits 32 bits;
// otherwise a float with "." as the decimal separator.
Variant NumberValue(const String& token) {
  const std::string ascii = StringToUtf8(token);
  const bool hex = !ascii.empty() && ascii[0] == '$';
  uint64_t u = 0;
  const char* first = ascii.data() + (hex ? 1 : 0);
  const char* last = ascii.data() + ascii.size();
  auto [end, ec] = std::from_chars(first, last, u, hex ? 16 : 10);
  if (ec == std::errc() && end == last && first != last) {
    if (u <= 2147483647u) return Variant(static_cast<int32_t>(u));
    if (u <= static_cast<uint64_t>(INT64_MAX)) return Variant(static_cast<int64_t>(u));
    if (hex) return Variant(static_cast<int64_t>(u));
  }
  double d = 0;
  auto [dend, dec] = std::from_chars(ascii.data(), last, d);
  if (dec == std::errc() && dend == last) return Variant(d);
  if (dec == std::errc::result_out_of_range) throw Error(u"Invalid number: " + token);
  return Variant(d);
}

TqsTypeRec TypeOfValue(const Variant& v) {
  switch (v.Kind()) {
    case VarKind::Integer: return {fvtInt, u""};
    case VarKind::Int64: return {fvtInt64, u""};
    case VarKind::Double: return {fvtFloat, u""};
    case VarKind::String: return {fvtString, u""};
    case VarKind::Boolean: return {fvtBool, u""};
    default: return {fvtVariant, u""};
  }
}

bool IsComparison(TqsOperatorType op) {
  return op == opGreat || op == opLess || op == opLessEq || op == opGreatEq || op == opNonEq ||
         op == opEq;
}

bool IsIntegerKind(TqsVarType t) { return t == fvtInt || t == fvtInt64; }

}  // namespace

String TqsCompiler::SourceText(const TqsXMLItem& element) const {
  auto offset = [this](const String& pos) -> size_t {
    const size_t colon = pos.find(u':');
    if (colon == String::npos) return String::npos;
    const int line = std::atoi(StringToUtf8(pos.substr(0, colon)).c_str());
    const int column = std::atoi(StringToUtf8(pos.substr(colon + 1)).c_str());
    if (line < 1 || static_cast<size_t>(line) > FLineStarts.size() || column < 1) return String::npos;
    return std::min(FSource.size(), FLineStarts[static_cast<size_t>(line) - 1] + static_cast<size_t>(column) - 1);
  };
  if (!FUnitName.empty()) return String();
  const size_t from = offset(element.GetProp(u"pos"));
  const size_t to = offset(element.GetProp(u"pos1"));
  if (from == String::npos || to == String::npos || to <= from) return String();
  return Trim(StringView(FSource).substr(from, to - from));
}

std::unique_ptr<TqsExpression> TqsCompiler::ConstantExpression(const Variant& value, TqsScript& scope) {
  auto e = std::make_unique<TqsExpression>(&scope);
  auto operand = std::make_unique<TqsOperandNode>(value);
  const TqsTypeRec type = TypeOfValue(value);
  operand->FTyp = type.Typ;
  e->FTyp = type.Typ;
  e->AddOperand(std::move(operand));
  return e;
}

std::unique_ptr<TqsExpression> TqsCompiler::CompileExpression(const TqsXMLItem& element,
                                                              TqsScript& scope) {
  FErrorPos = element.GetProp(u"pos");
  auto expression = std::make_unique<TqsExpression>(&scope);
  expression->FSource = SourceText(element);
  int operators = 0;
  AddExpressionItems(element, *expression, scope, operators);
  const TqsTypeRec type = expression->Root() ? InferTypes(expression->Root(), scope)
                                             : TqsTypeRec{fvtVariant, u""};
  expression->FTyp = type.Typ;
  expression->FTypeName = type.TypeName;
  return expression;
}

// Operators and operands in source order; nested expressions contribute their children in place.
void TqsCompiler::AddExpressionItems(const TqsXMLItem& element, TqsExpression& expression,
                                     TqsScript& scope, int& operators) {
  bool after_is = false;
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = NameOf(child);
    if (name == u"op") {
      const TqsOperatorType op = OperatorOf(TextOf(child));
      // A dangling operator at the end of an element is ignored; ")" always counts.
      if (op == opNone || (i + 1 == element.Count() && op != opRightBracket)) continue;
      if (++operators > kMaxExpressionOperators) {
        FErrorPos = child.GetProp(u"pos");
        Fail(u"Expression too complex");
      }
      expression.AddOperator(op, child.GetProp(u"pos"));
      after_is = op == opIs;
    } else if (name == u"expr") {
      AddExpressionItems(child, expression, scope, operators);
    } else if (auto operand = Operand(child, scope, after_is)) {
      expression.AddOperand(std::move(operand));
      after_is = false;
    }
  }
}

std::unique_ptr<TqsExpressionNode> TqsCompiler::Operand(const TqsXMLItem& child, TqsScript& scope,
                                                        bool after_is) {
  const String name = NameOf(child);
  std::unique_ptr<TqsExpressionNode> node;
  if (name == u"number") {
    FErrorPos = child.GetProp(u"pos");
    const Variant value = NumberValue(TextOf(child));
    node = std::make_unique<TqsOperandNode>(value);
    node->FTyp = TypeOfValue(value).Typ;
  } else if (name == u"string") {
    const String text = TextOf(child);
    node = std::make_unique<TqsOperandNode>(Variant(text.size() >= 2 ? text.substr(1, text.size() - 2) : String()));
    node->FTyp = fvtString;
  } else if (name == u"dsgn" && after_is && child.Count() == 1) {
    // The class named on the right of `is`.
    const String class_name = TextOf(child.Items(0));
    TqsClassVariable* cls = RequireClass(class_name, scope);
    node = std::make_unique<TqsOperandNode>(Variant(cls->FName));
    node->FTyp = fvtClass;
    node->FTypeName = cls->FName;
  } else if (name == u"dsgn" || name == u"new") {
    const TqsXMLItem* d = &child;
    if (name == u"new") {
      if (child.Count() == 0) return nullptr;
      d = &child.Items(0);
    }
    std::unique_ptr<TqsDesignator> designator = DoDesignator(*d, scope, name == u"new" ? emCreate : emNone);
    node = std::make_unique<TqsDesignatorNode>(std::move(designator));
    auto* dn = static_cast<TqsDesignatorNode*>(node.get());
    node->FTyp = dn->FDesignator->FTyp;
    node->FTypeName = dn->FDesignator->FTypeName;
  } else if (name == u"set") {
    node = std::make_unique<TqsSetNode>(CompileSet(child, scope));
    node->FTyp = fvtVariant;
  } else {
    return nullptr;
  }
  node->FSourcePos = child.GetProp(u"pos");
  return node;
}

// set: expressions; `range` between two of them marks a..b.
std::unique_ptr<TqsSetExpression> TqsCompiler::CompileSet(const TqsXMLItem& element, TqsScript& scope) {
  auto set = std::make_unique<TqsSetExpression>();
  for (int i = 0; i < element.Count(); ++i) {
    const TqsXMLItem& child = element.Items(i);
    const String name = NameOf(child);
    if (name == u"expr") set->FItems.push_back(CompileExpression(child, scope));
    else if (name == u"range") set->FItems.push_back(nullptr);
  }
  // A range marker must stand between two items.
  for (size_t i = 0; i < set->FItems.size(); ++i) {
    if (!set->FItems[i] && (i == 0 || i + 1 >= set->FItems.size() || !set->FItems[i - 1] || !set->FItems[i + 1])) {
      set->FItems.erase(set->FItems.begin() + static_cast<ptrdiff_t>(i));
      --i;
    }
  }
  return set;
}

// Types bottom-up; operands must be compatible with the left operand, and Boolean, text, class
// and array left operands allow only some operators.
TqsTypeRec TqsCompiler::InferTypes(TqsExpressionNode* node, TqsScript& scope) {
  auto* op_node = node->IsOperator() ? static_cast<TqsOperatorNode*>(node) : nullptr;
  if (!op_node) return {node->FTyp, node->FTypeName};
  const TqsOperatorType op = op_node->FOp;
  TqsTypeRec left = node->FLeft ? InferTypes(node->FLeft.get(), scope) : TqsTypeRec{fvtVariant, u""};
  if (op_node->IsUnary() || op == opNone || op == opRightBracket) {
    node->FTyp = left.Typ;
    node->FTypeName = left.TypeName;
    return left;
  }
  TqsTypeRec right = node->FRight ? InferTypes(node->FRight.get(), scope) : TqsTypeRec{fvtVariant, u""};
  TqsTypeRec result = left;
  if ((left.Typ == fvtFloat && IsIntegerKind(right.Typ)) || (right.Typ == fvtFloat && IsIntegerKind(left.Typ))) {
    result = {fvtFloat, u""};
  }
  if (op == opDivFloat && IsIntegerKind(left.Typ) && IsIntegerKind(right.Typ)) result = {fvtFloat, u""};
  if (IsComparison(op) || op == opIn || op == opIs) result = {fvtBool, u""};
  bool allowed = true;
  if (op == opStrCat) {
    allowed = true;
  } else if (op == opIs && left.Typ == fvtClass && right.Typ == fvtClass) {
    allowed = true;
  } else {
    allowed = KindsCompatible(left, right, scope);
    switch (left.Typ) {
      case fvtBool:
        allowed = allowed && (op == opEq || op == opNonEq || op == opAnd || op == opOr || op == opXor);
        break;
      case fvtChar:
      case fvtString: allowed = allowed && (IsComparison(op) || op == opPlus || op == opIn); break;
      case fvtClass:
      case fvtArray: allowed = allowed && (op == opEq || op == opNonEq); break;
      default: break;
    }
  }
  if (!allowed) {
    FErrorPos = node->FSourcePos;
    Fail(u"Incompatible types");
  }
  op_node->FOptimizeBool = (op == opAnd || op == opOr) && left.Typ == fvtBool && right.Typ == fvtBool;
  node->FTyp = result.Typ;
  node->FTypeName = result.TypeName;
  return result;
}

bool TqsCompiler::KindsCompatible(const TqsTypeRec& target, const TqsTypeRec& source, TqsScript& scope) {
  const TqsVarType s = source.Typ;
  if (s == fvtVariant) return target.Typ != fvtConstructor;
  switch (target.Typ) {
    case fvtInt:
    case fvtInt64: return s == fvtInt || s == fvtFloat || s == fvtEnum || s == fvtInt64;
    case fvtBool: return s == fvtBool;
    case fvtFloat: return s == fvtInt || s == fvtFloat;
    case fvtChar:
    case fvtString: return s == fvtChar || s == fvtString;
    case fvtClass: {
      if (s != fvtClass) return false;
      TqsClassVariable* t = scope.FindClass(target.TypeName);
      TqsClassVariable* c = scope.FindClass(source.TypeName);
      return t && c && c->InheritsFrom(*t);
    }
    case fvtArray: return s == fvtArray;
    case fvtVariant: return true;
    case fvtEnum:
      return s == fvtInt || s == fvtInt64 || (s == fvtEnum && qsSameName(target.TypeName, source.TypeName));
    case fvtConstructor: return false;
  }
  return false;
}

void TqsCompiler::CheckAssignable(const TqsTypeRec& target, const TqsTypeRec& source, TqsScript& scope) {
  const bool ok = KindsCompatible(target, source, scope) &&
                  !(source.Typ == fvtFloat && target.Typ == fvtInt);
  if (!ok) {
    Fail(u"Incompatible types: '" + qsFullTypeName(target.Typ, target.TypeName) + u"', '" +
         qsFullTypeName(source.Typ, source.TypeName) + u"'");
  }
}

}  // namespace zavrik
