// The memo's print cycle: data fields, expressions with formats, highlights, repeated values,
// text flow and page macros.
#include <algorithm>

#include "core/error.h"
#include "core/float_text.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"
#include "report/model/qbx_data_field.h"
#include "report/model/qbx_evaluator.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_variables.h"

namespace zavrik {
namespace {

// Numbers, dates and booleans equal to 0; never null or strings.
bool IsZeroValue(const Variant& value) {
  if (value.IsNull() || value.IsString() || value.Kind() == VarKind::Empty) return false;
  try {
    return VarEqual(value, Variant(int32_t{0}));
  } catch (const Error&) {
    return false;
  }
}

// Replaces every occurrence of `macro` (ASCII case-insensitive).
String ReplaceMacro(String text, StringView macro, StringView value) {
  const String upper_macro = AsciiUpper(macro);
  for (size_t at = AsciiUpper(text).find(upper_macro); at != String::npos;
       at = AsciiUpper(text).find(upper_macro, at + value.size())) {
    text.replace(at, macro.size(), value);
  }
  return text;
}

}  // namespace

String TqbxCustomMemoView::GetComponentText() const {
  String text = Text();
  if (!AllowExpressions) return text;
  const size_t at = AsciiUpper(text).find(u"[TOTALPAGES]");
  if (at != String::npos) text.replace(at, 12, IntToStr(TotalPages));
  return text;
}

String TqbxCustomMemoView::FormatData(const Variant& value, const TqbxFormat* format) const {
  return zavrik::FormatData(value, format ? *format : *DisplayFormat());
}

void TqbxCustomMemoView::BeforePrint() {
  TqbxStretcheable::BeforePrint();
  if (!IsDataField()) FSavedLines = FMemo->Lines();
}

void TqbxCustomMemoView::AfterPrint() {
  if (!IsDataField()) FMemo->AssignLines(FSavedLines);
  RestoreHighlighted();
  TqbxStretcheable::AfterPrint();
}

void TqbxCustomMemoView::GetData() {
  TqbxStretcheable::GetData();
  if (FFormats.empty()) FFormats.push_back(std::make_unique<TqbxFormat>());
  TqbxEvaluator* evaluator = EvaluatorOf(*this);
  if (auto* source = IsDataField() ? dynamic_cast<TqbxFieldSource*>(DataSet()) : nullptr) {
    const String& field = DataField();
    if (source->IsBlobField(field)) {
      FMemo->SetText(source->BlobText(field));
    } else {
      Value = source->FieldValue(field);
      String text = DisplayFormat()->Kind != fkText ? FormatData(Value) : source->FieldDisplayText(field);
      if (HideZeros && IsZeroValue(Value)) text.clear();
      FMemo->SetText(text);
    }
  } else if (AllowExpressions) {
    ExpandExpressions();
  }
  if (evaluator) {
    evaluator->SetLocalValue(Value);
    for (const auto& highlight : FHighlights) {
      if (highlight->Condition.empty()) continue;
      if (!VarEqual(evaluator->Calc(highlight->Condition), Variant(true))) continue;
      ApplyHighlight(*highlight);
      break;
    }
  }
  if (SuppressRepeated) {
    const Variant text(Text());
    if (FLastValue.IsNull() || !VarEqual(FLastValue, text)) FLastValue = text;
    else FMemo->Clear();
  }
  if (FFlowTo) {
    InitPart();
    DrawPart();
    FFlowTo->FMemo->SetText(PartMemo);
    FFlowTo->AllowExpressions = false;
  }
}

void TqbxCustomMemoView::ExpandExpressions() {
  const StringView delimiters(ExpressionDelimiters);
  const size_t comma = delimiters.find(u',');
  const StringView open = delimiters.substr(0, comma);
  const StringView close = comma == StringView::npos ? StringView() : delimiters.substr(comma + 1, 255);
  String text = FMemo->Text();
  if (open.empty() || close.empty() || text.find(open) == String::npos) return;
  size_t format_index = 0;
  for (size_t pos = text.find(open); pos != String::npos; pos = text.find(open, pos)) {
    size_t end = pos;
    const StringView expression = MatchBrackets(text, open, close, pos, end);
    if (end == pos) break;
    const String value = EvaluateExpression(expression, *FFormats[format_index]);
    text.replace(pos, end - pos + 1, value);
    pos += value.size();
    if (format_index + 1 < FFormats.size()) ++format_index;
  }
  FMemo->SetText(text);
}

String TqbxCustomMemoView::EvaluateExpression(StringView expression, const TqbxFormat& format) {
  std::shared_ptr<const TqbxFormat> inline_format;
  if (const size_t hash = expression.find(u" #"); hash != StringView::npos && expression.find(u')', hash) == StringView::npos) {
    inline_format = InlineFormat(expression.substr(hash + 2));
    expression = expression.substr(0, hash);
  }
  if (SameTextAscii(expression, u"TOTALPAGES#")) Value = Variant(String(u"[TotalPages#]"));
  else if (SameTextAscii(expression, u"COPYNAME#")) Value = Variant(String(u"[CopyName#]"));
  else if (TqbxEvaluator* evaluator = EvaluatorOf(*this)) Value = evaluator->Calc(expression);
  else Value = Variant::Null();
  if (HideZeros && IsZeroValue(Value)) return String();
  return FormatData(Value, inline_format ? inline_format.get() : &format);
}

std::shared_ptr<const TqbxFormat> TqbxCustomMemoView::InlineFormat(StringView text) {
  for (const auto& [key, format] : FInlineFormats)
    if (key == text) return format;
  // Texts that change from row to row keep the list short.
  constexpr size_t kMaxInlineFormats = 16;
  if (FInlineFormats.size() >= kMaxInlineFormats) FInlineFormats.clear();
  auto format = std::make_shared<const TqbxFormat>(ParseInlineFormat(text));
  FInlineFormats.emplace_back(String(text), format);
  return format;
}

void TqbxCustomMemoView::ExtractMacros() {
  if (!AllowExpressions) return;
  // A text without brackets holds no macro; one without breaks inside its lines keeps its lines.
  const auto& lines = FMemo->Lines();
  if (std::none_of(lines.begin(), lines.end(),
                   [](const String& line) { return line.find_first_of(u"[\r\n") != String::npos; }))
    return;
  String text = FMemo->Text();
  text = ReplaceMacro(text, u"[TOTALPAGES#]", IntToStr(TotalPages));
  const String copy_name = u"CopyName" + IntToStr(CopyNo);
  const TqbxVariables& globals = qbxGlobalVariables();
  const String value =
      globals.IndexOf(copy_name) >= 0 ? VarToStr(globals.Get(copy_name)) : String();
  text = ReplaceMacro(text, u"[COPYNAME#]", value);
  FMemo->SetText(text);
}

void TqbxCustomMemoView::ApplyHighlight(const TqbxHighlight& highlight) {
  if (!FKept) {
    FKept = std::make_unique<Kept>();
    FKept->fill = Fill()->Clone();
    FKept->font.Assign(*Font());
    FKept->parent_font = ParentFont();
    FKept->own_font_implied = OwnFontImplied();
    FKept->frame.Assign(*Frame());
    FKept->visible = Visible();
  }
  if (highlight.ApplyFont) TakeFont(*highlight.Font());
  if (highlight.ApplyFill) SetFill(highlight.Fill());
  if (highlight.ApplyFrame) Frame()->Assign(*highlight.Frame());
  SetVisible(highlight.Visible);
}

void TqbxCustomMemoView::RestoreHighlighted() {
  if (!FKept) return;
  SetFill(FKept->fill.get());
  Font()->Assign(FKept->font);
  RestoreFontLink(FKept->parent_font, FKept->own_font_implied);
  Frame()->Assign(FKept->frame);
  SetVisible(FKept->visible);
  FKept.reset();
}

}  // namespace zavrik
