// TqsScript: a script program and a name scope. It owns its items (sorted by name, newest first,
// chained to a parent scope), compiles its Lines into statements and runs them, evaluates single
// expressions and calls script routines for its host.
#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

#include "script/qs_iilparser.h"
#include "script/qs_ivariables.h"

namespace zavrik {

class ClassInfo;
class TqsClassVariable;
class TqsMethodHelper;
class TqsProcVariable;
class TqsRTTIModule;
class TqsStatement;
class TqsTypeVariable;

// The owner tag of the items the standard library adds.
extern const int kqsLibraryTag;

class TqsScript : public TqsParserOwner {
 public:
  explicit TqsScript(TqsScript* parent = nullptr);
  ~TqsScript();
  TqsScript(const TqsScript&) = delete;
  TqsScript& operator=(const TqsScript&) = delete;

  // --- items
  // Inserts the item before older items of the same name; it takes the scope's AddedBy tag.
  TqsCustomVariable& Add(std::unique_ptr<TqsCustomVariable> item);
  void Remove(TqsCustomVariable* item);
  int Count() const { return static_cast<int>(FItems.size()); }
  TqsCustomVariable& Items(int index) const { return *FItems[static_cast<size_t>(index)]; }
  TqsCustomVariable* Find(StringView name) const;
  TqsCustomVariable* FindLocal(StringView name) const;
  TqsClassVariable* FindClass(StringView name) const;
  // Every item but the library's; the compiled code and the error fields.
  void Clear();
  // The items added by `owner`, then the compiled code.
  void ClearItems(const void* owner);
  void RemoveItems(const void* owner);
  void AddRTTI();
  void ClearRTTI();

  // --- registration (first wins for types, constants, variables, objects and classes; methods
  // and enumerations are always added)
  TqsTypeVariable* AddType(StringView type_name, TqsVarType parent_type);
  void AddConst(StringView name, StringView type_name, const Variant& value);
  void AddVariable(StringView name, StringView type_name, const Variant& value);
  void AddObject(StringView name, Object* object);
  void AddEnum(StringView type_name, StringView names);
  void AddEnumSet(StringView type_name, StringView names);
  TqsMethodHelper* AddMethod(StringView syntax, TqsCallMethodEvent call_event,
                             StringView category = u"", StringView description = u"");
  TqsMethodHelper* AddMethod(StringView syntax, TqsCallMethodNewEvent call_event,
                             StringView category = u"", StringView description = u"");
  TqsClassVariable* AddClass(const ClassInfo& class_ref, StringView ancestor);
  // A published form or data module: its class (a TForm, TDataModule or TFrame descendant), a
  // member for every owned component, and the object itself under its name.
  void AddComponent(Object* form);
  void AddForm(Object* form) { AddComponent(form); }

  // Kind and type name of a type name seen through the chain (unknown names: class kind).
  TqsVarType TypeKind(StringView type_name) const;

  // --- text and running
  const std::vector<String>& Lines() const { return FLines; }
  void SetLines(std::vector<String> lines) { FLines = std::move(lines); }
  // Splits a text at CR LF, LF or CR.
  void SetText(StringView text);
  // The lines, each followed by CR LF.
  String Text() const;
  bool Compile();
  void Execute();
  bool Run();
  void Terminate();
  // Lines that carry statements, per unit (the main text is the unit "").
  void AddCodeLine(StringView unit_name, StringView source_pos);
  bool IsExecutableLine(int line, StringView unit_name) const;
  // The syntax tree of Lines without compiling it; compiling a syntax tree read back.
  void GetILCode(std::ostream& out);
  bool SetILCode(std::istream& in);
  Variant Evaluate(StringView expression);
  Variant CallFunction(StringView name, const Variant& params, bool global = false);
  Variant CallFunction1(StringView name, Variant& params, bool global = false);
  Variant CallFunction2(TqsProcVariable* func, const Variant& params);
  void SetVariable(StringView name, const Variant& value);
  const String& ProgName() const;
  void SetProgName(StringView name);

  TqsScript* Parent() const { return FParent; }
  void SetParent(TqsScript* parent) { FParent = parent; }
  // The nearest scope, this one included, that is a main program (the outermost otherwise).
  TqsScript* MainProgram();
  // The nearest OnRunLine handler up the chain.
  const TqsRunLineEvent* RunLineHandler() const;
  // Objects created by scripts of this program (freed with it).
  void AdoptObject(std::unique_ptr<Object> object);
  // Frees an object a script of this chain created. The object is kept (and marked freed) until
  // the program is destroyed, so that stale references fail cleanly instead of reading freed
  // memory.
  bool FreeObject(Object* object);
  // Hands an object a script of this chain created over to the caller (none when not found).
  std::unique_ptr<Object> ReleaseObject(Object* object);
  bool IsFreedObject(const Object* object) const;

  const void* FAddedBy = nullptr;
  bool FBreakCalled = false;
  bool FContinueCalled = false;
  bool FExitCalled = false;
  // ErrorMsg, ErrorPos, ErrorUnit, ExtendedCharset, IncludePath, OnGetUnit: TqsParserOwner.
  bool FIsRunning = false;
  std::vector<String> FMacros;
  bool FMainProg = true;
  TqsRunLineEvent FOnRunLine;
  TqsGetVariableValueEvent FOnGetVarValue;
  TqsScript* FProgRunning = nullptr;
  bool FRTTIAdded = false;
  std::unique_ptr<TqsStatement> FStatement;
  String FSyntaxType = u"PascalScript";
  bool FTerminated = false;
  std::vector<std::pair<String, std::vector<int>>> FUnitLines;
  bool FUseClassLateBinding = false;
  bool FEvaluteRiseError = false;
  bool FClearLocalVars = false;
  const String* FLastSourcePos = nullptr;
  String FProgName;

 private:
  void TerminateScopes();
  size_t LowerBound(const String& upper) const;

  TqsScript* FParent;
  std::vector<String> FLines;
  std::vector<std::unique_ptr<TqsCustomVariable>> FItems;
  std::vector<std::unique_ptr<TqsRTTIModule>> FModules;
  std::vector<std::unique_ptr<Object>> FCreatedObjects;
  std::vector<std::unique_ptr<Object>> FFreedObjects;
};

// The process-wide global unit: created on first request with the standard library.
TqsScript& qsGlobalUnit();

}  // namespace zavrik
