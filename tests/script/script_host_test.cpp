// The host interface of the script engine: registration rules, host methods and properties,
// published objects and components, evaluation and calls from the host, termination.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/error.h"
#include "core/rtti_props.h"
#include "core/variant_convert.h"
#include "script/qs_iclass.h"
#include "script/qs_ievents.h"
#include "script/qs_ihost.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_iproc.h"
#include "script/qs_isysrtti.h"

namespace zavrik {
namespace {

// A reflected host class with published properties of several kinds.
class THostItem : public Object {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"THostItem", &Object::StaticClass(), &New<THostItem>,
                                {Prop(u"Count", &THostItem::Count, &THostItem::SetCount),
                                 Prop(u"Caption", &THostItem::Caption, &THostItem::SetCaption),
                                 Prop(u"Visible", &THostItem::Visible, &THostItem::SetVisible),
                                 Prop(u"Ratio", &THostItem::Ratio),
                                 Prop(u"Style", &THostItem::Style, &THostItem::SetStyle).SetOf(StyleSet()),
                                 Prop(u"Align", &THostItem::Align, &THostItem::SetAlign).Enum(AlignType())});
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int Count() const { return count_; }
  void SetCount(int v) { count_ = v; }
  String Caption() const { return caption_; }
  void SetCaption(String v) { caption_ = std::move(v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  double Ratio() const { return 0.5; }
  int Style() const { return style_; }
  void SetStyle(int v) { style_ = v; }
  int Align() const { return align_; }
  void SetAlign(int v) { align_ = v; }
  static const EnumType& AlignType() {
    static const EnumType type{u"alNone", u"alLeft", u"alRight"};
    return type;
  }
  static const EnumType& StyleSet() {
    static const EnumType type{u"fsBold", u"fsItalic", u"fsUnderline"};
    return type;
  }

 private:
  int count_ = 3;
  String caption_ = u"first";
  bool visible_ = true;
  int style_ = 0;
  int align_ = 0;
};

// A data module: owns named components, its own class unknown to scripts unless published.
class Tdm : public Object, public TqsComponentOwner {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"Tdm", &Object::StaticClass(), nullptr, {});
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  String ComponentName() const override { return u"Dm"; }
  std::vector<Object*> OwnedComponents() const override { return {const_cast<THostItem*>(&base_)}; }
  String ComponentNameOf(const Object* c) const override { return c == &base_ ? u"Base" : u""; }
  THostItem base_;
};

// A two-record data set with the fields ID and NAME (NAME is Null in the second record).
class TFakeField : public Object, public TqsFieldSource {
 public:
  TFakeField(String name, const int* row, std::vector<Variant> values)
      : name_(std::move(name)), row_(row), values_(std::move(values)) {}
  String FieldName() const override { return name_; }
  Variant FieldValue() const override { return values_[static_cast<size_t>(*row_)]; }

 private:
  String name_;
  const int* row_;
  std::vector<Variant> values_;
};

class TFakeQuery : public Object, public TqsDataSetSource {
 public:
  static const ClassInfo& StaticClass() {
    static const ClassInfo info(u"TFakeQuery", &qsNamedClass(u"TDataSet", nullptr), nullptr, {});
    return info;
  }
  const ClassInfo& ClassType() const override { return StaticClass(); }
  void Open() override { active_ = true; }
  void Close() override { active_ = false; }
  bool Active() const override { return active_; }
  void First() override { row_ = 0; }
  void Next() override { ++row_; }
  void Prior() override { --row_; }
  bool Eof() const override { return row_ >= 2; }
  bool Bof() const override { return row_ == 0; }
  int RecordCount() const override { return 2; }
  int FieldCount() const override { return 2; }
  Object* Field(int index) const override { return index == 0 ? (Object*)&id_ : (Object*)&name_; }
  Object* FindField(StringView name) const override {
    if (qsSameName(name, u"ID")) return Field(0);
    return qsSameName(name, u"NAME") ? Field(1) : nullptr;
  }

 private:
  bool active_ = false;
  int row_ = 0;
  TFakeField id_{u"ID", &row_, {Variant(int32_t{7}), Variant(int32_t{8})}};
  TFakeField name_{u"NAME", &row_, {Variant(String(u"first")), Variant::Null()}};
};

struct Collected {
  std::vector<String> texts;
  Collected() {
    qsSetShowMessageHandler([this](const String& t) { texts.push_back(t); });
  }
  ~Collected() { qsSetShowMessageHandler(nullptr); }
};

// Compiles and runs PascalScript; fails the test on a compile error.
void RunProgram(TqsScript& script, const char* text) {
  script.SetText(Utf8ToString(text));
  ASSERT_TRUE(script.Compile()) << StringToUtf8(script.ErrorPos + u": " + script.ErrorMsg);
  script.Execute();
}

String CompileError(TqsScript& script, const char* text) {
  script.SetText(Utf8ToString(text));
  if (script.Compile()) return u"compiled";
  return script.ErrorPos + u": " + script.ErrorMsg;
}

TEST(ScriptRegistration, VariablesConvertAndTheFirstRegistrationWins) {
  TqsScript parent(&qsGlobalUnit());
  parent.AddVariable(u"X", u"Integer", Variant(String(u"12")));
  const Variant x = parent.Find(u"x")->Value();
  EXPECT_EQ(x.Kind(), VarKind::Integer);
  EXPECT_EQ(x.SignedValue(), 12);
  TqsScript child(&parent);
  child.AddVariable(u"X", u"String", Variant(String(u"other")));
  EXPECT_EQ(child.FindLocal(u"X"), nullptr);
  child.AddConst(u"Limit", u"Integer", Variant(5.0));
  EXPECT_EQ(CompileError(child, "begin Limit := 1; end."), u"1:7: Left side cannot be assigned to");
}

TEST(ScriptRegistration, EnumerationsAndSetsNumberTheirNames) {
  TqsScript script(&qsGlobalUnit());
  script.AddEnumSet(u"TFontStyles", u"fsBold, fsItalic");
  script.AddEnum(u"TAlign", u" alNone,alTop ");
  EXPECT_EQ(script.Find(u"fsBold")->Value().SignedValue(), 1);
  EXPECT_EQ(script.Find(u"fsItalic")->Value().SignedValue(), 2);
  EXPECT_EQ(script.Find(u"alNone")->Value().SignedValue(), 0);
  EXPECT_EQ(script.Find(u"ALTOP")->Value().SignedValue(), 1);
  Collected shown;
  RunProgram(script, "var a: TAlign; begin a := alTop; if a = alTop then ShowMessage('top'); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"top"));
}

TEST(ScriptRegistration, MethodsAreAlwaysAddedAndTheNewestHides) {
  TqsScript parent(&qsGlobalUnit());
  TqsScript child(&parent);
  auto returns = [](const char16_t* text) {
    return [text](Object*, const ClassInfo*, const String&, std::vector<Variant>&) {
      return Variant(String(text));
    };
  };
  parent.AddMethod(u"function Which: String", returns(u"parent"));
  child.AddMethod(u"function Which: String", returns(u"child old"));
  child.AddMethod(u"function Which: String", returns(u"child new"));
  Collected shown;
  RunProgram(child, "begin ShowMessage(Which); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"child new"));
}

TEST(ScriptHostMethods, ReceiveUpperCasedNamesNilInstanceAndTheirArguments) {
  TqsScript script(&qsGlobalUnit());
  String name;
  std::vector<Variant> received;
  Object* instance = reinterpret_cast<Object*>(1);
  script.AddMethod(u"function MoneyToString(S: Real): String;",
                   [&](Object* self, const ClassInfo*, const String& method, std::vector<Variant>& p) {
                     name = method;
                     instance = self;
                     received = p;
                     return Variant(u"words " + VarToString(p[0]));
                   },
                   u"Telvo Система", u"Получить значение денежной суммы прописью");
  Collected shown;
  RunProgram(script, "begin ShowMessage(MoneyToString(1234.56)); end.");
  EXPECT_EQ(name, u"MONEYTOSTRING");
  EXPECT_EQ(instance, nullptr);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_DOUBLE_EQ(VarToDouble(received[0]), 1234.56);
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"words 1234,56"));
  auto* helper = dynamic_cast<TqsMethodHelper*>(script.Find(u"MoneyToString"));
  ASSERT_NE(helper, nullptr);
  EXPECT_EQ(helper->FCategory, u"Telvo Система");
  EXPECT_EQ(helper->FDescription, u"Получить значение денежной суммы прописью");
}

TEST(ScriptHostMethods, VarParametersComeBackAndMacrosReceiveSourceText) {
  TqsScript script(&qsGlobalUnit());
  script.AddMethod(u"procedure Twice(var X: Integer)",
                   [](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                     p[0] = Variant(VarToInteger(p[0]) * 2);
                     return Variant::Null();
                   });
  std::vector<String> texts;
  script.AddMethod(u"macrofunction Pick(Expr: Boolean; A, B: Variant = 0): Variant",
                   [&](Object*, const ClassInfo*, const String&, std::vector<Variant>& p) {
                     for (const Variant& v : p) texts.push_back(VarToStr(v));
                     return Variant(int32_t{1});
                   });
  Collected shown;
  RunProgram(script, "var i: Integer; begin i := 4; Twice(i); ShowMessage(IntToStr(i)); Pick(i > 1, 'x' + 'y'); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"8"));
  EXPECT_THAT(texts, testing::ElementsAre(u"i > 1", u"'x' + 'y'", u""));
}

TEST(ScriptHostClasses, PublishedPropertiesReadAndWriteThroughReflection) {
  TqsScript script(&qsGlobalUnit());
  THostItem item;
  script.AddClass(THostItem::StaticClass(), u"TObject");
  script.AddObject(u"Item", &item);
  Collected shown;
  RunProgram(script,
      "begin ShowMessage(IntToStr(Item.Count) + Item.Caption + VarToStr(Item.Ratio));"
      " Item.Count := Item.Count + 1; Item.Caption := 'second'; Item.Visible := False;"
      " if not Item.Visible then ShowMessage('hidden'); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"3first0,5", u"hidden"));
  shown.texts.clear();
  EXPECT_EQ(item.Count(), 4);
  EXPECT_EQ(item.Caption(), u"second");
  EXPECT_FALSE(item.Visible());
  script.AddEnumSet(u"TFontStyles", u"fsBold, fsItalic, fsUnderline");
  RunProgram(script, "begin Item.Style := [fsBold, fsUnderline]; ShowMessage(IntToStr(Item.Style)); end.");
  EXPECT_EQ(item.Style(), 5);
  TqsScript other(&qsGlobalUnit());
  other.AddClass(THostItem::StaticClass(), u"TObject");
  other.AddObject(u"Item", &item);
  EXPECT_EQ(CompileError(other, "begin Item.Ratio := 2; end."), u"1:7: Left side cannot be assigned to");
}

TEST(ScriptHostClasses, EnumerationAndSetPropertiesTakeTheirTypesNames) {
  TqsScript script(&qsGlobalUnit());
  THostItem item;
  script.AddClass(THostItem::StaticClass(), u"TObject");
  script.AddObject(u"Item", &item);
  script.AddEnum(u"TAlign", u"alNone, alLeft, alRight");
  script.AddEnumSet(u"TFontStyles", u"fsBold, fsItalic, fsUnderline");
  RunProgram(script, "begin Item.Align := alRight; Item.Style := fsItalic; end.");
  EXPECT_EQ(item.Align(), 2);
  EXPECT_EQ(item.Style(), 2);
  EXPECT_EQ(CompileError(script, "begin Item.Align := fsBold; end."),
            u"1:21: Incompatible types: 'TAlign', 'TFontStyles'");
  RunProgram(script, "begin Item.Align := 1; end.");
  EXPECT_EQ(item.Align(), 1);
}

TEST(ScriptHostClasses, IndexedAndDefaultPropertiesCallGetAndSet) {
  TqsScript script(&qsGlobalUnit());
  THostItem item;
  TqsClassVariable* cls = script.AddClass(THostItem::StaticClass(), u"TObject");
  std::vector<String> calls;
  cls->AddDefaultProperty(u"Values", u"String", u"Variant",
                          [&](Object* self, const ClassInfo*, const String& name, std::vector<Variant>& p) {
                            EXPECT_EQ(self, &item);
                            calls.push_back(name + u" " + VarToStr(p.back()));
                            return Variant(u"v:" + VarToStr(p[0]));
                          });
  script.AddObject(u"Item", &item);
  Collected shown;
  RunProgram(script, "begin ShowMessage(Item['a']); Item.Values['b'] := 5; Item['c'] := 6; end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"v:a"));
  EXPECT_THAT(calls, testing::ElementsAre(u"VALUES.GET a", u"VALUES.SET 5", u"VALUES.SET 6"));
}

TEST(ScriptHostClasses, AnUnregisteredClassIsAValueButHasNoMembers) {
  TqsScript script(&qsGlobalUnit());
  Tdm dm;
  script.AddObject(u"Dm", &dm);
  EXPECT_EQ(CompileError(script, "var x: Variant; begin x := Dm.Base; end."),
            u"1:35: Unknown type: 'Tdm'");
  script.Clear();
  script.AddObject(u"Dm", &dm);
  Collected shown;
  RunProgram(script,
      "function Same(o: Variant): Boolean; begin Result := o <> nil; end;"
      " begin if Same(Dm) then ShowMessage('passed'); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"passed"));
}

TEST(ScriptHostClasses, ComponentsOfAPublishedDataModuleAreMembers) {
  TqsScript script(&qsGlobalUnit());
  Tdm dm;
  script.AddClass(THostItem::StaticClass(), u"TObject");
  script.AddComponent(&dm);
  Collected shown;
  RunProgram(script, "begin Dm.Base.Caption := 'via module'; ShowMessage(Dm.Base.Caption); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"via module"));
}

TEST(ScriptHostClasses, DataSetsAndFieldsOfTheHost) {
  TqsScript script(&qsGlobalUnit());
  TFakeQuery query;
  script.AddClass(TFakeQuery::StaticClass(), u"TDataSet");
  script.AddObject(u"Query", &query);
  Collected shown;
  RunProgram(script,
             "var s: String; begin Query.Open; Query.First;"
             " while not Query.Eof do begin"
             "   s := s + Query.FieldByName('id').AsString + ':' + Query.Fields[1].AsString + ';';"
             "   if Query.FieldByName('NAME').IsNull then s := s + 'null;';"
             "   Query.Next; end;"
             " ShowMessage(s + IntToStr(Query.RecordCount) + IntToStr(Query.FieldCount));"
             " if Query.FindField('none') = nil then ShowMessage('no field');"
             " if Query is TDataSet then ShowMessage('a data set');"
             " try Query.FieldByName('none'); except ShowMessage(ExceptionMessage); end; end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"7:first;8:;null;22", u"no field", u"a data set",
                                                u"Field 'none' not found"));
}

TEST(ScriptHostClasses, DataSetEventsFireAroundWhatScriptsDo) {
  TqsScript script(&qsGlobalUnit());
  TFakeQuery query;
  script.AddClass(TFakeQuery::StaticClass(), u"TDataSet");
  script.AddObject(u"Query", &query);
  Collected shown;
  RunProgram(script,
             "var Log: String;"
             " procedure BeforeOpen(DataSet: TDataSet); begin Log := Log + 'bo;'; end;"
             " procedure AfterOpen(DataSet: TDataSet);"
             " begin if DataSet.Active then Log := Log + 'ao;'; end;"
             " procedure AfterScroll(DataSet: TDataSet); begin Log := Log + 'as;'; end;"
             " procedure AfterClose(DataSet: TDataSet); begin Log := Log + 'ac;'; end;"
             " procedure GetText(Sender: TField; var Text: String; DisplayText: Boolean);"
             " begin if DisplayText then Text := '<' + Text + '>' else Text := Text + '!'; end;"
             " begin Query.BeforeOpen := 'BeforeOpen'; Query.AfterOpen := 'AfterOpen';"
             " Query.AfterScroll := 'AfterScroll'; Query.AfterClose := 'AfterClose';"
             " Query.FieldByName('ID').OnGetText := 'GetText';"
             " Query.Open; Query.First; Query.Next;"
             " ShowMessage(Query.FieldByName('ID').DisplayText + Query.FieldByName('ID').Text);"
             " Query.AfterScroll := ''; Query.Prior; Query.Close; ShowMessage(Log); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"<8>8!", u"bo;ao;as;as;ac;"));
}

TEST(ScriptEvents, AdaptersPassArgumentsAndTakeBackVarParameters) {
  TqsScript script(&qsGlobalUnit());
  RunProgram(script,
             "var Log: String;"
             " procedure CloseQuery(Sender: TObject; var CanClose: Boolean);"
             " begin CanClose := False; end;"
             " procedure KeyPress(Sender: TObject; var Key: Char); begin Key := 'x'; end;"
             " procedure CanResize(Sender: TObject; var W, H: Integer; var Resize: Boolean);"
             " begin W := W * 2; H := H + 1; Resize := False; end;"
             " procedure Mouse(Sender: TObject; Button, Shift, X, Y: Integer);"
             " begin Log := Log + IntToStr(Button + Shift + X + Y) + ';'; end;"
             " procedure Filter(DataSet: TObject; var Accept: Boolean); begin Accept := False; end;"
             " begin end.");
  auto proc = [&](const char16_t* name) { return dynamic_cast<TqsProcVariable*>(script.FindLocal(name)); };
  THostItem sender;
  bool can_close = true;
  TqsCloseQueryEvent(proc(u"CloseQuery"), &sender).Notify(&sender, can_close);
  EXPECT_FALSE(can_close);
  char16_t key = u'a';
  TqsKeyPressEvent(proc(u"KeyPress"), &sender).Notify(&sender, key);
  EXPECT_EQ(key, u'x');
  int w = 10, h = 20;
  bool resize = true;
  TqsCanResizeEvent(proc(u"CanResize"), &sender).Notify(&sender, w, h, resize);
  EXPECT_EQ(w, 20);
  EXPECT_EQ(h, 21);
  EXPECT_FALSE(resize);
  TqsMouseEvent(proc(u"Mouse"), &sender).Notify(&sender, 1, 2, 3, 4);
  EXPECT_EQ(VarToString(script.Find(u"Log")->Value()), u"10;");
  bool accept = true;
  TqsFilterRecordEvent(proc(u"Filter"), &sender).Notify(&sender, accept);
  EXPECT_FALSE(accept);
}

TEST(ScriptEvents, BindingsEndWithTheirProcedureOrObject) {
  THostItem item;
  {
    TqsScript script(&qsGlobalUnit());
    RunProgram(script, "procedure Handler(Sender: TObject); begin end; begin end.");
    auto* handler = dynamic_cast<TqsProcVariable*>(script.FindLocal(u"Handler"));
    qsBindEvent(&item, u"OnChange", std::make_unique<TqsNotifyEvent>(handler, &item));
    EXPECT_NE(qsFindEvent<TqsNotifyEvent>(&item, u"onchange"), nullptr);
  }
  EXPECT_EQ(qsFindEvent(&item, u"OnChange"), nullptr);
  qsBindEvent(&item, u"OnChange", std::make_unique<TqsNotifyEvent>(nullptr, &item));
  qsUnbindInstance(&item);
  EXPECT_EQ(qsFindEvent(&item, u"OnChange"), nullptr);
}

TEST(ScriptHostClasses, EventPropertiesTakeProcedureNames) {
  TqsScript script(&qsGlobalUnit());
  THostItem item;
  TqsClassVariable* cls = script.AddClass(THostItem::StaticClass(), u"TObject");
  TqsCustomVariable* bound = nullptr;
  cls->AddEvent(u"OnClick", [&](Object*, TqsCustomVariable* handler) { bound = handler; });
  script.AddObject(u"Item", &item);
  RunProgram(script, "procedure Clicked; begin end; begin Item.OnClick := 'Clicked'; end.");
  ASSERT_NE(bound, nullptr);
  EXPECT_EQ(bound->Name(), u"Clicked");
  script.ClearItems(nullptr);
  cls = script.AddClass(THostItem::StaticClass(), u"TObject");
  cls->AddEvent(u"OnClick", [&](Object*, TqsCustomVariable* handler) { bound = handler; });
  script.AddObject(u"Item", &item);
  script.SetText(u"var NotAProc: Integer; begin Item.OnClick := 'NotAProc'; end.");
  ASSERT_TRUE(script.Compile());
  EXPECT_THROW(
      {
        try {
          script.Execute();
        } catch (const Error& e) {
          EXPECT_EQ(e.Message(), u"Event handler must be a procedure");
          throw;
        }
      },
      Error);
}

TEST(ScriptEvaluate, WrapsTheExpressionInEachLanguage) {
  TqsScript script(&qsGlobalUnit());
  Variant v = script.Evaluate(u"1 + 2");
  EXPECT_FALSE(script.FEvaluteRiseError);
  EXPECT_EQ(v.Kind(), VarKind::Integer);
  EXPECT_EQ(v.SignedValue(), 3);
  v = script.Evaluate(u"1 +");
  EXPECT_TRUE(script.FEvaluteRiseError);
  EXPECT_TRUE(v.IsString());
  for (const char16_t* language : {u"C++Script", u"BasicScript", u"JScript"}) {
    script.FSyntaxType = language;
    v = script.Evaluate(u"2 * 3 + 1");
    EXPECT_FALSE(script.FEvaluteRiseError) << StringToUtf8(VarToStr(v));
    EXPECT_EQ(VarToInteger(v), 7) << StringToUtf8(language);
  }
  script.FSyntaxType = u"BasicScript";
  EXPECT_EQ(VarToString(script.Evaluate(u"\"n=\" & 5")), u"n=5");
  script.FSyntaxType = u"PascalScript";
  EXPECT_THROW(script.Evaluate(u"1 div 0"), Error);
}

TEST(ScriptEvaluate, SeesTheRunningRoutinesLocals) {
  TqsScript script(&qsGlobalUnit());
  String seen;
  script.AddMethod(u"procedure Probe", [&](Object*, const ClassInfo*, const String&, std::vector<Variant>&) {
    seen = VarToString(script.Evaluate(u"Local * 2")) + u" in " + script.ProgName();
    return Variant::Null();
  });
  RunProgram(script, "procedure Inner; var Local: Integer; begin Local := 21; Probe; end; begin Inner; end.");
  EXPECT_EQ(seen, u"42 in Inner");
}

TEST(ScriptCallFunction, CallsRoutinesAndCopiesParametersBack) {
  TqsScript script(&qsGlobalUnit());
  RunProgram(script,
      "function F(n: Integer): Integer; begin if n = 0 then Result := 1 else Result := n * F(n - 1) end;"
      " procedure Bump(var n: Integer); begin n := n + 1; end; begin end.");
  Variant args = Variant::CreateArray({ArrayBound{0, 0}});
  args.ArrayValue()->items[0] = Variant(int32_t{5});
  EXPECT_EQ(VarToInteger(script.CallFunction(u"F", args)), 120);
  args.ArrayValue()->items[0] = Variant(int32_t{1});
  script.CallFunction1(u"Bump", args);
  EXPECT_EQ(VarToInteger(args.ArrayValue()->items[0]), 2);
  EXPECT_TRUE(script.CallFunction(u"Missing", args).IsNull());
  EXPECT_TRUE(script.CallFunction(u"IntToStr", args).IsNull());
}

TEST(ScriptRun, TerminateFromAHostCallbackEndsAnEndlessLoop) {
  TqsScript script(&qsGlobalUnit());
  int calls = 0;
  script.AddMethod(u"procedure Tick", [&](Object*, const ClassInfo*, const String&, std::vector<Variant>&) {
    if (++calls == 100) script.Terminate();
    return Variant::Null();
  });
  Collected shown;
  RunProgram(script, "procedure Spin; begin while True do Tick; end; begin Spin; ShowMessage('after'); end.");
  EXPECT_EQ(calls, 100);
  EXPECT_TRUE(shown.texts.empty());
  EXPECT_FALSE(script.FTerminated);  // Execute clears the flags afterwards
}

TEST(ScriptRun, ARunningScriptIsNotRecompiled) {
  TqsScript script(&qsGlobalUnit());
  bool compiled = true;
  script.AddMethod(u"procedure Again", [&](Object*, const ClassInfo*, const String&, std::vector<Variant>&) {
    compiled = script.Compile();
    return Variant::Null();
  });
  Collected shown;
  RunProgram(script, "begin Again; ShowMessage('still here'); end.");
  EXPECT_FALSE(compiled);
  EXPECT_EQ(script.ErrorMsg, u"Cannot compile a running script");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"still here"));
}

TEST(ScriptRun, OnRunLineSeesEveryStatementAndErrorsRecordTheirPosition) {
  TqsScript script(&qsGlobalUnit());
  std::vector<String> positions;
  script.FOnRunLine = [&](TqsScript&, const String&, const String& pos) { positions.push_back(pos); };
  script.SetText(u"var i: Integer;\r\nbegin\r\n  i := 1;\r\n  i := i div 0;\r\nend.");
  ASSERT_TRUE(script.Compile());
  EXPECT_THROW(script.Execute(), Error);
  EXPECT_EQ(positions.size(), 2u);
  EXPECT_EQ(script.ErrorPos, positions.back());
  EXPECT_TRUE(script.ErrorPos.starts_with(u"4:"));
}

TEST(ScriptRun, HostHooksSeeReadsAndLocalsCanBeCleared) {
  TqsScript script(&qsGlobalUnit());
  script.FOnGetVarValue = [](const String& name, TqsVarType, const Variant& old) {
    return name == u"Hooked" ? Variant(int32_t{99}) : old;
  };
  script.AddVariable(u"Hooked", u"Integer", Variant(int32_t{1}));
  script.FClearLocalVars = true;
  Collected shown;
  RunProgram(script,
      "function Keep: Integer; var k: Integer; begin Result := k; k := 7; end;"
      " begin ShowMessage(IntToStr(Hooked)); Keep; ShowMessage(IntToStr(Keep)); end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"99", u"0"));
}

TEST(ScriptScopes, ClearItemsRemovesOnlyWhatAnOwnerAdded) {
  TqsScript script(&qsGlobalUnit());
  int report_tag = 0;
  script.AddVariable(u"Kept", u"Integer", Variant(int32_t{1}));
  script.FAddedBy = &report_tag;
  script.AddVariable(u"Dropped", u"Integer", Variant(int32_t{2}));
  script.FAddedBy = nullptr;
  script.ClearItems(&report_tag);
  EXPECT_NE(script.FindLocal(u"Kept"), nullptr);
  EXPECT_EQ(script.FindLocal(u"Dropped"), nullptr);
  script.Clear();
  EXPECT_EQ(script.FindLocal(u"Kept"), nullptr);
}

TEST(ScriptScopes, LinesEndWithCrLfTheLastIncluded) {
  TqsScript script(&qsGlobalUnit());
  script.SetText(u"a\nb\r\nc");
  EXPECT_EQ(script.Lines().size(), 3u);
  EXPECT_EQ(script.Text(), u"a\r\nb\r\nc\r\n");
  // BasicScript needs the final line end.
  script.FSyntaxType = u"BasicScript";
  script.SetText(u"x = 1");
  EXPECT_TRUE(script.Compile()) << StringToUtf8(script.ErrorMsg);
}

TEST(ScriptScopes, TheGlobalUnitHoldsTheLibrary) {
  TqsScript& global = qsGlobalUnit();
  EXPECT_TRUE(global.FRTTIAdded);
  for (const char16_t* name : {u"Integer", u"TDateTime", u"True", u"nil", u"varByRef", u"ExceptionMessage",
                               u"Format", u"NameCase", u"TStringList", u"TIBQuery", u"TDataSet", u"TForm"}) {
    EXPECT_NE(global.Find(name), nullptr) << StringToUtf8(name);
  }
  TqsScript own;
  own.AddRTTI();
  own.AddRTTI();
  EXPECT_NE(own.FindLocal(u"IntToStr"), nullptr);
  own.ClearRTTI();
  EXPECT_EQ(own.FindLocal(u"IntToStr"), nullptr);
}

TEST(ScriptLateBinding, VariantMembersResolveWhenFirstUsed) {
  TqsScript script(&qsGlobalUnit());
  Collected shown;
  RunProgram(script, "var v: Variant; begin v := TStringList.Create; v.Add('late'); ShowMessage(v.Strings[0]); v.Free; end.");
  EXPECT_THAT(shown.texts, testing::ElementsAre(u"late"));
  script.Clear();
  script.SetText(u"var v: Variant; begin v.Anything := 1; end.");
  ASSERT_TRUE(script.Compile());
  EXPECT_THROW(script.Execute(), Error);
}

}  // namespace
}  // namespace zavrik
