// Host classes that templates may name but a console program cannot serve (forms, controls,
// dialogs, graphics, ini files) and the data-access classes: registered by name with their
// ancestors, so that declarations and parameters of these types compile.
#include "core/rtti.h"
#include "script/qs_iclass.h"
#include "script/qs_iclasses.h"
#include "script/qs_iinterpreter.h"
#include "script/qs_isysrtti.h"

namespace zavrik {
namespace {

// (class, ancestor), ancestors first.
constexpr const char16_t* kClasses[][2] = {
    // graphics
    {u"TFont", u"TPersistent"}, {u"TPen", u"TPersistent"}, {u"TBrush", u"TPersistent"},
    {u"TCanvas", u"TPersistent"}, {u"TGraphic", u"TPersistent"}, {u"TPicture", u"TPersistent"},
    {u"TMetafile", u"TGraphic"}, {u"TMetafileCanvas", u"TCanvas"}, {u"TBitmap", u"TGraphic"},
    // forms
    {u"TControl", u"TComponent"}, {u"TWinControl", u"TControl"}, {u"TCustomControl", u"TWinControl"},
    {u"TGraphicControl", u"TControl"}, {u"TGroupBox", u"TCustomControl"}, {u"TLabel", u"TGraphicControl"},
    {u"TEdit", u"TWinControl"}, {u"TMemo", u"TWinControl"}, {u"TCustomComboBox", u"TWinControl"},
    {u"TComboBox", u"TCustomComboBox"}, {u"TButton", u"TWinControl"}, {u"TCheckBox", u"TWinControl"},
    {u"TRadioButton", u"TWinControl"}, {u"TCustomListBox", u"TWinControl"},
    {u"TListBox", u"TCustomListBox"}, {u"TControlScrollBar", u"TPersistent"},
    {u"TScrollingWinControl", u"TWinControl"}, {u"TScrollBox", u"TScrollingWinControl"},
    {u"TCustomForm", u"TScrollingWinControl"}, {u"TForm", u"TCustomForm"},
    {u"TDataModule", u"TComponent"}, {u"TFrame", u"TScrollingWinControl"},
    {u"TApplication", u"TComponent"},
    // dialogs
    {u"TCommonDialog", u"TComponent"}, {u"TOpenDialog", u"TCommonDialog"},
    {u"TSaveDialog", u"TOpenDialog"}, {u"TColorDialog", u"TCommonDialog"},
    {u"TFontDialog", u"TCommonDialog"}, {u"TPrintDialog", u"TCommonDialog"},
    {u"TPrinterSetupDialog", u"TCommonDialog"},
    // ini files
    {u"TCustomIniFile", u"TObject"}, {u"TMemIniFile", u"TCustomIniFile"},
    {u"TIniFile", u"TCustomIniFile"},
    // extended controls
    {u"TShape", u"TGraphicControl"}, {u"TPaintBox", u"TGraphicControl"}, {u"TImage", u"TGraphicControl"},
    {u"TBevel", u"TGraphicControl"}, {u"TTimer", u"TComponent"}, {u"TPanel", u"TCustomControl"},
    {u"TSplitter", u"TGraphicControl"}, {u"TBitBtn", u"TButton"}, {u"TSpeedButton", u"TGraphicControl"},
    {u"TCheckListBox", u"TCustomListBox"}, {u"TTabControl", u"TWinControl"},
    {u"TTabSheet", u"TWinControl"}, {u"TPageControl", u"TWinControl"},
    {u"TStatusPanel", u"TCollectionItem"}, {u"TStatusPanels", u"TCollection"},
    {u"TStatusBar", u"TWinControl"}, {u"TTreeNode", u"TPersistent"}, {u"TTreeNodes", u"TPersistent"},
    {u"TTreeView", u"TWinControl"}, {u"TTrackBar", u"TWinControl"}, {u"TProgressBar", u"TWinControl"},
    {u"TListColumn", u"TCollectionItem"}, {u"TListColumns", u"TCollection"},
    {u"TListItem", u"TPersistent"}, {u"TListItems", u"TPersistent"}, {u"TIconOptions", u"TPersistent"},
    {u"TListView", u"TWinControl"}, {u"TToolButton", u"TGraphicControl"}, {u"TToolBar", u"TWinControl"},
    {u"TMonthCalColors", u"TPersistent"}, {u"TDateTimePicker", u"TWinControl"},
    {u"TMonthCalendar", u"TWinControl"}, {u"TCustomRichEdit", u"TWinControl"},
    {u"TRichEdit", u"TCustomRichEdit"},
    // data sets
    {u"TFieldDef", u"TCollectionItem"}, {u"TFieldDefs", u"TCollection"}, {u"TFields", u"TObject"},
    {u"TStringField", u"TField"}, {u"TNumericField", u"TField"},
    {u"TIntegerField", u"TNumericField"}, {u"TSmallintField", u"TIntegerField"},
    {u"TWordField", u"TIntegerField"}, {u"TAutoIncField", u"TIntegerField"},
    {u"TFloatField", u"TNumericField"}, {u"TCurrencyField", u"TFloatField"},
    {u"TBooleanField", u"TField"}, {u"TDateTimeField", u"TField"}, {u"TDateField", u"TDateTimeField"},
    {u"TTimeField", u"TDateTimeField"}, {u"TBinaryField", u"TField"}, {u"TBytesField", u"TBinaryField"},
    {u"TVarBytesField", u"TBytesField"}, {u"TBCDField", u"TNumericField"}, {u"TBlobField", u"TField"},
    {u"TMemoField", u"TBlobField"}, {u"TGraphicField", u"TBlobField"},
    {u"TDataSource", u"TComponent"}, {u"TParam", u"TCollectionItem"}, {u"TParams", u"TCollection"},
    // data-aware controls
    {u"TDBEdit", u"TEdit"}, {u"TDBText", u"TLabel"}, {u"TDBCheckBox", u"TCheckBox"},
    {u"TDBComboBox", u"TComboBox"}, {u"TDBListBox", u"TListBox"}, {u"TDBRadioGroup", u"TGroupBox"},
    {u"TDBMemo", u"TMemo"}, {u"TDBImage", u"TCustomControl"}, {u"TDBNavigator", u"TCustomControl"},
    {u"TDBLookupControl", u"TCustomControl"}, {u"TDBLookupListBox", u"TDBLookupControl"},
    {u"TDBLookupComboBox", u"TDBLookupControl"}, {u"TColumnTitle", u"TPersistent"},
    {u"TColumn", u"TCollectionItem"}, {u"TDBGridColumns", u"TCollection"},
    {u"TDBGrid", u"TCustomControl"},
    // database components
    {u"TIBDatabase", u"TComponent"}, {u"TIBTransaction", u"TComponent"},
    {u"TIBCustomDataSet", u"TDataSet"}, {u"TIBTable", u"TIBCustomDataSet"},
    {u"TIBQuery", u"TIBCustomDataSet"}, {u"TIBStoredProc", u"TIBCustomDataSet"},
};

class NamedClassModule : public TqsRTTIModule {
 public:
  explicit NamedClassModule(TqsScript& script) : TqsRTTIModule(script) {
    qsAddDataSetClasses(FScript);
    for (const auto& [name, ancestor] : kClasses) {
      // A host may have registered a real class of this name already: first wins.
      if (FScript.FindClass(name)) continue;
      const TqsClassVariable* base = FScript.FindClass(ancestor);
      FScript.AddClass(qsNamedClass(name, base ? base->FClassRef : nullptr), ancestor);
    }
  }
};

}  // namespace

std::unique_ptr<TqsRTTIModule> qsMakeNamedClassModules(TqsScript& script) {
  return std::make_unique<NamedClassModule>(script);
}

}  // namespace zavrik
