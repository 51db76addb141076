// A report with the engine installed, loaded from a template body, with a test evaluator that
// answers `Line`, `Line#`, `Page#`, `TotalPages` (the first pass's count) and a few fixed
// expressions; and readers of the prepared pages it produces.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/float_text.h"
#include "core/ustring.h"
#include "data/ibx_components.h"
#include "data/qbx_data_set.h"
#include "engine/run/qbx_engine.h"
#include "engine/pages/qbx_preview_pages.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    RegisterReportClasses();
    data::RegisterDataClasses();
    RegisterEnginePreviewPages();
    report_ = std::make_unique<TqbxReport>();
    InstallEngine(*report_);
    report_->OnCalc = [this](StringView expression) -> Variant {
      if (expression == u"Line") return Variant(static_cast<int32_t>(report_->Engine->CurLine));
      if (expression == u"Line#")
        return Variant(static_cast<int32_t>(report_->Engine->CurLineThrough));
      if (expression == u"TotalPages")
        return Variant(static_cast<int32_t>(report_->Engine->TotalPages));
      if (expression == u"Page#")
        return Variant(static_cast<int32_t>(report_->PreviewPages()->CurPage + 1));
      if (expression == u"False") return Variant(false);
      if (expression == u"StopAtThree") {
        if (report_->Engine->CurLine == 3) static_cast<TqbxEngine*>(report_->Engine)->StopReport();
        return Variant(u"");
      }
      if (expression == u"Third") {
        // Groups of three records of the data set D.
        auto* data_set = dynamic_cast<data::TqbxDataSet*>(report_->FindObject(u"D"));
        return Variant(static_cast<int32_t>(data_set ? data_set->RecNo / 3 : 0));
      }
      if (expression == u"'Row ' + Line")
        return Variant(u"Row " + IntToStr(report_->Engine->CurLine));
      throw Error(u"Unknown expression " + String(expression));
    };
  }

  // Loads a report: `page` is the content of the report page, `sources` that of the data page.
  // A report of the main page and further report pages (name and content each).
  void LoadPages(const std::string& main,
                 const std::vector<std::pair<std::string, std::string>>& pages,
                 const std::string& main_attributes = "") {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport><TqbxDataPage Name=\"Data\"/>"
        "<TqbxReportPage Name=\"Page1\" " + main_attributes + ">" + main + "</TqbxReportPage>";
    for (const auto& [name, content] : pages)
      xml += "<TqbxReportPage Name=\"" + name + "\">" + content + "</TqbxReportPage>";
    std::istringstream in(xml + "</TqbxReport>");
    report_->LoadFromStream(in);
    report_->EngineOptions()->NewSilentMode = simSilent;
  }

  void Load(const std::string& page, const std::string& sources = "",
            const std::vector<std::string>& datasets = {},
            const std::string& page_attributes = "") {
    std::string list;
    for (const std::string& name : datasets) list += "<item DataSet=\"" + name + "\"/>";
    std::istringstream in(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><TqbxReport>"
        "<TqbxDataPage Name=\"Data\">" +
        sources +
        "</TqbxDataPage>"
        "<TqbxReportPage Name=\"Page1\" " +
        page_attributes + ">" + page + "</TqbxReportPage><Datasets>" + list +
        "</Datasets></TqbxReport>");
    report_->LoadFromStream(in);
    report_->EngineOptions()->NewSilentMode = simSilent;
  }

  TqbxPreviewPages& Pages() { return dynamic_cast<TqbxPreviewPages&>(*report_->PreviewPages()); }

  // The bands of a prepared page as "name@top" (tops rounded).
  std::vector<std::string> Bands(int page) {
    std::vector<std::string> result;
    TqbxReportPage* rebuilt = Pages().GetPage(page);
    if (!rebuilt) return result;
    for (const auto& child : rebuilt->Objects()) {
      if (!child->IsBand()) continue;
      result.push_back(StringToUtf8(child->Name()) + "@" +
                       std::to_string(static_cast<long>(std::nearbyint(child->Top()))));
    }
    return result;
  }

  // The bands of a prepared page as "name@left,top" (rounded).
  std::vector<std::string> Placed(int page) {
    std::vector<std::string> result;
    TqbxReportPage* rebuilt = Pages().GetPage(page);
    if (!rebuilt) return result;
    for (const auto& child : rebuilt->Objects()) {
      if (!child->IsBand()) continue;
      result.push_back(StringToUtf8(child->Name()) + "@" + std::to_string(std::lround(child->Left())) +
                       "," + std::to_string(std::lround(child->Top())));
    }
    return result;
  }

  // Prepares the loaded report; the errors are shown when it fails.
  void Prepare() { ASSERT_TRUE(report_->PrepareReport()) << StringToUtf8(report_->Errors.Text()); }

  // The texts of the memos named `name` on a prepared page, in order, without the line break.
  std::vector<std::string> Texts(int page, StringView name) {
    std::vector<std::string> result;
    TqbxReportPage* rebuilt = Pages().GetPage(page);
    if (!rebuilt) return result;
    for (TqbxComponent* object : rebuilt->AllObjects())
      if (auto* memo = dynamic_cast<TqbxCustomMemoView*>(object); memo && memo->Name() == name)
        result.push_back(StringToUtf8(Trim(memo->MemoText())));
    return result;
  }

  // The object named `name` on a prepared page (the first one).
  TqbxComponent* Find(int page, StringView name) {
    TqbxReportPage* rebuilt = Pages().GetPage(page);
    if (!rebuilt) return nullptr;
    for (TqbxComponent* object : rebuilt->AllObjects())
      if (object->Name() == name) return object;
    return nullptr;
  }

  std::unique_ptr<TqbxReport> report_;
};

inline std::string Num(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

// A band of the class at `top` (700 wide), with attributes and content.
inline std::string Band(const std::string& cls, const std::string& name, double top, double height,
                        const std::string& attributes = "", const std::string& content = "") {
  return "<" + cls + " Name=\"" + name + "\" Left=\"0\" Top=\"" + Num(top) +
         "\" Width=\"700\" Height=\"" + Num(height) + "\" " + attributes + ">" + content + "</" +
         cls + ">";
}

// A memo 100 wide.
inline std::string Memo(const std::string& name, double left, double top, double height,
                        const std::string& text, const std::string& attributes = "") {
  return "<TqbxMemoView Name=\"" + name + "\" Left=\"" + Num(left) + "\" Top=\"" + Num(top) +
         "\" Width=\"100\" Height=\"" + Num(height) + "\" Text=\"" + text + "\" " + attributes +
         "/>";
}

// A user data set with `count` empty records.
inline std::string Records(const std::string& name, int count) {
  return "<TqbxUserDataSet Name=\"" + name + "\" RangeEnd=\"reCount\" RangeEndCount=\"" +
         std::to_string(count) + "\"/>";
}

}  // namespace zavrik::test
