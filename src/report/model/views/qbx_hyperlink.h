// The hyperlink every view carries: what it addresses and the expressions that fill it in.
#pragma once

#include "core/rtti.h"

namespace zavrik {

enum TqbxHyperlinkKind : int32_t { hkURL, hkAnchor, hkPageNumber, hkDetailReport, hkDetailPage, hkCustom, hkNone };

class TqbxHyperlink : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  TqbxHyperlinkKind Kind() const { return FKind; }
  void SetKind(TqbxHyperlinkKind v) { FKind = v; }
  const String& Value() const { return FValue; }
  void SetValue(const String& v) { FValue = v; }
  const String& Expression() const { return FExpression; }
  void SetExpression(const String& v) { FExpression = v; }
  const String& ValuesSeparator() const { return FValuesSeparator; }
  void SetValuesSeparator(const String& v) { FValuesSeparator = v; }
  bool IsValuesSeparatorStored() const { return FValuesSeparator != u";"; }
  // The separator's first character (';' when it is empty).
  char16_t Separator() const { return FValuesSeparator.empty() ? u';' : FValuesSeparator[0]; }
  const String& DetailReport() const { return FDetailReport; }
  void SetDetailReport(const String& v) { FDetailReport = v; }
  const String& DetailPage() const { return FDetailPage; }
  void SetDetailPage(const String& v) { FDetailPage = v; }
  const String& ReportVariable() const { return FReportVariable; }
  void SetReportVariable(const String& v) { FReportVariable = v; }
  const String& TabCaption() const { return FTabCaption; }
  void SetTabCaption(const String& v) { FTabCaption = v; }

  void Assign(const TqbxHyperlink& source) { *this = source; }
  // The difference against `other` (names prefixed "Hyperlink.").
  String Diff(const TqbxHyperlink& other) const;

 private:
  TqbxHyperlinkKind FKind = hkURL;
  String FValue, FExpression;
  String FValuesSeparator = u";";
  String FDetailReport, FDetailPage, FReportVariable, FTabCaption;
};

}  // namespace zavrik
