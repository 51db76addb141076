// Compiling and running a script; evaluating expressions and calling routines for the host.
#include <algorithm>
#include <cstdlib>

#include "core/error.h"
#include "script/qs_icompiler.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_istatements.h"

namespace zavrik {

bool TqsScript::Compile() {
  if (FIsRunning) {
    // Its main block is executing: it cannot be replaced now.
    ErrorMsg = u"Cannot compile a running script";
    return false;
  }
  ErrorMsg.clear();
  ErrorPos.clear();
  ErrorUnit.clear();
  FStatement.reset();
  FLastSourcePos = nullptr;
  TqsILParser parser(*this);
  parser.SelectLanguage(FSyntaxType);
  const String text = Text();
  if (!parser.MakeILScript(text)) return false;
  return TqsCompiler(parser, *this, text).ParseILScript();
}

void TqsScript::Execute() {
  struct Reset {
    TqsScript& s;
    ~Reset() {
      s.FExitCalled = false;
      s.FTerminated = false;
      s.FIsRunning = false;
      s.FBreakCalled = false;
      s.FContinueCalled = false;
    }
  } reset{*this};
  FExitCalled = false;
  FTerminated = false;
  FIsRunning = true;
  FMainProg = true;
  if (FStatement) FStatement->Execute();
}

void TqsScript::AddCodeLine(StringView unit_name, StringView source_pos) {
  const int line = std::atoi(StringToUtf8(source_pos.substr(0, source_pos.find(u':'))).c_str());
  auto it = std::find_if(FUnitLines.begin(), FUnitLines.end(),
                         [&](const auto& u) { return qsSameName(u.first, unit_name); });
  if (it == FUnitLines.end()) it = FUnitLines.insert(FUnitLines.end(), {String(unit_name), {}});
  std::vector<int>& lines = it->second;
  const auto at = std::lower_bound(lines.begin(), lines.end(), line);
  if (at == lines.end() || *at != line) lines.insert(at, line);
}

bool TqsScript::IsExecutableLine(int line, StringView unit_name) const {
  for (const auto& [unit, lines] : FUnitLines) {
    if (qsSameName(unit, unit_name)) return std::binary_search(lines.begin(), lines.end(), line);
  }
  return false;
}

void TqsScript::GetILCode(std::ostream& out) {
  TqsILParser parser(*this);
  parser.SelectLanguage(FSyntaxType);
  if (parser.MakeILScript(Text())) parser.ILScript().SaveToStream(out);
}

bool TqsScript::SetILCode(std::istream& in) {
  ErrorMsg.clear();
  ErrorPos.clear();
  ErrorUnit.clear();
  FStatement.reset();
  TqsILParser parser(*this);
  parser.SelectLanguage(FSyntaxType);
  parser.ILScript().LoadFromStream(in);
  return TqsCompiler(parser, *this, u"").ParseILScript();
}

bool TqsScript::Run() {
  if (!Compile()) return false;
  Execute();
  return true;
}

void TqsScript::TerminateScopes() {
  FExitCalled = true;
  FTerminated = true;
  // The scopes of the routines declared here, and theirs.
  for (const auto& item : FItems) {
    if (auto* proc = dynamic_cast<TqsProcVariable*>(item.get())) proc->FProgram->TerminateScopes();
  }
}

void TqsScript::Terminate() { TerminateScopes(); }

const String& TqsScript::ProgName() const {
  return FProgRunning ? FProgRunning->FProgName : FProgName;
}

void TqsScript::SetProgName(StringView name) {
  if (FProgRunning) FProgRunning->FProgName = String(name);
  FProgName = String(name);
}

void TqsScript::SetVariable(StringView name, const Variant& value) {
  if (TqsCustomVariable* v = Find(name)) {
    v->SetValue(value);
    return;
  }
  auto v = std::make_unique<TqsVariable>(name, fvtVariant, u"Variant");
  v->FValue = value;
  Add(std::move(v));
}

static String EvaluateText(StringView language, StringView expression) {
  const String e(expression);
  if (qsSameName(language, u"PascalScript")) {
    return u"function qsEvaluateFUNC: Variant; begin Result := " + e + u" end; begin end.";
  }
  if (qsSameName(language, u"C++Script")) return u"Variant qsEvaluateFUNC() { return " + e + u"; } {}";
  if (qsSameName(language, u"BasicScript")) {
    return u"function qsEvaluateFUNC\r\nreturn " + e + u"\r\nend function";
  }
  if (qsSameName(language, u"JScript")) return u"function qsEvaluateFUNC() { return (" + e + u"); }";
  return String();
}

Variant TqsScript::Evaluate(StringView expression) {
  FEvaluteRiseError = false;
  TqsScript* base = FProgRunning ? FProgRunning : this;
  TqsScript temp(base);
  bool has_library = false;
  for (const TqsScript* s = base; s; s = s->Parent()) has_library = has_library || s->FRTTIAdded;
  if (!has_library) temp.AddRTTI();
  temp.FOnGetVarValue = base->FOnGetVarValue;
  struct Detach {
    TqsScript& s;
    TqsRunLineEvent saved;
    ~Detach() { s.FOnRunLine = std::move(saved); }
  } detach{*this, std::move(FOnRunLine)};
  FOnRunLine = nullptr;
  temp.FSyntaxType = FSyntaxType;
  temp.SetText(EvaluateText(FSyntaxType, expression));
  if (!temp.Compile()) {
    FEvaluteRiseError = true;
    return Variant(temp.ErrorMsg);
  }
  auto* func = dynamic_cast<TqsProcVariable*>(temp.FindLocal(u"qsEvaluateFUNC"));
  return func ? func->Value() : Variant::Null();
}

static std::vector<Variant> ArgumentsOf(const Variant& params) {
  auto array = params.ArrayValue();
  return array ? array->items : std::vector<Variant>();
}

Variant TqsScript::CallFunction2(TqsProcVariable* func, const Variant& params) {
  return func ? func->Call(ArgumentsOf(params)) : Variant::Null();
}

Variant TqsScript::CallFunction(StringView name, const Variant& params, bool global) {
  return CallFunction2(dynamic_cast<TqsProcVariable*>(global ? Find(name) : FindLocal(name)), params);
}

Variant TqsScript::CallFunction1(StringView name, Variant& params, bool global) {
  auto* func = dynamic_cast<TqsProcVariable*>(global ? Find(name) : FindLocal(name));
  if (!func) return Variant::Null();
  auto array = params.ArrayValue();
  if (!array) return func->Call({});
  std::vector<Variant> results(array->items.size());
  Variant result = func->Call(array->items, &results);
  for (size_t i = 0; i < results.size() && static_cast<int>(i) < func->ParamCount(); ++i) {
    array->items[i] = results[i];
  }
  return result;
}

}  // namespace zavrik
