// A report prepared for expression tests: classes registered, errors raised instead of shown.
#pragma once

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/variant_convert.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_report.h"

namespace zavrik::test {

class BindingTest : public testing::Test {
 protected:
  BindingTest() {
    RegisterReportClasses();
    report_ = std::make_unique<TqbxReport>();
    report_->EngineOptions()->NewSilentMode = simReThrow;
  }

  // Sets the script text and prepares the script; false with the errors on failure.
  bool Prepare(const String& script, const String& language = u"PascalScript") {
    report_->SetScriptLanguage(language);
    report_->ScriptText()->SetText(script);
    return report_->PrepareScript();
  }

  String CalcText(StringView expression) { return VarToString(report_->Calc(expression)); }
  String Errors() const { return report_->Errors.Text(); }

  std::unique_ptr<TqbxReport> report_;
};

}  // namespace zavrik::test
