// TqbxReportComponent: the base of everything that prints (views, bands, data sources): script
// event names and the print lifecycle the engine drives.
#pragma once

#include "report/model/qbx_component.h"

namespace zavrik {

class TqbxReportComponent : public TqbxComponent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Description and the script event names.
  static PropList EventProps();

  // Saves the bounds (OriginalRect); subclasses also save their content.
  virtual void BeforePrint();
  // Evaluates data and expressions into the content; nothing in the base.
  virtual void GetData() {}
  // Restores the saved bounds; subclasses also restore their content.
  virtual void AfterPrint();
  virtual String GetComponentText() const { return String(); }
  virtual TqbxRect GetRealBounds() const;
  // The object stored on a prepared page.
  virtual TqbxReportComponent* GetSaveToComponent() { return this; }
  virtual bool IsOwnerDraw() const { return false; }

  const String& OnBeforePrint() const { return FOnBeforePrint; }
  void SetOnBeforePrint(const String& v) { FOnBeforePrint = v; }
  const String& OnAfterPrint() const { return FOnAfterPrint; }
  void SetOnAfterPrint(const String& v) { FOnAfterPrint = v; }
  const String& OnAfterData() const { return FOnAfterData; }
  void SetOnAfterData(const String& v) { FOnAfterData = v; }
  const String& OnPreviewClick() const { return FOnPreviewClick; }
  void SetOnPreviewClick(const String& v) { FOnPreviewClick = v; }
  const String& OnPreviewDblClick() const { return FOnPreviewDblClick; }
  void SetOnPreviewDblClick(const String& v) { FOnPreviewDblClick = v; }
  const String& OnContentChanged() const { return FOnContentChanged; }
  void SetOnContentChanged(const String& v) { FOnContentChanged = v; }

  TqbxRect OriginalRect;  // Left, Top, Width, Height saved by BeforePrint
  // Engine bookkeeping.
  bool PrintOn = false;
  bool ShiftObject = false;
  int OriginalObjectsCount = -1;

 private:
  String FOnBeforePrint, FOnAfterPrint, FOnAfterData, FOnPreviewClick, FOnPreviewDblClick, FOnContentChanged;
};

// The base of components that print nothing and live on the data page (data sources, databases);
// a report's CheckDataPage gathers them there.
class TqbxDialogComponent : public TqbxReportComponent {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
};

}  // namespace zavrik
