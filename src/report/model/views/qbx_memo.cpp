#include "report/model/views/qbx_memo.h"

#include <map>

#include "core/rtti_props.h"
#include "report/model/qbx_diff.h"
#include "report/model/qbx_report.h"
#include "report/document/qbx_xml_document.h"

namespace zavrik {
namespace {

template <class T>
std::vector<const Object*> ObjectList(const std::vector<std::unique_ptr<T>>& items) {
  std::vector<const Object*> list;
  for (const auto& item : items) list.push_back(item.get());
  return list;
}

}  // namespace

TqbxCustomMemoView::TqbxCustomMemoView() {
  SetComponentStyle((ComponentStyle() & ~csDefaultDiff) | csHandlesNestedProperties);
}

TqbxCustomMemoView::~TqbxCustomMemoView() = default;

const ClassInfo& TqbxCustomMemoView::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxCustomMemoView", &TqbxStretcheable::StaticClass(), &New<TqbxCustomMemoView>, {}); });
  return info;
}

PropList TqbxCustomMemoView::Pick(std::initializer_list<const char16_t*> names) {
  using C = TqbxCustomMemoView;
  static const std::map<String, PropInfo> all = [] {
    static const EnumType h_align{u"haLeft", u"haRight", u"haCenter", u"haBlock"};
    static const EnumType v_align{u"vaTop", u"vaBottom", u"vaCenter"};
    static const EnumType duplicates{u"dmShow", u"dmHide", u"dmClear", u"dmMerge"};
    static const EnumType underlines{u"ulmNone", u"ulmUnderlinesAll", u"ulmUnderlinesText", u"ulmUnderlinesTextAndEmptyLines"};
    std::map<String, PropInfo> m;
    auto add = [&m](PropInfo p) { m.emplace(p.name, std::move(p)); };
    for (PropInfo& p : TqbxView::FillProps()) add(std::move(p));
    for (PropInfo& p : FontProps()) add(std::move(p));
    add(Field(u"AllowExpressions", &C::AllowExpressions).Default(1));
    add(Field(u"AllowHTMLTags", &C::AllowHTMLTags).Default(0));
    add(Field(u"AutoWidth", &C::AutoWidth).Default(0));
    add(Field(u"CharSpacing", &C::CharSpacing).Stored(&C::IsCharSpacingStored));
    add(Field(u"Clipped", &C::Clipped).Default(1));
    add(Prop(u"DisplayFormat", &C::DisplayFormat).Stored(&C::IsDisplayFormatStored));
    add(Field(u"Duplicates", &C::Duplicates).Enum(duplicates).Default(dmShow));
    add(Field(u"ExpressionDelimiters", &C::ExpressionDelimiters).Stored(&C::IsDelimitersStored));
    add(Prop(u"FlowTo", &C::FlowTo, &C::SetFlowTo).Reference());
    add(Field(u"FirstParaBreak", &C::FirstParaBreak).Default(0));
    add(Field(u"GapX", &C::GapX).Stored(&C::IsGapXStored));
    add(Field(u"GapY", &C::GapY).Stored(&C::IsGapYStored));
    add(Field(u"HAlign", &C::HAlign).Enum(h_align).Default(haLeft));
    add(Field(u"HideZeros", &C::HideZeros).Default(0));
    // Written only as the memo's own Text attribute.
    add(Prop(u"Memo", &C::Memo).NotStored());
    add(Prop(u"Highlight", &C::Highlight).Stored(&C::IsHighlightStored));
    add(Field(u"LastParaBreak", &C::LastParaBreak).Default(0));
    add(Field(u"LineSpacing", &C::LineSpacing).Stored(&C::IsLineSpacingStored));
    add(Field(u"ParagraphGap", &C::ParagraphGap).Stored(&C::IsParagraphGapStored));
    add(Prop(u"Processing", &C::Processing));
    add(Prop(u"Rotation", &C::Rotation, &C::SetRotation).Default(0));
    add(Field(u"RTLReading", &C::RTLReading).Default(0));
    add(Prop(u"Style", &C::Style, &C::SetStyle));
    add(Field(u"SuppressRepeated", &C::SuppressRepeated).Default(0));
    add(Prop(u"Underlines", &C::Underlines, &C::SetUnderlines).NotStored());
    add(Prop(u"UnderlinesTextMode", &C::UnderlinesTextMode, &C::SetUnderlinesTextMode).Enum(underlines).Default(ulmNone));
    add(Field(u"UseDefaultCharset", &C::UseDefaultCharset).Default(0));
    add(Field(u"VAlign", &C::VAlign).Enum(v_align).Default(vaTop));
    add(Field(u"WordBreak", &C::WordBreak).Default(0));
    add(Field(u"WordWrap", &C::WordWrap).Default(1));
    add(Field(u"Wysiwyg", &C::Wysiwyg).Default(1));
    return m;
  }();
  PropList list;
  for (const char16_t* name : names) list.push_back(all.at(name));
  return list;
}

const ClassInfo& TqbxMemoView::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxMemoView", &TqbxCustomMemoView::StaticClass(), &New<TqbxMemoView>, Pick({
      u"AllowExpressions", u"AllowHTMLTags", u"AutoWidth", u"CharSpacing", u"Clipped", u"DisplayFormat",
      u"Duplicates", u"ExpressionDelimiters", u"FillType", u"Fill", u"FlowTo", u"Font", u"ParentFont",
      u"FirstParaBreak", u"GapX", u"GapY", u"HAlign", u"HideZeros", u"Highlight", u"LastParaBreak",
      u"LineSpacing", u"Memo", u"ParagraphGap", u"Processing", u"Rotation", u"RTLReading", u"Style", u"SuppressRepeated",
      u"Underlines", u"UnderlinesTextMode", u"UseDefaultCharset", u"VAlign", u"WordBreak", u"WordWrap", u"Wysiwyg",
  })); });
  return info;
}

const ClassInfo& TqbxSysMemoView::StaticClass() {
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxSysMemoView", &TqbxCustomMemoView::StaticClass(), &New<TqbxSysMemoView>, Pick({
      u"AutoWidth", u"CharSpacing", u"DisplayFormat", u"Font", u"FillType", u"Fill", u"GapX", u"GapY", u"HAlign",
      u"HideZeros", u"Highlight", u"Memo", u"ParentFont", u"Processing", u"Rotation", u"RTLReading", u"Style",
      u"SuppressRepeated", u"Duplicates", u"VAlign", u"WordWrap",
  })); });
  return info;
}

String TqbxCustomMemoView::Text() const {
  const std::vector<String>& lines = FMemo->Lines();
  if (lines.size() == 1) return lines.front();
  String text;
  TextIn(text);
  return text;
}

StringView TqbxCustomMemoView::TextIn(String& buffer) const {
  // The lines joined by line breaks: the memo's text less its final line break.
  const std::vector<String>& lines = FMemo->Lines();
  if (lines.size() == 1) return lines.front();
  buffer.clear();
  size_t size = 0;
  for (const String& line : lines) size += line.size() + 2;
  buffer.reserve(size);
  for (const String& line : lines) {
    if (&line != &lines.front()) buffer += u"\r\n";
    buffer += line;
  }
  return buffer;
}

TqbxFormat* TqbxCustomMemoView::DisplayFormat() const {
  if (FFormats.empty()) FFormats.push_back(std::make_unique<TqbxFormat>());
  return FFormats.front().get();
}

TqbxHighlight* TqbxCustomMemoView::Highlight() const {
  if (FHighlights.empty()) FHighlights.push_back(std::make_unique<TqbxHighlight>());
  return FHighlights.front().get();
}

bool TqbxCustomMemoView::IsHighlightStored() const {
  return FHighlights.size() == 1 && !Trim(FHighlights.front()->Condition).empty();
}

bool TqbxCustomMemoView::ReadNestedProperty(TqbxXMLItem& item, TqbxXMLSerializer& serializer) {
  if (SameTextAscii(item.Name(), u"Formats")) {
    serializer.ReadCollection(item, [this]() -> Object& { return *FFormats.emplace_back(std::make_unique<TqbxFormat>()); });
    return true;
  }
  if (SameTextAscii(item.Name(), u"Highlights")) {
    serializer.ReadCollection(item, [this]() -> Object& { return *FHighlights.emplace_back(std::make_unique<TqbxHighlight>()); });
    return true;
  }
  return false;
}

bool TqbxCustomMemoView::WriteNestedProperties(TqbxXMLItem& item, TqbxXMLSerializer& serializer) const {
  bool written = false;
  if (FFormats.size() >= 2) serializer.WriteCollection(item, u"Formats", ObjectList(FFormats)), written = true;
  if (FHighlights.size() >= 2) serializer.WriteCollection(item, u"Highlights", ObjectList(FHighlights)), written = true;
  return written;
}

bool TqbxCustomMemoView::ReadDefinedProperty(StringView name, TqbxPropReader& reader, TqbxXMLSerializer& serializer) {
  if (SameTextAscii(name, u"Formats")) {
    serializer.ReadCollectionData(reader, [this]() -> Object& { return *FFormats.emplace_back(std::make_unique<TqbxFormat>()); });
    return true;
  }
  if (SameTextAscii(name, u"Highlights")) {
    serializer.ReadCollectionData(reader, [this]() -> Object& { return *FHighlights.emplace_back(std::make_unique<TqbxHighlight>()); });
    return true;
  }
  return false;
}

void TqbxCustomMemoView::SetUnderlines(bool v) {
  if (!v) FUnderlinesTextMode = ulmNone;
  else if (FUnderlinesTextMode == ulmNone) FUnderlinesTextMode = ulmUnderlinesAll;
}

void TqbxCustomMemoView::SetStyle(const String& v) {
  FStyle = v;
  auto* report = dynamic_cast<TqbxReport*>(Report());
  if (!report) return;
  for (const auto& style : report->Styles()) {
    if (style->Name() != v) continue;
    if (style->ApplyFont) TakeFont(*style->Font());
    if (style->ApplyFill) SetFill(style->Fill());
    if (style->ApplyFrame) Frame()->Assign(*style->Frame());
    return;
  }
}

void TqbxCustomMemoView::MirrorContent(int32_t mirror_modes) {
  TqbxStretcheable::MirrorContent(mirror_modes);
  if (mirror_modes & mcmRTLContent) {
    if (HAlign == haLeft) HAlign = haRight;
    else if (HAlign == haRight) HAlign = haLeft;
  }
  if (mirror_modes & mcmBTTContent) {
    if (VAlign == vaTop) VAlign = vaBottom;
    else if (VAlign == vaBottom) VAlign = vaTop;
  }
  if (mirror_modes & mcmRTLSpecial) RTLReading = true;
}

String TqbxCustomMemoView::Diff(const TqbxComponent* other) const {
  const auto* o = ComponentAs<TqbxCustomMemoView>(other);
  std::unique_ptr<Object> fresh;
  if (!o) {
    fresh = ClassType().Create();
    o = dynamic_cast<const TqbxCustomMemoView*>(fresh.get());
    if (!o) return String();
  }
  String out = TqbxStretcheable::Diff(o);
  DiffBool(out, u"AutoWidth", AutoWidth, o->AutoWidth);
  DiffFloat(out, u"CharSpacing", CharSpacing, o->CharSpacing);
  DiffFloat(out, u"GapX", GapX, o->GapX);
  DiffFloat(out, u"GapY", GapY, o->GapY);
  DiffInt(out, u"HAlign", HAlign, o->HAlign);
  DiffFloat(out, u"LineSpacing", LineSpacing, o->LineSpacing);
  DiffBool(out, u"UseDefaultCharset", UseDefaultCharset, o->UseDefaultCharset);
  out += u" u=\"";
  String joined;
  AppendXmlEscaped(out, TextIn(joined));
  out += u'"';
  if (!Hint().empty()) DiffAttr(out, u"Hint", XmlEscape(Hint()));
  DiffFloat(out, u"ParagraphGap", ParagraphGap, o->ParagraphGap);
  DiffInt(out, u"Rotation", FRotation, o->FRotation);
  DiffBool(out, u"RTLReading", RTLReading, o->RTLReading);
  DiffInt(out, u"UnderlinesTextMode", FUnderlinesTextMode, o->FUnderlinesTextMode);
  DiffInt(out, u"VAlign", VAlign, o->VAlign);
  DiffBool(out, u"WordWrap", WordWrap, o->WordWrap);
  if (FFormats.size() == 1) {
    const TqbxFormat& f = *FFormats.front();
    static const TqbxFormat kNoFormat;
    const TqbxFormat& g = o->FFormats.size() == 1 ? *o->FFormats.front() : kNoFormat;
    DiffInt(out, u"DisplayFormat.Kind", f.Kind, g.Kind);
    DiffString(out, u"DisplayFormat.DecimalSeparator", f.DecimalSeparator, g.DecimalSeparator);
    DiffString(out, u"DisplayFormat.ThousandSeparator", f.ThousandSeparator, g.ThousandSeparator);
    DiffString(out, u"DisplayFormat.FormatStr", f.FormatStr, g.FormatStr);
  }
  if (FirstParaBreak) DiffAttr(out, u"FirstParaBreak", u"1");
  if (LastParaBreak) DiffAttr(out, u"LastParaBreak", u"1");
  return out;
}

}  // namespace zavrik
