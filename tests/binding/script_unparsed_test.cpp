// Report scripts with a line the grammar cannot start: the report's error list names it (no
// handler silently lost), and the same template with that line corrected reaches every handler.
#include <fstream>
#include <sstream>

#include "binding/binding_fixture.h"
#include "report/model/qbx_report_component.h"
#include "report/binding/qbx_report_script.h"

namespace zavrik::test {
namespace {

struct UnparsedCase {
  const char* file;        // in fixtures/templates/script_truncation
  const char16_t* error;   // the report's error
  const char* bad;         // the offending text of the template ...
  const char* corrected;   // ... and what makes it valid
  const char16_t* log;     // Log after the main block and both handlers
};

const UnparsedCase kCases[] = {
    {"jscript_strict_equal", u"Ошибка в скрипте 3:13: Statement expected", "===", "==", u"page;memo;"},
    {"jscript_ternary", u"Ошибка в скрипте 3:11: Statement expected",
     "x = a &gt; 0 ? &quot;pos&quot; : &quot;neg&quot;;",
     "if (a &gt; 0) x = &quot;pos&quot;; else x = &quot;neg&quot;;", u"page;memo;"},
    {"basic_one_line_for", u"Ошибка в скрипте 3:1: End of line expected",
     "For i = 1 To 3: Log = Log &amp; i: Next", "For i = 1 To 3&#13;&#10;Log = Log &amp; i&#13;&#10;Next",
     u"123page;memo;"},
    {"basic_rem_capitals", u"Ошибка в скрипте 3:1: End of line expected", "Rem the", "rem the",
     u"page;memo;"},
    {"basic_stray_end_if", u"Ошибка в скрипте 3:1: End of line expected", "End If&#13;&#10;", "",
     u"page;memo;"},
    {"cpp_after_main", u"Ошибка в скрипте 4:1: Statement expected",
     "{ Log = &quot;&quot;; }&#13;&#10;void MemoBefore(TqbxComponent Sender) { Log = Log + "
     "&quot;memo;&quot;; }",
     "void MemoBefore(TqbxComponent Sender) { Log = Log + &quot;memo;&quot;; }&#13;&#10;{ Log = "
     "&quot;&quot;; }",
     u"page;memo;"},
};

void PrintTo(const UnparsedCase& c, std::ostream* os) { *os << c.file; }

std::string ReadTemplate(const std::string& name) {
  std::ifstream in(std::string(ZAVRIK_FIXTURES) + "/templates/script_truncation/" + name + ".xml",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ScriptUnparsedTest : public BindingTest, public testing::WithParamInterface<UnparsedCase> {
 protected:
  void Load(const std::string& xml) {
    report_ = std::make_unique<TqbxReport>();
    report_->EngineOptions()->NewSilentMode = simSilent;
    std::istringstream in(xml);
    report_->LoadFromStream(in);
    ASSERT_TRUE(report_->Errors.Empty()) << StringToUtf8(Errors());
  }
};

TEST_P(ScriptUnparsedTest, TheErrorIsListedAndTheCorrectedTemplateKeepsItsHandlers) {
  const UnparsedCase& c = GetParam();
  const std::string xml = ReadTemplate(c.file);
  const size_t at = xml.find(c.bad);
  ASSERT_NE(at, std::string::npos) << c.file;

  Load(xml);
  EXPECT_FALSE(report_->PrepareScript());
  EXPECT_EQ(Errors(), c.error);

  std::string corrected = xml;
  corrected.replace(at, std::string(c.bad).size(), c.corrected);
  Load(corrected);
  ASSERT_TRUE(report_->PrepareScript()) << StringToUtf8(Errors());
  ReportScriptOf(*report_).ExecuteMainBlock();
  auto* memo = dynamic_cast<TqbxReportComponent*>(report_->FindObject(u"Memo1"));
  ASSERT_NE(memo, nullptr);
  report_->EngineRunning = true;
  report_->DoNotifyEvent(report_->FindObject(u"Page1"), u"PageBefore");
  report_->DoBeforePrint(*memo);
  report_->EngineRunning = false;
  EXPECT_EQ(CalcText(u"Log"), c.log);
  EXPECT_TRUE(report_->Errors.Empty()) << StringToUtf8(Errors());
}

INSTANTIATE_TEST_SUITE_P(Templates, ScriptUnparsedTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<UnparsedCase>& info) {
                           return std::string(info.param.file);
                         });

}  // namespace
}  // namespace zavrik::test
