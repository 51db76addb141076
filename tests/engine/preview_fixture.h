// A report with one page, built by code, and its prepared pages, for the engine tests.
#pragma once

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/float_text.h"
#include "engine/pages/qbx_preview_pages.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"
#include "report/model/serializer/qbx_serializer.h"

namespace zavrik::test {

class PreviewPagesTest : public ::testing::Test {
 protected:
  PreviewPagesTest() {
    RegisterReportClasses();
    report.EngineOptions()->NewSilentMode = simSilent;
    page.SetName(u"Page1");
    pages.Engine = &engine;
    engine.Running = true;
    engine.FinalPass = true;
  }

  template <class T>
  T& AddBand(const String& name, double top, double height, TqbxComponent* parent = nullptr) {
    T& band = TqbxComponent::CreateIn<T>(parent ? *parent : page);
    band.SetName(name);
    band.SetBounds(0, top, 700, height);
    return band;
  }
  TqbxMemoView& AddMemo(TqbxComponent& band, const String& name, const String& text) {
    auto& memo = TqbxComponent::CreateIn<TqbxMemoView>(band);
    memo.SetName(name);
    memo.SetBounds(10, 2, 100, 16);
    memo.SetMemoText(text);
    return memo;
  }
  // The page element `index` and its children's names ("b1(m1,m2)").
  String ElementNames(int index) {
    String text;
    TqbxXMLItem& item = pages.PageItem(index);
    for (int i = 0; i < item.Count(); ++i) {
      if (i) text += u",";
      text += item.Items(i).Name();
      if (item.Items(i).Count()) {
        text += u"(";
        for (int j = 0; j < item.Items(i).Count(); ++j)
          text += (j ? u"," : u"") + item.Items(i).Items(j).Name();
        text += u")";
      }
    }
    return text;
  }
  static String Serialized(const TqbxComponent& component) {
    TqbxXMLSerializer serializer;
    return serializer.WriteComponentStr(component);
  }

  TqbxReport report;
  TqbxReportPage& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
  TqbxCustomEngine engine;
  TqbxPreviewPages& pages = Install(report);

 private:
  static TqbxPreviewPages& Install(TqbxReport& report) {
    auto owned = std::make_unique<TqbxPreviewPages>(report);
    TqbxPreviewPages& installed = *owned;
    report.SetPreviewPages(std::move(owned));
    return installed;
  }
};

}  // namespace zavrik::test
