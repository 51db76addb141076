#include "report/model/qbx_report_options.h"

#include "core/datetime.h"
#include "core/rtti_props.h"

namespace zavrik {

const ClassInfo& TqbxEngineOptions::StaticClass() {
  using C = TqbxEngineOptions;
  static const EnumType silent_modes{u"simMessageBoxes", u"simSilent", u"simReThrow"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxEngineOptions", &Object::StaticClass(), nullptr, {
      Field(u"ConvertNulls", &C::ConvertNulls).Default(1),
      Field(u"DoublePass", &C::DoublePass).Default(0),
      Field(u"MaxMemSize", &C::MaxMemSize).Default(10),
      Field(u"PrintIfEmpty", &C::PrintIfEmpty).Default(1),
      Prop(u"SilentMode", &C::SilentMode, &C::SetSilentMode).NotStored(),
      Field(u"NewSilentMode", &C::NewSilentMode).Enum(silent_modes).Default(simMessageBoxes),
      Field(u"TempDir", &C::TempDir),
      Field(u"UseFileCache", &C::UseFileCache).Default(0),
      Field(u"IgnoreDevByZero", &C::IgnoreDevByZero).Default(0),
      Field(u"IgnoreExprError", &C::IgnoreExprError).Default(0),
  }); });
  return info;
}

void TqbxEngineOptions::Clear() {
  ConvertNulls = true;
  IgnoreDevByZero = false;
  IgnoreExprError = false;
  DoublePass = false;
}

const ClassInfo& TqbxPrintOptions::StaticClass() {
  using C = TqbxPrintOptions;
  static const EnumType print_modes{u"pmDefault", u"pmSplit", u"pmJoin", u"pmScale"};
  static const EnumType print_pages{u"ppAll", u"ppOdd", u"ppEven"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxPrintOptions", &Object::StaticClass(), nullptr, {
      Field(u"Copies", &C::Copies).Default(1),
      Field(u"Collate", &C::Collate).Default(1),
      Field(u"PageNumbers", &C::PageNumbers),
      Field(u"Printer", &C::Printer).Stored(&C::IsPrinterStored),
      Field(u"PrintMode", &C::PrintMode).Enum(print_modes).Default(pmDefault),
      Field(u"PrintOnSheet", &C::PrintOnSheet).Default(0),
      Field(u"PrintPages", &C::PrintPages).Enum(print_pages).Default(ppAll),
      Field(u"Reverse", &C::Reverse).Default(0),
      Field(u"ShowDialog", &C::ShowDialog).Default(1),
      Field(u"SwapPageSize", &C::SwapPageSize).NotStored(),
  }); });
  return info;
}

const ClassInfo& TqbxPreviewOptions::StaticClass() {
  using C = TqbxPreviewOptions;
  static const EnumType buttons{u"pbPrint", u"pbLoad", u"pbSave", u"pbExport", u"pbZoom", u"pbFind", u"pbOutline",
                                u"pbPageSetup", u"pbTools", u"pbEdit", u"pbNavigator", u"pbExportQuick", u"pbNoClose",
                                u"pbNoFullScreen", u"pbNoEmail", u"pbCopy", u"pbPaste", u"pbSelection", u"pbInplaceEdit"};
  static const EnumType zoom_modes{u"zmDefault", u"zmWholePage", u"zmPageWidth", u"zmManyPages"};
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxPreviewOptions", &Object::StaticClass(), nullptr, {
      Field(u"AllowEdit", &C::AllowEdit).Default(1),
      Field(u"AllowPreviewEdit", &C::AllowPreviewEdit).Default(1),
      Field(u"Buttons", &C::Buttons).SetOf(buttons).Default(0),
      Field(u"DoubleBuffered", &C::DoubleBuffered).Default(1),
      Field(u"Maximized", &C::Maximized).Default(1),
      Field(u"MDIChild", &C::MDIChild).Default(0),
      Field(u"Modal", &C::Modal).Default(1),
      Field(u"OutlineExpand", &C::OutlineExpand).Default(1),
      Field(u"OutlineVisible", &C::OutlineVisible).Default(0),
      Field(u"OutlineWidth", &C::OutlineWidth).Default(120),
      Field(u"PagesInCache", &C::PagesInCache).Default(50),
      Field(u"ThumbnailVisible", &C::ThumbnailVisible).Default(0),
      Field(u"ShowCaptions", &C::ShowCaptions).Default(0),
      Field(u"Zoom", &C::Zoom),
      Field(u"ZoomMode", &C::ZoomMode).Enum(zoom_modes).Default(zmDefault),
      Field(u"PictureCacheInFile", &C::PictureCacheInFile).Default(0),
  }); });
  return info;
}

TqbxReportOptions::TqbxReportOptions() { Clear(); }

const ClassInfo& TqbxReportOptions::StaticClass() {
  using C = TqbxReportOptions;
  static const ClassInfo info = OutOfLine([&] { return ClassInfo(u"TqbxReportOptions", &Object::StaticClass(), nullptr, {
      Field(u"Author", &C::Author),
      Field(u"Compressed", &C::Compressed).Default(0),
      Field(u"ConnectionName", &C::ConnectionName),
      Field(u"CreateDate", &C::CreateDate),
      Prop(u"Description", &C::Description),
      Field(u"InitString", &C::InitString),
      Field(u"LastChange", &C::LastChange),
      Field(u"Name", &C::Name),
      Field(u"Password", &C::Password),
      Field(u"VersionBuild", &C::VersionBuild),
      Field(u"VersionMajor", &C::VersionMajor),
      Field(u"VersionMinor", &C::VersionMinor),
      Field(u"VersionRelease", &C::VersionRelease),
  }); });
  return info;
}

void TqbxReportOptions::Clear() {
  Author.clear(), ConnectionName.clear(), InitString.clear(), Name.clear(), Password.clear();
  VersionBuild.clear(), VersionMajor.clear(), VersionMinor.clear(), VersionRelease.clear();
  Compressed = false;
  FDescription->Clear();
  CreateDate = LastChange = CurrentDateTime();
}

}  // namespace zavrik
