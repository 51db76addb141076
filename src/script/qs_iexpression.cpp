#include "script/qs_iexpression.h"

#include <climits>

#include "core/rtti.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "core/variant_ops.h"
#include "script/qs_idesignator.h"

namespace zavrik {
namespace {

bool BothInteger(const Variant& a, const Variant& b) {
  return a.Kind() == VarKind::Integer && b.Kind() == VarKind::Integer;
}

// Binary arithmetic.
template <VarOp Op>
class TArithNode : public TqsOperatorNode {
 public:
  explicit TArithNode(TqsOperatorType op) : TqsOperatorNode(op) {}
  Variant Value() override {
    Variant a = FLeft->Value();
    return qsArith<Op>(a, FRight->Value());
  }
};

// and, or: short-circuit when both operands are Boolean at compile time.
template <bool IsAnd>
class TLogicNode : public TqsOperatorNode {
 public:
  explicit TLogicNode(TqsOperatorType op) : TqsOperatorNode(op) {}
  Variant Value() override {
    Variant a = FLeft->Value();
    if (FOptimizeBool && a.Kind() == VarKind::Boolean) {
      if (a.BoolValue() != IsAnd) return a;
      return FRight->Value();
    }
    return IsAnd ? VarAnd(a, FRight->Value()) : VarOr(a, FRight->Value());
  }
};

template <bool (*Compare)(const Variant&, const Variant&), class IntCompare>
class TCompareNode : public TqsOperatorNode {
 public:
  explicit TCompareNode(TqsOperatorType op) : TqsOperatorNode(op) {}
  Variant Value() override {
    Variant a = FLeft->Value();
    Variant b = FRight->Value();
    if (BothInteger(a, b)) return Variant(IntCompare()(a.SignedValue(), b.SignedValue()));
    return Variant(Compare(a, b));
  }
};

class TNoneNode : public TqsOperatorNode {
 public:
  TNoneNode() : TqsOperatorNode(opNone) {}
  Variant Value() override { return FLeft ? FLeft->Value() : Variant::Null(); }
};

class TBracketNode : public TqsOperatorNode {
 public:
  explicit TBracketNode(TqsOperatorType op) : TqsOperatorNode(op) {}
  Variant Value() override { return FLeft ? FLeft->Value() : Variant::Null(); }
};

class TNotNode : public TqsOperatorNode {
 public:
  TNotNode() : TqsOperatorNode(opNot) {}
  Variant Value() override { return VarNot(FLeft->Value()); }
};

class TUnMinusNode : public TqsOperatorNode {
 public:
  TUnMinusNode() : TqsOperatorNode(opUnMinus) {}
  Variant Value() override {
    Variant a = FLeft->Value();
    if (a.Kind() == VarKind::Integer && a.SignedValue() != INT32_MIN) {
      return Variant(static_cast<int32_t>(-a.SignedValue()));
    }
    return VarNeg(a);
  }
};

class TStrCatNode : public TqsOperatorNode {
 public:
  TStrCatNode() : TqsOperatorNode(opStrCat) {}
  Variant Value() override {
    Variant a = FLeft->Value();
    return VarConcat(a, FRight->Value());
  }
};

class TInNode : public TqsOperatorNode {
 public:
  TInNode() : TqsOperatorNode(opIn) {}
  Variant Value() override {
    Variant a = FLeft->Value();
    if (auto* set = dynamic_cast<TqsSetNode*>(FRight.get())) {
      return Variant(set->FSetExpression->Contains(a));
    }
    return Variant(qsArrayContains(FRight->Value(), a));
  }
};

// `obj is TClass`: the right operand holds the class name.
class TIsNode : public TqsOperatorNode {
 public:
  TIsNode() : TqsOperatorNode(opIs) {}
  Variant Value() override {
    Object* object = qsObjectOf(FLeft->Value());
    const String name = VarToStr(FRight->Value());
    if (!object) return Variant(false);
    for (const ClassInfo* c = &object->ClassType(); c; c = c->Parent()) {
      if (qsSameName(c->Name(), name)) return Variant(true);
    }
    return Variant(false);
  }
};

}  // namespace

TqsExpressionNode::~TqsExpressionNode() {
  // Deep operator chains are destroyed without recursion.
  std::vector<std::unique_ptr<TqsExpressionNode>> pending;
  if (FLeft) pending.push_back(std::move(FLeft));
  if (FRight) pending.push_back(std::move(FRight));
  while (!pending.empty()) {
    std::unique_ptr<TqsExpressionNode> node = std::move(pending.back());
    pending.pop_back();
    if (node->FLeft) pending.push_back(std::move(node->FLeft));
    if (node->FRight) pending.push_back(std::move(node->FRight));
  }
}

TqsDesignatorNode::TqsDesignatorNode(std::unique_ptr<TqsDesignator> designator)
    : FDesignator(std::move(designator)) {}
TqsDesignatorNode::~TqsDesignatorNode() = default;
Variant TqsDesignatorNode::Value() { return FDesignator->Value(); }

TqsSetNode::TqsSetNode(std::unique_ptr<TqsSetExpression> set) : FSetExpression(std::move(set)) {}
TqsSetNode::~TqsSetNode() = default;
Variant TqsSetNode::Value() { return FSetExpression->AsArray(); }

int TqsOperatorNode::Priority() const {
  switch (FOp) {
    case opNone: return 7;
    case opLeftBracket: return 6;
    case opRightBracket: return 5;
    case opNot:
    case opUnMinus: return 1;
    case opMul: case opDivFloat: case opDivInt: case opMod: case opAnd: case opShl: case opShr:
      return 2;
    case opPlus: case opMinus: case opOr: case opXor: case opStrCat: return 3;
    default: return 4;
  }
}

std::unique_ptr<TqsOperatorNode> qsMakeOperatorNode(TqsOperatorType op) {
  switch (op) {
    case opNone: return std::make_unique<TNoneNode>();
    case opGreat: return std::make_unique<TCompareNode<VarGreater, std::greater<int64_t>>>(op);
    case opLess: return std::make_unique<TCompareNode<VarLess, std::less<int64_t>>>(op);
    case opLessEq: return std::make_unique<TCompareNode<VarLessEqual, std::less_equal<int64_t>>>(op);
    case opGreatEq:
      return std::make_unique<TCompareNode<VarGreaterEqual, std::greater_equal<int64_t>>>(op);
    case opNonEq: return std::make_unique<TCompareNode<VarNotEqual, std::not_equal_to<int64_t>>>(op);
    case opEq: return std::make_unique<TCompareNode<VarEqual, std::equal_to<int64_t>>>(op);
    case opPlus: return std::make_unique<TArithNode<VarOp::Add>>(op);
    case opMinus: return std::make_unique<TArithNode<VarOp::Sub>>(op);
    case opOr: return std::make_unique<TLogicNode<false>>(op);
    case opXor: return std::make_unique<TArithNode<VarOp::Xor>>(op);
    case opMul: return std::make_unique<TArithNode<VarOp::Mul>>(op);
    case opDivFloat: return std::make_unique<TArithNode<VarOp::DivFloat>>(op);
    case opDivInt: return std::make_unique<TArithNode<VarOp::DivInt>>(op);
    case opMod: return std::make_unique<TArithNode<VarOp::Mod>>(op);
    case opAnd: return std::make_unique<TLogicNode<true>>(op);
    case opShl: return std::make_unique<TArithNode<VarOp::Shl>>(op);
    case opShr: return std::make_unique<TArithNode<VarOp::Shr>>(op);
    case opLeftBracket:
    case opRightBracket: return std::make_unique<TBracketNode>(op);
    case opNot: return std::make_unique<TNotNode>();
    case opUnMinus: return std::make_unique<TUnMinusNode>();
    case opIn: return std::make_unique<TInNode>();
    case opIs: return std::make_unique<TIsNode>();
    case opStrCat: return std::make_unique<TStrCatNode>();
  }
  return std::make_unique<TNoneNode>();
}

TqsExpression::TqsExpression(TqsScript* script)
    : FNode(qsMakeOperatorNode(opNone)), FCurNode(FNode.get()), FScript(script) {}

TqsExpression::~TqsExpression() = default;

TqsDesignator* TqsExpression::SingleDesignator() const {
  auto* node = dynamic_cast<TqsDesignatorNode*>(Root());
  return node ? node->FDesignator.get() : nullptr;
}

bool TqsExpression::SetValue(const Variant& value) {
  TqsDesignator* designator = SingleDesignator();
  if (!designator || designator->FIsReadOnly) return false;
  designator->SetValue(value);
  return true;
}

// Attaches a node as the next child of the insertion point (left slot first), which it becomes.
void TqsExpression::Attach(std::unique_ptr<TqsExpressionNode> node) {
  TqsExpressionNode* raw = node.get();
  node->FParent = FCurNode;
  if (!FCurNode->FLeft) FCurNode->FLeft = std::move(node);
  else FCurNode->FRight = std::move(node);
  FCurNode = raw;
}

void TqsExpression::AddOperand(std::unique_ptr<TqsExpressionNode> operand) {
  Attach(std::move(operand));
}

// Replaces `old` in its parent by `node` and makes `old` the left child of `node`.
static void InsertAbove(TqsExpressionNode* old, std::unique_ptr<TqsExpressionNode> node) {
  TqsExpressionNode* parent = old->FParent;
  std::unique_ptr<TqsExpressionNode>& slot = parent->FLeft.get() == old ? parent->FLeft : parent->FRight;
  node->FParent = parent;
  old->FParent = node.get();
  node->FLeft = std::move(slot);
  slot = std::move(node);
}

void TqsExpression::AddOperator(TqsOperatorType op, StringView source_pos) {
  std::unique_ptr<TqsOperatorNode> node = qsMakeOperatorNode(op);
  node->FSourcePos = String(source_pos);
  if (op == opLeftBracket || op == opNot || op == opUnMinus) {
    Attach(std::move(node));
    return;
  }
  if (op == opRightBracket) {
    // Climb to the matching "(" and put its only child in its place.
    TqsExpressionNode* n = FCurNode;
    while (n->FParent && n->Priority() != 6) n = n->FParent;
    auto* bracket = dynamic_cast<TqsOperatorNode*>(n);
    if (!bracket || bracket->FOp != opLeftBracket || !bracket->FLeft) return;
    TqsExpressionNode* parent = bracket->FParent;
    std::unique_ptr<TqsExpressionNode>& slot =
        parent->FLeft.get() == bracket ? parent->FLeft : parent->FRight;
    std::unique_ptr<TqsExpressionNode> child = std::move(bracket->FLeft);
    child->FParent = parent;
    FCurNode = child.get();
    slot = std::move(child);  // destroys the bracket node
    return;
  }
  if (FCurNode == FNode.get()) {
    Attach(std::move(node));
    return;
  }
  // Climb while the new operator binds no tighter than the node above: equal priorities
  // associate to the left.
  TqsExpressionNode* n = FCurNode;
  const int priority = node->Priority();
  while (n->FParent && n->FParent->FParent && priority >= n->FParent->Priority()) n = n->FParent;
  TqsExpressionNode* raw = node.get();
  InsertAbove(n, std::move(node));
  FCurNode = raw;
}

bool TqsSetExpression::Contains(const Variant& value) {
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i + 2 < FItems.size() && !FItems[i + 1]) {
      const Variant low = FItems[i]->Value();
      const Variant high = FItems[i + 2]->Value();
      if (VarGreaterEqual(value, low) && VarLessEqual(value, high)) return true;
      i += 2;
    } else if (FItems[i] && VarEqual(value, FItems[i]->Value())) {
      return true;
    }
  }
  return false;
}

Variant TqsSetExpression::AsArray() {
  Variant array = Variant::CreateArray({ArrayBound{0, static_cast<int>(FItems.size()) - 1}});
  auto items = array.ArrayValue();
  for (size_t i = 0; i < FItems.size(); ++i) {
    items->items[i] = FItems[i] ? FItems[i]->Value() : Variant::Null();
  }
  return array;
}

bool qsArrayContains(const Variant& set, const Variant& value) {
  auto array = set.ArrayValue();
  if (!array) return VarEqual(value, set);
  const std::vector<Variant>& items = array->items;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i + 2 < items.size() && items[i + 1].IsNull()) {
      if (VarGreaterEqual(value, items[i]) && VarLessEqual(value, items[i + 2])) return true;
      i += 2;
    } else if (VarEqual(value, items[i])) {
      return true;
    }
  }
  return false;
}

}  // namespace zavrik
