#include "script/qs_idesignator.h"

#include <new>
#include <utility>

#include "core/error.h"
#include "core/variant_convert.h"
#include "script/qs_iclass.h"
#include "script/qs_icompiler.h"
#include "script/qs_ihelpers.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_xml.h"

namespace zavrik {
namespace {

constexpr const char16_t* kIndexOutOfBounds = u"Index out of bounds";

// Saves a running routine's locals for the time of one item and restores them afterwards.
class FrameGuard {
 public:
  explicit FrameGuard(TqsProcVariable* proc) : proc_(proc && proc->FExecuting ? proc : nullptr) {
    if (proc_) frame_ = proc_->SaveLocalVariables();
  }
  ~FrameGuard() { Restore(); }
  void Restore() {
    if (proc_) proc_->RestoreLocalVariables(frame_);
    proc_ = nullptr;
  }

 private:
  TqsProcVariable* proc_;
  size_t frame_ = 0;
};

// A macro routine receives the argument's source text instead of its value.
Variant ArgumentValue(const TqsCustomVariable& routine, TqsExpression& argument) {
  return routine.FIsMacro ? Variant(argument.FSource) : argument.Value();
}

// Argument values of one call: on the stack for up to eight, constructed only as needed.
class ArgumentValues {
 public:
  explicit ArgumentValues(size_t count) : count_(count) {
    if (count > kInline) heap_.resize(count);
  }
  ~ArgumentValues() {
    for (size_t i = 0; i < set_; ++i) Slot(i)->~Variant();
  }
  ArgumentValues(const ArgumentValues&) = delete;
  ArgumentValues& operator=(const ArgumentValues&) = delete;
  void Set(size_t i, Variant value) {
    if (count_ > kInline) {
      heap_[i] = std::move(value);
    } else {
      new (Slot(i)) Variant(std::move(value));
      set_ = i + 1;
    }
  }
  const Variant& operator[](size_t i) { return count_ > kInline ? heap_[i] : *Slot(i); }

 private:
  static constexpr size_t kInline = 8;
  Variant* Slot(size_t i) { return reinterpret_cast<Variant*>(inline_) + i; }
  size_t count_;
  size_t set_ = 0;
  alignas(Variant) unsigned char inline_[kInline * sizeof(Variant)];
  std::vector<Variant> heap_;
};

}  // namespace

TqsDesignator::TqsDesignator(TqsScript* program) : FProgram(program) {
  if (program) FMainProg = program->MainProgram();
}

TqsDesignator::~TqsDesignator() = default;

Variant TqsDesignator::Value() { return Evaluate(nullptr); }

void TqsDesignator::SetValue(const Variant& value) { Evaluate(&value); }

Variant TqsDesignator::PrefixValue() {
  const bool need_result = std::exchange(FNeedResult, true);
  Variant value = Evaluate(nullptr);
  FNeedResult = need_result;
  FResolved = false;
  return value;
}

void TqsDesignator::BindLate() {
  std::unique_ptr<TqsDesignator> bound = qsCompileLateDesignator(*FLateBindingXmlSource, FProgram);
  FItems = std::move(bound->FItems);
  FTyp = bound->FTyp;
  FTypeName = bound->FTypeName;
  FIsReadOnly = bound->FIsReadOnly;
  FLateBindingXmlSource.reset();
  FResolved = false;
}

void TqsDesignator::ResolveItems() {
  for (TqsDesignatorItem& item : FItems) {
    item.FProc = dynamic_cast<TqsProcVariable*>(item.FRef);
    item.FHelper = dynamic_cast<TqsCustomHelper*>(item.FRef);
    item.FClass = dynamic_cast<TqsClassVariable*>(item.FRef);
    for (int i = 0; i < item.FRef->ParamCount(); ++i) {
      item.FHasVarParams = item.FHasVarParams || item.FRef->Param(i).FIsVarParam;
    }
  }
  FResolved = true;
}

// Items in order, carrying the previous item's value and variable.
Variant TqsDesignator::Evaluate(const Variant* assigned) {
  if (FLateBindingXmlSource) BindLate();
  if (!FResolved) ResolveItems();
  Variant carried = Variant::Null();
  TqsCustomVariable* previous = nullptr;
  const size_t count = FItems.size();
  for (size_t i = 0; i < count; ++i) {
    TqsDesignatorItem& item = FItems[i];
    TqsCustomVariable* ref = item.FRef;
    FrameGuard frame(item.FProc);
    const int params = ref->ParamCount();
    const size_t args = item.FArgs.size();
    if (args == 1 && params >= 1) {
      ref->Param(0).SetValue(ArgumentValue(*ref, *item.FArgs[0]));
    } else if (args > 1) {
      // Every argument first (a later one may read what an earlier one is assigned to), then
      // assign them in order.
      ArgumentValues values(args);
      for (size_t a = 0; a < args; ++a) values.Set(a, ArgumentValue(*ref, *item.FArgs[a]));
      for (size_t a = 0; a < args && static_cast<int>(a) < params; ++a) {
        ref->Param(static_cast<int>(a)).SetValue(values[a]);
      }
    }
    const bool last = i + 1 == count;
    if (TqsCustomHelper* helper = item.FHelper) {
      helper->FParentRef = previous;
      // A value written through the helper is its only other holder (arrays copy when shared).
      if (last && assigned) helper->FParentValue = std::exchange(carried, Variant::Null());
      else helper->FParentValue = carried;
      helper->FProgram = FProgram;
    }
    if (item.FClass) item.FClass->FCaller = FProgram;
    if (last && assigned) {
      ref->SetValue(*assigned);
    } else {
      ref->FNeedResult = !last || FNeedResult;
      carried = ref->Value();
    }
    // By-reference parameters go back through their argument designators, after the caller's
    // frame is restored.
    std::vector<std::pair<TqsDesignator*, Variant>> write_back;
    for (size_t a = 0; item.FHasVarParams && a < args && static_cast<int>(a) < params; ++a) {
      TqsParamItem& param = ref->Param(static_cast<int>(a));
      if (!param.FIsVarParam) continue;
      if (TqsDesignator* target = item.FArgs[a]->SingleDesignator()) {
        write_back.emplace_back(target, param.Value());
      }
    }
    frame.Restore();
    for (auto& [target, value] : write_back) {
      if (!target->FIsReadOnly) target->SetValue(value);
    }
    previous = ref;
  }
  return carried;
}

TqsVariableDesignator::TqsVariableDesignator(TqsScript* program, TqsCustomVariable* variable)
    : TqsDesignator(program), FVar(variable) {
  FKind = dkVariable;
}

Variant TqsVariableDesignator::Value() { return FVar->Value(); }
void TqsVariableDesignator::SetValue(const Variant& value) { FVar->SetValue(value); }

TqsStringDesignator::TqsStringDesignator(TqsScript* program, TqsCustomVariable* variable,
                                         std::unique_ptr<TqsExpression> index)
    : TqsDesignator(program), FVar(variable), FIndex(std::move(index)) {
  FKind = dkStringArray;
}

Variant TqsStringDesignator::Value() {
  const int index = VarToInteger(FIndex->Value());
  if (auto* s = dynamic_cast<TqsStringVariable*>(FVar); s && !s->FOnGetVarValue) {
    return qsStringGet(s->FStr, index);
  }
  return qsStringGet(VarToString(FVar->Value()), index);
}

void TqsStringDesignator::SetValue(const Variant& value) {
  const int index = VarToInteger(FIndex->Value());
  String text = VarToString(FVar->Value());
  qsStringSet(text, index, value);
  FVar->SetValue(Variant(std::move(text)));
}

TqsArrayDesignator::TqsArrayDesignator(TqsScript* program, TqsCustomVariable* variable,
                                       std::vector<std::unique_ptr<TqsExpression>> indices)
    : TqsDesignator(program), FVar(variable), FIndices(std::move(indices)) {
  FKind = dkArray;
}

static std::vector<int> IndexValues(std::vector<std::unique_ptr<TqsExpression>>& indices) {
  std::vector<int> values;
  values.reserve(indices.size());
  for (auto& e : indices) values.push_back(VarToInteger(e->Value()));
  return values;
}

Variant TqsArrayDesignator::Value() {
  const std::vector<int> indices = IndexValues(FIndices);
  return qsArrayGet(FVar->Value(), indices);
}

void TqsArrayDesignator::SetValue(const Variant& value) {
  const std::vector<int> indices = IndexValues(FIndices);
  if (Variant* stored = FVar->StoredSlot()) qsArraySetOwned(*stored, indices, value);
  else qsArraySet(FVar->Value(), indices, value);
}

Variant qsArrayGet(const Variant& array, std::span<const int> indices) {
  auto data = array.ArrayValue();
  if (!data || indices.empty() || indices.size() > 3) return Variant::Null();
  if (indices.size() != data->bounds.size()) return Variant::Null();
  const std::optional<size_t> offset = data->Offset(indices);
  if (!offset) throw Error(kIndexOutOfBounds);
  return data->items[*offset];
}

namespace {

// The element of `data` at `indices`; none when the index count does not fit (writes are then
// ignored); out of bounds fails.
Variant* ElementAt(VariantArray* data, std::span<const int> indices) {
  if (!data || indices.empty() || indices.size() > 3) return nullptr;
  if (indices.size() != data->bounds.size()) return nullptr;
  const std::optional<size_t> offset = data->Offset(indices);
  if (!offset) throw Error(kIndexOutOfBounds);
  return &data->items[*offset];
}

}  // namespace

void qsArraySet(const Variant& array, std::span<const int> indices, const Variant& value) {
  auto data = array.ArrayValue();
  if (Variant* element = ElementAt(data.get(), indices)) *element = value;
}

void qsArraySetOwned(Variant& array, std::span<const int> indices, const Variant& value) {
  auto data = array.ArrayValue();
  Variant* element = ElementAt(data.get(), indices);
  if (!element) return;
  // `array` and `data` hold the payload; any further holder shares it.
  if (data.use_count() > 2) {
    const size_t offset = static_cast<size_t>(element - data->items.data());
    auto copy = std::make_shared<VariantArray>(*data);
    element = &copy->items[offset];
    array = Variant(std::move(copy));
  }
  *element = value;
}

Variant qsStringGet(const String& text, int index) {
  if (index < 1 || static_cast<size_t>(index) > text.size()) throw Error(kIndexOutOfBounds);
  return Variant(String(1, text[static_cast<size_t>(index) - 1]));
}

void qsStringSet(String& text, int index, const Variant& value) {
  if (index < 1 || static_cast<size_t>(index) > text.size()) throw Error(kIndexOutOfBounds);
  const String replacement = VarToString(value);
  if (!replacement.empty()) text[static_cast<size_t>(index) - 1] = replacement[0];
}

}  // namespace zavrik
