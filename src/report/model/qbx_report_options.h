// The four option records of a report: engine, print, preview and report options. Templates
// write them as dotted attributes (`EngineOptions.DoublePass="True"`).
#pragma once

#include <memory>

#include "core/rtti.h"
#include "report/model/qbx_strings.h"

namespace zavrik {

enum TqbxSilentMode : int32_t { simMessageBoxes, simSilent, simReThrow };

class TqbxEngineOptions : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Resets ConvertNulls to true and IgnoreDevByZero, IgnoreExprError, DoublePass to false.
  void Clear();

  // SilentMode is a view of NewSilentMode.
  bool SilentMode() const { return NewSilentMode == simSilent; }
  void SetSilentMode(bool v) { NewSilentMode = v ? simSilent : simMessageBoxes; }

  bool ConvertNulls = true;
  bool DoublePass = false;
  int32_t MaxMemSize = 10;
  bool PrintIfEmpty = true;
  TqbxSilentMode NewSilentMode = simMessageBoxes;
  String TempDir;
  bool UseFileCache = false;
  bool IgnoreDevByZero = false;
  bool IgnoreExprError = false;
  // Set by code only.
  bool EnableThreadSafe = false;
  bool UseGlobalDataSetList = true;
  bool DestroyForms = true;
};

enum TqbxPrintMode : int32_t { pmDefault, pmSplit, pmJoin, pmScale };
enum TqbxPrintPages : int32_t { ppAll, ppOdd, ppEven };

class TqbxPrintOptions : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  int32_t Copies = 1;
  bool Collate = true;
  String PageNumbers;
  String Printer = u"По умолчанию";
  TqbxPrintMode PrintMode = pmDefault;
  int32_t PrintOnSheet = 0;
  TqbxPrintPages PrintPages = ppAll;
  bool Reverse = false;
  bool ShowDialog = true;
  bool SwapPageSize = false;
  bool IsPrinterStored() const { return Printer != u"По умолчанию"; }
};

enum TqbxZoomMode : int32_t { zmDefault, zmWholePage, zmPageWidth, zmManyPages };

class TqbxPreviewOptions : public Object {
 public:
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  bool AllowEdit = true;
  bool AllowPreviewEdit = true;
  int32_t Buttons = 0;
  bool DoubleBuffered = true;
  bool Maximized = true;
  bool MDIChild = false;
  bool Modal = true;
  bool OutlineExpand = true;
  bool OutlineVisible = false;
  int32_t OutlineWidth = 120;
  int32_t PagesInCache = 50;
  bool ThumbnailVisible = false;
  bool ShowCaptions = false;
  double Zoom = 1;
  TqbxZoomMode ZoomMode = zmDefault;
  bool PictureCacheInFile = false;
};

class TqbxReportOptions : public Object {
 public:
  TqbxReportOptions();
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }
  // Empties every field and stamps CreateDate and LastChange with the current time.
  void Clear();
  TStrings* Description() const { return FDescription.get(); }

  String Author, ConnectionName, InitString, Name, Password;
  String VersionBuild, VersionMajor, VersionMinor, VersionRelease;
  bool Compressed = false;
  double CreateDate = 0, LastChange = 0;
  // Set by the application, never read from templates.
  String HiddenPassword;
  bool Info = false;

 private:
  std::unique_ptr<TStrings> FDescription = std::make_unique<TStrings>();
};

}  // namespace zavrik
