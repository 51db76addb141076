// The memo's display formats and highlights, and the processing record of deferred values.
#pragma once

#include <memory>

#include "core/rtti.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_font.h"
#include "report/model/views/qbx_frame.h"

namespace zavrik {

enum TqbxFormatKind : int32_t { fkText, fkNumeric, fkDateTime, fkBoolean };

class TqbxFormat : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxFormatKind Kind = fkText;
  String FormatStr, DecimalSeparator, ThousandSeparator;
};

// An inline format (" #n%2,2f" after an expression): the kind from the first character, the
// pattern from the rest; in numeric patterns each ",", "-" or "." becomes "." and the last one
// found is the decimal separator.
TqbxFormat ParseInlineFormat(StringView text);

// A value as text by a format; null gives the empty text, formatting errors the plain text.
String FormatData(const Variant& value, const TqbxFormat& format);

enum TqbxInteractiveHighlight : int32_t { ihNone, ihClick, ihEnter, ieLeave };

class TqbxHighlight : public Object {
 public:
  TqbxHighlight();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxFont* Font() const { return FFont.get(); }
  TqbxFrame* Frame() const { return FFrame.get(); }
  TqbxFillType FillType() const { return FFill.FillType(); }
  void SetFillType(TqbxFillType v) { FFill.SetFillType(v); }
  TqbxCustomFill* Fill() const { return FFill.Fill(); }
  void SetFill(const TqbxCustomFill* v) { FFill.SetFill(v); }
  // The brush fill's BackColor; none for other fills.
  int32_t Color() const;
  void SetColor(int32_t v);

  String Condition;
  bool ApplyFont = true, ApplyFill = true, ApplyFrame = false, Visible = true;
  TqbxInteractiveHighlight InteractiveType = ihNone;
  bool Active = false;

 private:
  std::unique_ptr<TqbxFont> FFont = std::make_unique<TqbxFont>();
  std::unique_ptr<TqbxFrame> FFrame = std::make_unique<TqbxFrame>();
  TqbxFillHolder FFill;
};

enum TqbxProcessAtMode : int32_t {
  paDefault, paReportFinished, paReportPageFinished, paPageFinished, paColumnFinished, paDataFinished,
  paGroupFinished, paCustom
};

class TqbxObjectProcessing : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  TqbxProcessAtMode ProcessAt = paDefault;
  int32_t GroupLevel = 0;
};

}  // namespace zavrik
