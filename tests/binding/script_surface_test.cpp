// Every class and member a report script may use compiles in a report script: one line per member.
#include <sstream>

#include "binding/binding_fixture.h"
#include "data/ibx_components.h"
#include "engine/run/qbx_engine.h"
#include "engine/pages/qbx_preview_pages.h"
#include "report/model/views/qbx_fill.h"
#include "report/model/views/qbx_frame.h"
#include "report/model/views/qbx_memo.h"
#include "report/binding/qbx_report_script.h"

namespace zavrik::test {
namespace {

struct SurfaceCase {
  const char16_t* member;
  const char16_t* declarations;  // `var` section, may be empty
  const char16_t* statement;
};

// The objects the statements name: Page1, Band1 (master data on DS1), Memo1, Picture1, Line1,
// Shape1, Check1, Child1, Header1, Footer1, DS1, Dialog1.
const char* const kTemplate =
    "<TqbxDataPage Name=\"Data\"><TqbxUserDataSet Name=\"DS1\" UserName=\"DS1\"/></TqbxDataPage>"
    "<TqbxReportPage Name=\"Page1\">"
    "<TqbxPageHeader Name=\"Header1\" Height=\"20\"/>"
    "<TqbxMasterData Name=\"Band1\" Top=\"40\" Height=\"30\" DataSetName=\"DS1\" Child=\"Child1\">"
    "<TqbxMemoView Name=\"Memo1\" Width=\"100\" Height=\"20\"/>"
    "<TqbxPictureView Name=\"Picture1\" Left=\"110\" Width=\"20\" Height=\"20\"/>"
    "<TqbxLineView Name=\"Line1\" Left=\"140\" Width=\"20\"/>"
    "<TqbxShapeView Name=\"Shape1\" Left=\"170\" Width=\"20\" Height=\"20\"/>"
    "<TqbxCheckBoxView Name=\"Check1\" Left=\"200\" Width=\"20\" Height=\"20\"/>"
    "</TqbxMasterData>"
    "<TqbxChild Name=\"Child1\" Top=\"80\" Height=\"10\"/>"
    "<TqbxPageFooter Name=\"Footer1\" Top=\"100\" Height=\"20\"/>"
    "</TqbxReportPage>"
    "<TqbxDialogPage Name=\"Dialog1\"/>";

const SurfaceCase kCases[] = {
    // Constants, enumeration and set types.
    {u"constants", u"e: Extended; i: Integer;",
     u"e := qb01cm + qb1cm + qb01in + qb1in + qb1CharX + qb1CharY; "
     u"i := clTransparent + crHand + crZoom + crFormat"},
    {u"TqbxStretchMode", u"v: TqbxStretchMode;", u"v := smDontStretch; Memo1.StretchMode := v"},
    {u"TqbxShiftMode", u"v: TqbxShiftMode;", u"v := smAlways; Memo1.ShiftMode := v"},
    {u"TqbxDuplexMode", u"v: TqbxDuplexMode;", u"v := dmNone; Page1.Duplex := v"},
    {u"TqbxAlign", u"v: TqbxAlign;", u"v := baNone; Memo1.Align := v"},
    {u"TqbxFrameStyle", u"v: TqbxFrameStyle;", u"v := fsDouble; Memo1.Frame.Style := fsSolid"},
    {u"TqbxHAlign", u"v: TqbxHAlign;", u"v := haRight; Memo1.HAlign := v"},
    {u"TqbxVAlign", u"v: TqbxVAlign;", u"v := vaCenter; Memo1.VAlign := v"},
    {u"TqbxShapeKind", u"v: TqbxShapeKind;", u"v := skEllipse; Shape1.Shape := v"},
    {u"TqbxZoomMode", u"v: TqbxZoomMode;", u"v := zmDefault"},
    {u"TqbxPrintPages", u"v: TqbxPrintPages;", u"v := ppAll"},
    {u"TqbxRangeBegin", u"v: TqbxRangeBegin;", u"v := rbCurrent; DS1.RangeBegin := rbFirst"},
    {u"TqbxRangeEnd", u"v: TqbxRangeEnd;", u"v := reCurrent; v := reCount; DS1.RangeEnd := reLast"},
    {u"TqbxFieldType", u"v: TqbxFieldType;", u"v := fftNumeric; v := fftString; v := fftBoolean"},
    {u"TqbxFormatKind", u"v: TqbxFormatKind;", u"v := fkNumeric; Memo1.DisplayFormat.Kind := v"},
    {u"TqbxFillType", u"v: TqbxFillType;", u"v := ftBrush; Memo1.FillType := ftGradient"},
    {u"TqbxPrintMode", u"v: TqbxPrintMode;", u"v := pmDefault"},
    {u"TqbxUnderlinesTextMode", u"v: TqbxUnderlinesTextMode;", u"v := ulmNone"},
    {u"TqbxHyperlinkKind", u"v: TqbxHyperlinkKind;", u"v := hkURL; Memo1.Hyperlink.Kind := v"},
    {u"TqbxProcessAtMode", u"v: TqbxProcessAtMode;",
     u"v := paDefault; v := paReportFinished; v := paReportPageFinished; v := paPageFinished; "
     u"v := paColumnFinished; v := paDataFinished; v := paGroupFinished; v := paCustom; "
     u"Memo1.Processing.ProcessAt := v"},
    {u"TqbxFrameTypes", u"v: TqbxFrameTypes;", u"v := [ftLeft, ftTop]; Memo1.Frame.Typ := v"},
    {u"TqbxAnchors", u"v: TqbxAnchors;", u"v := [fraLeft, fraTop]"},
    {u"TqbxRestrictions", u"v: TqbxRestrictions;", u"v := [rfDontMove]; Memo1.Restrictions := v"},
    {u"TqbxPreviewButtons", u"v: TqbxPreviewButtons;", u"v := [pbPrint]"},
    {u"TqbxDMPFontStyles", u"v: TqbxDMPFontStyles;", u"v := []"},
    {u"TqbxVisibilityTypes", u"v: TqbxVisibilityTypes;", u"v := [vsPreview, vsExport]"},
    // Fonts and colours.
    {u"TFont", u"f: TFont;",
     u"f := Memo1.Font; f.Color := clRed; f.Style := [fsBold, fsItalic, fsUnderline, fsStrikeOut]; "
     u"f.Size := 12; f.Name := 'Arial'; f.Height := -16; f.Charset := 204"},
    {u"colour constants", u"c: Integer;",
     u"c := clBlack + clWhite + clRed + clGreen + clBlue + clYellow + clNavy + clMaroon + "
     u"clGray + clSilver + clNone"},
    // TqbxComponent.
    {u"TqbxComponent.Clear", u"", u"Child1.Clear"},
    {u"TqbxComponent.FindObject", u"", u"Page1.FindObject('Memo1').Left := 1"},
    {u"TqbxComponent.LoadFromStream", u"s: TMemoryStream;",
     u"s := TMemoryStream.Create; Memo1.SaveToStream(s); s.Position := 0; Memo1.LoadFromStream(s); "
     u"s.Free"},
    {u"TqbxComponent.SaveToStream", u"s: TMemoryStream;",
     u"s := TMemoryStream.Create; Band1.SaveToStream(s, False); Band1.SaveToStream(s); s.Free"},
    {u"TqbxComponent.SetBounds", u"", u"Memo1.SetBounds(1, 2, 3, 4)"},
    {u"TqbxComponent.Objects", u"i: Integer;",
     u"i := Band1.Objects.Count; TqbxComponent(Band1.Objects[0]).Left := 1"},
    {u"TqbxComponent.AllObjects", u"i: Integer;", u"i := Page1.AllObjects.Count"},
    {u"TqbxComponent.Parent", u"", u"Memo1.Parent := Band1; Memo1.Parent.Name := 'Band1'"},
    {u"TqbxComponent.Page", u"s: String;", u"s := Memo1.Page.Name"},
    {u"TqbxComponent.AbsLeft", u"e: Extended;", u"e := Memo1.AbsLeft + Memo1.AbsTop"},
    // Data sets.
    {u"TqbxDataSet navigation", u"b: Boolean;",
     u"DS1.Open; DS1.First; DS1.Next; DS1.Prior; b := DS1.Eof; DS1.Close"},
    {u"TqbxDataSet fields", u"i: Integer; b: Boolean; v: Variant;",
     u"i := DS1.FieldsCount + DS1.RecordCount + DS1.RecNo; b := DS1.HasField('A') or "
     u"DS1.IsBlobField('A'); v := DS1.Value['A']; v := DS1.DisplayText['A']; "
     u"i := DS1.DisplayWidth['A']; v := DS1.FieldType['A']"},
    {u"TqbxDataSet.AssignBlobTo", u"l: TStringList; m: TMemoryStream;",
     u"l := TStringList.Create; m := TMemoryStream.Create; if False then begin "
     u"DS1.AssignBlobTo('B', l); DS1.AssignBlobTo('B', m); DS1.AssignBlobTo('B', Memo1); "
     u"DS1.AssignBlobTo('B', Picture1) end; l.Free; m.Free"},
    {u"TqbxDataSet.GetFieldList", u"l: TStringList;",
     u"l := TStringList.Create; DS1.GetFieldList(l); l.Free"},
    // Views.
    {u"TqbxView.TagStr", u"", u"Memo1.TagStr := 'x'"},
    {u"TqbxStretcheable.CalcHeight", u"e: Extended;", u"e := Memo1.CalcHeight"},
    {u"TqbxCustomMemoView", u"e: Extended; s: String; v: Variant;",
     u"e := Memo1.CalcWidth; Memo1.Text := 'a'; s := Memo1.AnsiText; Memo1.AnsiText := 'b'; "
     u"Memo1.Lines.Add('c'); s := Memo1.Lines.Text; v := Memo1.Value"},
    {u"TqbxPictureView.LoadFromFile", u"", u"if False then Picture1.LoadFromFile('x.png')"},
    {u"TqbxBand", u"b: Boolean;", u"b := Band1.Overflow; Band1.AlignChildren"},
    {u"TqbxReportPage", u"e: Extended;",
     u"Page1.AlignChildren; e := Page1.Width + Page1.Height + Page1.LeftMargin; "
     u"Page1.PaperWidth := 210"},
    {u"TqbxDialogPage", u"i: Integer;", u"i := Dialog1.ModalResult; if False then Dialog1.ShowModal"},
    // Report.
    {u"TqbxReport", u"v: Variant; b: Boolean;",
     u"v := Report.Calc('1'); v := Report.GetDataset('DS1'); b := Report.Terminated; "
     u"Report.Variables['X'] := 1; v := Report.Styles.Count; v := Report.DrillState; "
     u"if False then begin Report.SaveToFile('x.qbx'); Report.LoadFromFile('x.qbx'); "
     u"Report.ShowReport end"},
    {u"TqbxEngineOptions", u"b: Boolean;",
     u"b := Report.EngineOptions.DestroyForms; Report.EngineOptions.DoublePass := True"},
    {u"option records", u"b: Boolean;",
     u"b := Report.PrintOptions.ShowDialog; b := Report.PreviewOptions.AllowEdit; "
     u"Report.ReportOptions.Author := 'a'"},
    {u"TqbxVariables", u"v: TqbxVariables;",
     u"v := TqbxVariables.Create; v['A'] := 1; v.Variables['B'] := v['A']; v.Free"},
    {u"TqbxVariable", u"v: TqbxVariable;", u"v := nil"},
    {u"TqbxStyles", u"s: TqbxStyles; i: TqbxStyleItem; l: TStringList;",
     u"s := TqbxStyles.Create(Report); i := s.Add; i.Name := 'Bold'; i.Font.Style := [fsBold]; "
     u"i := s.Find('Bold'); i := s[0]; i := s.Items[0]; l := TStringList.Create; s.GetList(l); "
     u"Memo1.Style := 'Bold'; s.Apply; if False then begin s.SaveToFile('x'); s.LoadFromFile('x') "
     u"end; l.Free; s.Free"},
    {u"TqbxStyles streams", u"s: TqbxStyles; m: TMemoryStream;",
     u"s := TqbxStyles.Create(nil); m := TMemoryStream.Create; s.SaveToStream(m); "
     u"m.Position := 0; s.LoadFromStream(m); m.Free; s.Free"},
    {u"TqbxArray", u"a: TqbxArray; v: Variant;",
     u"a := TqbxArray.Create; a[1] := 'x'; a['k'] := 2; v := a.Variables[1]; a.Free"},
    // The run.
    {u"TqbxPostProcessor", u"p: TqbxPostProcessor; s: String;",
     u"if False then begin p := Engine.GetPostProcessor; s := p.GetMacroList('M'); "
     u"p.ResetDuplicates('Band1') end"},
    {u"TqbxCustomEngine", u"e: Extended; i: Integer; b: Boolean;",
     u"if False then begin Engine.AddAnchor('a'); Engine.NewPage; Engine.NewColumn; "
     u"Engine.ShowBand(Band1); Engine.ShowBandByName('Band1'); Engine.StopReport; "
     u"e := Engine.FreeSpace; i := Engine.GetAnchorPage('a'); Engine.ProcessObject(Memo1) end; "
     u"i := Engine.CurColumn; e := Engine.CurX + Engine.CurY; b := Engine.FinalPass; "
     u"i := Engine.TotalPages; b := Engine.SecondScriptCall"},
    {u"TqbxPreviewPages", u"i: Integer; p: TqbxReportPage;",
     u"i := PreviewPages.Count; if i > 0 then begin i := PreviewPages.CurPage; "
     u"p := PreviewPages.Page[0]; PreviewPages.ModifyObject(Memo1) end"},
    {u"TqbxCustomOutline", u"",
     u"if False then begin Outline.AddItem('a'); Outline.LevelUp; Outline.LevelRoot end"},
    {u"TqbxEngine", u"e: TqbxEngine;", u"e := nil"},
    {u"TqbxOutline", u"o: TqbxOutline;", u"o := nil"},
    {u"TWideStrings", u"w: TWideStrings; m: TMemoryStream; i: Integer; s: String;",
     u"w := TWideStrings.Create; w.Add('a'); w.AddObject('b', nil); w.Insert(0, 'c'); "
     u"i := w.IndexOf('a'); w.Delete(0); i := w.Count; s := w[0]; s := w.Strings[0]; w[0] := 'd'; "
     u"s := w.Text; w.Text := 'e'; w.Objects[0] := nil; m := TMemoryStream.Create; "
     u"w.SaveToStream(m); m.Position := 0; w.LoadFromStream(m); m.Free; "
     u"if False then begin w.SaveToFile('x'); w.LoadFromFile('x') end; w.Clear; w.Free"},
    // Sub-objects with their published properties.
    {u"TqbxFrame", u"f: TqbxFrame;",
     u"f := Memo1.Frame; f.Typ := [ftLeft]; f.Width := 2; f.Color := clRed; f.DropShadow := True"},
    {u"TqbxFrameLine", u"l: TqbxFrameLine;",
     u"l := Memo1.Frame.LeftLine; l.Color := clBlue; l.Width := 1; l.Style := fsDash"},
    {u"TqbxCustomFill", u"",
     u"Memo1.Fill.AsBrushFill.BackColor := clYellow; Memo1.FillType := ftGradient; "
     u"Memo1.Fill.AsGradientFill.StartColor := clRed; Memo1.FillType := ftGlass; "
     u"Memo1.Fill.AsGlassFill.Color := clGreen"},
    {u"fills", u"b: TqbxBrushFill; g: TqbxGradientFill; s: TqbxGlassFill;",
     u"b := nil; g := nil; s := nil"},
    {u"TqbxFormat", u"f: TqbxFormat;",
     u"f := Memo1.DisplayFormat; f.Kind := fkNumeric; f.FormatStr := '%2.2f'; "
     u"f.DecimalSeparator := ','"},
    {u"TqbxHighlight", u"h: TqbxHighlight;",
     u"h := Memo1.Highlight; h.Condition := 'True'; h.Font.Color := clRed; h.Color := clYellow"},
    {u"TqbxHyperlink", u"h: TqbxHyperlink;", u"h := Memo1.Hyperlink; h.Value := 'x'"},
    {u"TqbxObjectProcessing", u"p: TqbxObjectProcessing;", u"p := Memo1.Processing"},
    {u"TqbxFillGaps", u"g: TqbxFillGaps;", u"g := Band1.FillGap; g.Top := 1; g.Left := 2"},
    // Constructors with an owner.
    {u"TqbxMemoView.Create", u"m: TqbxMemoView;",
     u"m := TqbxMemoView.Create(Band1); m.Text := 'new'; m.SetBounds(0, 0, 10, 10)"},
    {u"other constructors", u"",
     u"TqbxLineView.Create(Band1); TqbxShapeView.Create(Band1); TqbxPictureView.Create(Band1); "
     u"TqbxCheckBoxView.Create(Band1); TqbxChild.Create(Page1)"},
    // Further classes by name.
    {u"band and view classes",
     u"a: TqbxReportTitle; b: TqbxReportSummary; c: TqbxPageHeader; d: TqbxPageFooter; "
     u"e: TqbxHeader; f: TqbxFooter; g: TqbxMasterData; h: TqbxDetailData; i: TqbxSubdetailData; "
     u"j: TqbxGroupHeader; k: TqbxGroupFooter; l: TqbxChild; m: TqbxColumnHeader; "
     u"n: TqbxColumnFooter; o: TqbxOverlay; p: TqbxSysMemoView; q: TqbxDataPage;",
     u"a := nil"},
    {u"process-wide variables", u"", u"qbxGlobalVariables['G'] := 1"},
};

// Data sets and the prepared pages registered before the report is created.
struct RunClassesRegistered {
  RunClassesRegistered() {
    RegisterReportClasses();
    data::RegisterDataClasses();
    RegisterEnginePreviewPages();
  }
};

class ScriptSurfaceTest : private RunClassesRegistered, public BindingTest {
 protected:
  void SetUp() override {
    std::istringstream in(std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport>") +
                          kTemplate + "</TqbxReport>");
    report_->LoadFromStream(in);
    InstallEngine(*report_);
  }
};

TEST_F(ScriptSurfaceTest, EveryMemberCompiles) {
  for (const SurfaceCase& c : kCases) {
    String text = u"var\r\n  Unused: Integer;\r\n  ";
    text += c.declarations;
    text += u"\r\nbegin\r\n  ";
    text += c.statement;
    text += u"\r\nend.";
    report_->Errors.Clear();
    EXPECT_TRUE(Prepare(text)) << StringToUtf8(c.member) << ": " << StringToUtf8(Errors());
  }
}

TEST_F(ScriptSurfaceTest, ScriptsFormatMemosThroughFontFrameFillAndLines) {
  ASSERT_TRUE(Prepare(
      u"var h: TqbxHAlign;\r\nbegin\r\n"
      u"  Memo1.Font.Color := clRed; Memo1.Font.Style := [fsBold, fsItalic]; Memo1.Font.Size := 14;\r\n"
      u"  Memo1.Frame.Typ := [ftLeft, ftBottom]; Memo1.Frame.LeftLine.Color := clBlue;\r\n"
      u"  Memo1.Fill.AsBrushFill.BackColor := clYellow; h := haRight; Memo1.HAlign := h;\r\n"
      u"  Memo1.Text := 'a'; Memo1.Lines.Add('b'); Memo1.DisplayFormat.Kind := fkNumeric;\r\n"
      u"  Shape1.Frame.Typ := [ftTop]; Shape1.Frame.Typ := [];\r\n"
      u"end."))
      << StringToUtf8(Errors());
  ReportScriptOf(*report_).ExecuteMainBlock();
  auto* memo = dynamic_cast<TqbxCustomMemoView*>(report_->FindObject(u"Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Font()->Color(), 255);
  EXPECT_EQ(memo->Font()->Style(), 3);
  EXPECT_EQ(memo->Frame()->Typ(), ftLeft | ftBottom);
  EXPECT_EQ(memo->Frame()->LeftLine()->Color(), 16711680);
  EXPECT_EQ(dynamic_cast<TqbxBrushFill*>(memo->Fill())->BackColor(), 65535);
  EXPECT_EQ(memo->HAlign, haRight);
  EXPECT_EQ(memo->MemoText(), u"a\r\nb\r\n");
  EXPECT_EQ(memo->DisplayFormat()->Kind, fkNumeric);
  EXPECT_EQ(dynamic_cast<TqbxView*>(report_->FindObject(u"Shape1"))->Frame()->Typ(), 0);
}

TEST_F(ScriptSurfaceTest, ObjectsCreatedOnAnOwnerJoinIt) {
  ASSERT_TRUE(Prepare(
      u"var m: TqbxMemoView; n: Integer;\r\nbegin\r\n"
      u"  m := TqbxMemoView.Create(Band1); m.Name := 'Made'; m.Text := 'new';\r\n"
      u"  n := Band1.Objects.Count; Report.Variables['N'] := n;\r\n"
      u"  Child1.Clear; m := TqbxMemoView.Create(nil); m.Free;\r\n"
      u"end."))
      << StringToUtf8(Errors());
  const int before = report_->FindObject(u"Band1")->Count();
  ReportScriptOf(*report_).ExecuteMainBlock();
  TqbxComponent* band = report_->FindObject(u"Band1");
  EXPECT_EQ(band->Count(), before + 1);
  EXPECT_EQ(band->Child(band->Count() - 1).Name(), u"Made");
  EXPECT_EQ(VarToInteger(report_->Variables().Get(u"N")), before + 1);
}

TEST_F(ScriptSurfaceTest, CollectionsKeepTheirValues) {
  ASSERT_TRUE(Prepare(
      u"var a: TqbxArray; w: TWideStrings; s: TqbxStyles; l: TStringList;\r\nbegin\r\n"
      u"  a := TqbxArray.Create; a[1] := 'one'; a['k'] := 2; a[1] := 'uno';\r\n"
      u"  Report.Variables['A'] := a[1] + IntToStr(a['k']) + IntToStr(a.Count);\r\n"
      u"  w := TWideStrings.Create; w.Add('x'); w.Add('y'); w[0] := 'z';\r\n"
      u"  Report.Variables['W'] := w.Text;\r\n"
      u"  s := Report.Styles; s.Add.Name := 'Red'; s.Find('Red').Font.Color := clRed;\r\n"
      u"  Memo1.Style := 'Red'; l := TStringList.Create; s.GetList(l); DS1.GetFieldList(l);\r\n"
      u"  Report.Variables['S'] := IntToStr(s.Count) + IntToStr(l.Count);\r\n"
      u"end."))
      << StringToUtf8(Errors());
  ReportScriptOf(*report_).ExecuteMainBlock();
  EXPECT_EQ(VarToString(report_->Variables().Get(u"A")), u"uno22");
  EXPECT_EQ(VarToString(report_->Variables().Get(u"W")), u"z\r\ny\r\n");
  EXPECT_EQ(VarToString(report_->Variables().Get(u"S")), u"10");
  auto* memo = dynamic_cast<TqbxCustomMemoView*>(report_->FindObject(u"Memo1"));
  EXPECT_EQ(memo->Font()->Color(), 255);
}

}  // namespace
}  // namespace zavrik::test
