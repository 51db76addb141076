// Loading, saving and preparing a report definition; the error handler.
#include <cstdio>
#include <sstream>

#include "core/error.h"
#include "platform/message_window.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/qbx_page.h"
#include "report/model/qbx_preview_pages.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"
#include "report/document/qbx_temp_file.h"
#include "script/qs_iinterpreter.h"

namespace zavrik {
namespace {

// Templates store the password with every character code lowered by 10.
String ShiftCodes(StringView text, int by) {
  String out(text);
  for (char16_t& c : out) c = static_cast<char16_t>(c + by);
  return out;
}

// No user can answer a password question here: protected templates open without it, and the
// first one says so on standard error.
void NotePasswordNotAsked() {
  static bool said = false;
  if (said) return;
  said = true;
  std::fputs("Шаблон отчёта защищён паролем; он открыт без запроса пароля\n", stderr);
}

}  // namespace

void TqbxReport::SaveToStream(std::ostream& stream, bool save_children, bool save_default_values,
                              bool indented) const {
  const String password = FReportOptions->Password;
  FReportOptions->Password = ShiftCodes(password, -10);
  try {
    TqbxComponent::SaveToStream(stream, save_children, save_default_values, indented);
  } catch (...) {
    FReportOptions->Password = password;
    throw;
  }
  FReportOptions->Password = password;
}

void TqbxReport::LoadFromStream(std::istream& stream) {
  ReadDefinition(stream);
  if (!Errors.Empty()) ShowErrors();
}

void TqbxReport::ReadDefinition(std::istream& stream) {
  Errors.Clear();
  FReportOptions->Password = FReportOptions->HiddenPassword;
  FEngineOptions->PrintIfEmpty = true;
  const TqbxEngineOptions engine = *FEngineOptions;
  const TqbxPreviewOptions preview = *FPreviewOptions;
  const String ini_file = IniFile;
  const bool old_style_progress = OldStyleProgress, show_progress = ShowProgress, store_in_dfm = StoreInDFM;

  Clear();
  TqbxXMLSerializer serializer(this);
  IsLoading = true;
  try {
    serializer.ReadRootComponent(*this, stream);
  } catch (const Error& e) {
    Errors.Add(e.Message());
  }
  IsLoading = false;
  Errors.AddAll(serializer.Errors);
  CheckDataPage();
  if (!FEngineOptions->UseGlobalDataSetList) {
    for (int i = 0; i < FDataSets.Count(); ++i) {
      TqbxDataSetItem& item = FDataSets.Item(i);
      if (TqbxDataSetItem* enabled = FEnabledDataSets.Find(item.DataSetName())) item.SetDataSet(enabled->DataSet());
    }
  }

  RestoreKeptOptions(engine, preview);
  IniFile = ini_file;
  OldStyleProgress = old_style_progress;
  ShowProgress = show_progress;
  StoreInDFM = store_in_dfm;

  String& password = FReportOptions->Password;
  password = ShiftCodes(password, 10);
  if (!password.empty() && password != FAcceptedPassword && password != FReportOptions->HiddenPassword && !Reloading) {
    NotePasswordNotAsked();
    FAcceptedPassword = password;
  }
  if (FReportOptions->Info) Clear();
}

void TqbxReport::RestoreKeptOptions(const TqbxEngineOptions& engine, const TqbxPreviewOptions& preview) {
  // Five engine and five preview options keep the template's values; the others their own.
  TqbxEngineOptions& e = *FEngineOptions;
  const TqbxEngineOptions read = e;
  e = engine;
  e.ConvertNulls = read.ConvertNulls;
  e.IgnoreDevByZero = read.IgnoreDevByZero;
  e.IgnoreExprError = read.IgnoreExprError;
  e.DoublePass = read.DoublePass;
  e.PrintIfEmpty = read.PrintIfEmpty;
  TqbxPreviewOptions& p = *FPreviewOptions;
  const TqbxPreviewOptions read_preview = p;
  p = preview;
  p.OutlineVisible = read_preview.OutlineVisible;
  p.OutlineWidth = read_preview.OutlineWidth;
  p.OutlineExpand = read_preview.OutlineExpand;
  p.PagesInCache = read_preview.PagesInCache;
  p.ThumbnailVisible = read_preview.ThumbnailVisible;
}

void TqbxReport::CheckDataPage() {
  for (TqbxComponent* object : AllObjects()) {
    if (dynamic_cast<TqbxDataPage*>(object)) return;
  }
  const std::vector<TqbxComponent*> objects = AllObjects();
  TqbxDataPage& page = CreateIn<TqbxDataPage>(*this);
  if (FindObject(u"Data")) page.CreateUniqueName(this);
  else page.SetName(u"Data");
  MoveChild(page, 0);
  // The data components gather on the new page in a row, 64 units apart.
  double left = 60;
  for (TqbxComponent* object : objects) {
    if (!dynamic_cast<TqbxDialogComponent*>(object)) continue;
    object->SetParent(&page);
    object->SetTop(20);
    object->SetLeft(left);
    left += 64;
  }
}

void TqbxReport::ShowErrors() {
  String text = u"Были обнаружены следующие ошибки:\r\n";
  text += Errors.Text();
  ReportError(text);
}

void TqbxReport::ReportError(const String& text) {
  switch (FEngineOptions->NewSilentMode) {
    case simMessageBoxes: return ShowMessage(u"Ошибка", text);
    case simSilent: return;
    case simReThrow: throw Error(text);
  }
}

bool TqbxReport::PrepareReport(bool) {
  if (FPreviewPages) FPreviewPages->Clear();
  Errors.Clear();
  Terminated = false;
  bool result = false;
  for (int i = 0; i < FDataSets.Count(); ++i) {
    const TqbxDataSetItem& item = FDataSets.Item(i);
    if (!item.DataSet()) Errors.Add(u"Набор данных \"" + item.DataSetName() + u"\" не найден");
  }
  if (Errors.Empty()) {
    const String password = FReportOptions->Password;
    // The definition is kept in memory, or in a temporary file with UseFileCache.
    std::unique_ptr<std::iostream> saved;
    bool kept_definition = false;
    try {
      if (FEngineOptions->DestroyForms) {
        if (FEngineOptions->UseFileCache) saved = std::make_unique<TqbxTempFile>(FEngineOptions->TempDir, "qbx");
        else saved = std::make_unique<std::stringstream>();
        FReportOptions->Password.clear();
        SaveToStream(*saved, true, false, false);
        FReportOptions->Password = password;
        saved->flush();
        kept_definition = true;
      }
      if (PrepareScript()) {
        Scripting().ExecuteMainBlock();
        if (!Terminated) result = Run ? Run(*this) : (Engine ? Engine->Run(true, false, nullptr) : true);
      }
    } catch (const Error& e) {
      FReportOptions->Password = password;
      const String position = FScripting ? FScripting->ErrorPosition() : String();
      Errors.Add(position.empty() ? e.Message() : e.Message() + u" " + position);
    }
    if (kept_definition) {
      // Changes the script made to objects do not outlive the preparation.
      const TqbxErrorList kept = Errors;
      saved->clear();
      saved->seekg(0);
      Reloading = true;
      ReadDefinition(*saved);
      Reloading = false;
      FReportOptions->Password = password;
      Errors = kept;
    }
  }
  if (!Errors.Empty()) {
    result = false;
    ShowErrors();
  }
  return result;
}

}  // namespace zavrik
