// Every class of the host modules is known: templates may declare and pass them.
var
  v0: TObject; v1: TPersistent; v2: TCollectionItem; v3: TCollection;
  v4: TList; v5: TStrings; v6: TStringList; v7: TStream;
  v8: TFileStream; v9: TMemoryStream; v10: TComponent; v11: TqsXMLItem;
  v12: TqsXMLDocument; v13: TFont; v14: TPen; v15: TBrush;
  v16: TCanvas; v17: TGraphic; v18: TPicture; v19: TMetafile;
  v20: TMetafileCanvas; v21: TBitmap; v22: TControl; v23: TWinControl;
  v24: TCustomControl; v25: TGraphicControl; v26: TGroupBox; v27: TLabel;
  v28: TEdit; v29: TMemo; v30: TCustomComboBox; v31: TComboBox;
  v32: TButton; v33: TCheckBox; v34: TRadioButton; v35: TCustomListBox;
  v36: TListBox; v37: TControlScrollBar; v38: TScrollingWinControl; v39: TScrollBox;
  v40: TCustomForm; v41: TForm; v42: TDataModule; v43: TApplication;
  v44: TCommonDialog; v45: TOpenDialog; v46: TSaveDialog; v47: TColorDialog;
  v48: TFontDialog; v49: TPrintDialog; v50: TPrinterSetupDialog; v51: TCustomIniFile;
  v52: TMemIniFile; v53: TIniFile; v54: TShape; v55: TPaintBox;
  v56: TImage; v57: TBevel; v58: TTimer; v59: TPanel;
  v60: TSplitter; v61: TBitBtn; v62: TSpeedButton; v63: TCheckListBox;
  v64: TTabControl; v65: TTabSheet; v66: TPageControl; v67: TStatusPanel;
  v68: TStatusPanels; v69: TStatusBar; v70: TTreeNode; v71: TTreeNodes;
  v72: TTreeView; v73: TTrackBar; v74: TProgressBar; v75: TListColumn;
  v76: TListColumns; v77: TListItem; v78: TListItems; v79: TIconOptions;
  v80: TListView; v81: TToolButton; v82: TToolBar; v83: TMonthCalColors;
  v84: TDateTimePicker; v85: TMonthCalendar; v86: TCustomRichEdit; v87: TRichEdit;
  v88: TFieldDef; v89: TFieldDefs; v90: TFields; v91: TField;
  v92: TStringField; v93: TNumericField; v94: TIntegerField; v95: TSmallintField;
  v96: TWordField; v97: TAutoIncField; v98: TFloatField; v99: TCurrencyField;
  v100: TBooleanField; v101: TDateTimeField; v102: TDateField; v103: TTimeField;
  v104: TBinaryField; v105: TBytesField; v106: TVarBytesField; v107: TBCDField;
  v108: TBlobField; v109: TMemoField; v110: TGraphicField; v111: TDataSource;
  v112: TParam; v113: TParams; v114: TDataSet; v115: TDBEdit;
  v116: TDBText; v117: TDBCheckBox; v118: TDBComboBox; v119: TDBListBox;
  v120: TDBRadioGroup; v121: TDBMemo; v122: TDBImage; v123: TDBNavigator;
  v124: TDBLookupControl; v125: TDBLookupListBox; v126: TDBLookupComboBox; v127: TColumnTitle;
  v128: TColumn; v129: TDBGridColumns; v130: TDBGrid; v131: TIBDatabase;
  v132: TIBTransaction; v133: TIBCustomDataSet; v134: TIBTable; v135: TIBQuery;
  v136: TIBStoredProc;
begin
  if v0 = nil then ShowMessage('declared');  // expect: declared
end.
