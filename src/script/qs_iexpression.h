// Compiled expressions: operator and operand nodes built into a tree by priority as the operands
// and operators arrive in source order, and set constructors.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/variant_ops.h"
#include "script/qs_itypes.h"

namespace zavrik {

// Variant arithmetic, with a fast path for two Integers that gives what the general rules give.
template <VarOp Op>
inline Variant qsArith(const Variant& a, const Variant& b) {
  if (a.Kind() == VarKind::Integer && b.Kind() == VarKind::Integer) {
    const int64_t x = a.SignedValue(), y = b.SignedValue();
    int64_t r = 0;
    bool done = true;
    if constexpr (Op == VarOp::Add) r = x + y;
    else if constexpr (Op == VarOp::Sub) r = x - y;
    else if constexpr (Op == VarOp::Mul) r = x * y;
    else if constexpr (Op == VarOp::DivInt) done = y != 0 && (r = x / y, true);
    else if constexpr (Op == VarOp::Mod) done = y != 0 && (r = x % y, true);
    else done = false;
    if (done && r >= INT32_MIN && r <= INT32_MAX) return Variant(static_cast<int32_t>(r));
  }
  return VarBinaryOp(Op, a, b);
}

class TqsDesignator;
class TqsSetExpression;
class TqsScript;

enum TqsOperatorType : uint8_t {
  opNone, opGreat, opLess, opLessEq, opGreatEq, opNonEq, opEq, opPlus, opMinus, opOr, opXor,
  opMul, opDivFloat, opDivInt, opMod, opAnd, opShl, opShr, opLeftBracket, opRightBracket, opNot,
  opUnMinus, opIn, opIs,
  opStrCat,  // BasicScript "&"
};

class TqsExpressionNode {
 public:
  virtual ~TqsExpressionNode();
  virtual Variant Value() = 0;
  // Smaller binds tighter: operands 0, unary 1, multiplicative 2, additive 3, relations 4,
  // ")" 5, "(" 6, the root 7.
  virtual int Priority() const = 0;
  virtual bool IsOperator() const { return false; }

  std::unique_ptr<TqsExpressionNode> FLeft;
  std::unique_ptr<TqsExpressionNode> FRight;
  TqsExpressionNode* FParent = nullptr;
  TqsVarType FTyp = fvtVariant;
  String FTypeName;
  String FSourcePos;
};

// A constant.
class TqsOperandNode : public TqsExpressionNode {
 public:
  explicit TqsOperandNode(Variant value) : FValue(std::move(value)) {}
  Variant Value() override { return FValue; }
  int Priority() const override { return 0; }
  Variant FValue;
};

class TqsDesignatorNode : public TqsExpressionNode {
 public:
  explicit TqsDesignatorNode(std::unique_ptr<TqsDesignator> designator);
  ~TqsDesignatorNode() override;
  Variant Value() override;
  int Priority() const override { return 0; }
  std::unique_ptr<TqsDesignator> FDesignator;
};

class TqsSetNode : public TqsExpressionNode {
 public:
  explicit TqsSetNode(std::unique_ptr<TqsSetExpression> set);
  ~TqsSetNode() override;
  Variant Value() override;
  int Priority() const override { return 0; }
  std::unique_ptr<TqsSetExpression> FSetExpression;
};

class TqsOperatorNode : public TqsExpressionNode {
 public:
  explicit TqsOperatorNode(TqsOperatorType op) : FOp(op) {}
  int Priority() const override;
  bool IsOperator() const override { return true; }
  bool IsUnary() const { return FOp == opNot || FOp == opUnMinus || FOp == opLeftBracket; }
  TqsOperatorType FOp;
  bool FOptimizeBool = false;  // both operands Boolean: "and"/"or" short-circuit
};

// The operator node for an operator type.
std::unique_ptr<TqsOperatorNode> qsMakeOperatorNode(TqsOperatorType op);

class TqsExpression {
 public:
  explicit TqsExpression(TqsScript* script);
  ~TqsExpression();
  Variant Value() { return FNode->FLeft ? FNode->FLeft->Value() : Variant::Null(); }
  // Writes the single designator the expression holds; false when it holds anything else.
  bool SetValue(const Variant& value);

  // Building, in source order.
  void AddOperand(std::unique_ptr<TqsExpressionNode> operand);
  void AddOperator(TqsOperatorType op, StringView source_pos);
  // The root's operand when it is the only node.
  TqsExpressionNode* Root() const { return FNode->FLeft.get(); }
  // The designator when the expression is one designator only.
  TqsDesignator* SingleDesignator() const;

  std::unique_ptr<TqsExpressionNode> FNode;
  TqsExpressionNode* FCurNode;
  TqsScript* FScript;
  String FSource;
  TqsVarType FTyp = fvtVariant;
  String FTypeName;

 private:
  void Attach(std::unique_ptr<TqsExpressionNode> node);
};

// A set constructor: items are expressions; a null item between two items marks a range a..b.
class TqsSetExpression {
 public:
  // True when the value equals an item or lies within a range.
  bool Contains(const Variant& value);
  // The set as an array, a Null element marking a range (the form `in` reads from variables).
  Variant AsArray();
  std::vector<std::unique_ptr<TqsExpression>> FItems;
};

// `value in set` for a set held as an array value.
bool qsArrayContains(const Variant& set, const Variant& value);

}  // namespace zavrik
