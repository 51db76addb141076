#include "report/model/views/qbx_memo_format.h"

#include "core/datetime_format.h"
#include "core/error.h"
#include "core/format_float.h"
#include "core/format_printf.h"
#include "core/format_settings.h"
#include "core/rtti_props.h"
#include "core/variant_compare.h"
#include "core/variant_convert.h"

namespace zavrik {

const ClassInfo& TqbxFormat::StaticClass() {
  using C = TqbxFormat;
  static const EnumType kinds{u"fkText", u"fkNumeric", u"fkDateTime", u"fkBoolean"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxFormat", &Object::StaticClass(), &New<TqbxFormat>, {
      Field(u"DecimalSeparator", &C::DecimalSeparator),
      Field(u"FormatStr", &C::FormatStr),
      Field(u"Kind", &C::Kind).Enum(kinds).Default(fkText),
      Field(u"ThousandSeparator", &C::ThousandSeparator),
  }); });
  return info;
}

TqbxFormat ParseInlineFormat(StringView text) {
  TqbxFormat format;
  if (text.empty()) return format;
  String pattern(text.substr(1, 255));
  switch (text[0]) {
    case u'N':
    case u'n':
      format.Kind = fkNumeric;
      for (char16_t& c : pattern) {
        if (c == u',' || c == u'-' || c == u'.') {
          format.DecimalSeparator = String(1, c);
          c = u'.';
        }
      }
      break;
    case u'D': case u'd': case u'T': case u't': format.Kind = fkDateTime; break;
    case u'B': case u'b': format.Kind = fkBoolean; break;
    default: format.Kind = fkText;
  }
  format.FormatStr = pattern;
  return format;
}

namespace {

String FormatNumeric(const Variant& value, const TqbxFormat& f) {
  const FormatSettings& fs = DefaultFormatSettings();
  String text;
  if (f.FormatStr.find(u'#') != String::npos || f.FormatStr.starts_with(u"0")) {
    text = FormatFloat(f.FormatStr, VarToDouble(value), fs);
  } else if (f.FormatStr.find_first_of(u"du") != String::npos) {
    const Variant arg(VarToInt64(value));
    text = Format(f.FormatStr, std::span<const Variant>(&arg, 1), fs);
  } else {
    const Variant arg(VarToDouble(value));
    text = Format(f.FormatStr, std::span<const Variant>(&arg, 1), fs);
  }
  if (f.DecimalSeparator.size() == 1 && f.DecimalSeparator[0] != fs.decimal_separator) {
    if (size_t at = text.rfind(fs.decimal_separator); at != String::npos) text[at] = f.DecimalSeparator[0];
  }
  if (f.ThousandSeparator.size() == 1 && f.ThousandSeparator[0] != fs.thousand_separator) {
    for (char16_t& c : text) {
      if (c == fs.thousand_separator) c = f.ThousandSeparator[0];
    }
  }
  return text;
}

String FormatBoolean(const Variant& value, const TqbxFormat& f) {
  const size_t comma = f.FormatStr.find(u',');
  const bool is_true = VarEqual(value, Variant(true));
  if (comma == String::npos) return is_true ? String() : f.FormatStr;
  return is_true ? f.FormatStr.substr(0, comma) : f.FormatStr.substr(comma + 1);
}

}  // namespace

String FormatData(const Variant& value, const TqbxFormat& format) {
  if (value.IsNull()) return String();
  try {
    switch (format.Kind) {
      case fkNumeric: return FormatNumeric(value, format);
      case fkDateTime: return FormatDateTime(format.FormatStr, VarToDate(value));
      case fkBoolean: return FormatBoolean(value, format);
      case fkText: break;
    }
  } catch (const Error&) {
  }
  try {
    return VarToString(value);
  } catch (const Error&) {
    return String();
  }
}

TqbxHighlight::TqbxHighlight() {
  FFont->SetColor(255);
  FFrame->SetTyp(0);
}

const ClassInfo& TqbxHighlight::StaticClass() {
  using C = TqbxHighlight;
  static const EnumType interactive{u"ihNone", u"ihClick", u"ihEnter", u"ieLeave"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxHighlight", &Object::StaticClass(), &New<TqbxHighlight>, {
      Field(u"ApplyFont", &C::ApplyFont).Default(1),
      Field(u"ApplyFill", &C::ApplyFill).Default(1),
      Field(u"ApplyFrame", &C::ApplyFrame).Default(0),
      Prop(u"Font", &C::Font),
      Prop(u"Color", &C::Color, &C::SetColor).NotStored(),
      Prop(u"FillType", &C::FillType, &C::SetFillType).Enum(FillTypeType()).Default(ftBrush),
      Prop(u"Fill", &C::Fill, &C::SetFill),
      Prop(u"Frame", &C::Frame),
      Field(u"Condition", &C::Condition),
      Field(u"InteractiveType", &C::InteractiveType).Enum(interactive).Default(ihNone),
      Field(u"Visible", &C::Visible).Default(1),
  }); });
  return info;
}

int32_t TqbxHighlight::Color() const {
  auto* brush = dynamic_cast<const TqbxBrushFill*>(Fill());
  return brush ? brush->BackColor() : 0x1FFFFFFF;
}

void TqbxHighlight::SetColor(int32_t v) {
  if (auto* brush = dynamic_cast<TqbxBrushFill*>(Fill())) brush->SetBackColor(v);
}

const ClassInfo& TqbxObjectProcessing::StaticClass() {
  using C = TqbxObjectProcessing;
  static const EnumType modes{u"paDefault", u"paReportFinished", u"paReportPageFinished", u"paPageFinished",
                              u"paColumnFinished", u"paDataFinished", u"paGroupFinished", u"paCustom"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxObjectProcessing", &Object::StaticClass(), nullptr, {
      Field(u"ProcessAt", &C::ProcessAt).Enum(modes).Default(paDefault),
      Field(u"GroupLevel", &C::GroupLevel).Default(0),
  }); });
  return info;
}

}  // namespace zavrik
