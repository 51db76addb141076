// Loading a generated 10 MB template (20,000 memo elements with about ten attributes each):
// the document layer alone, and into components through the serializer.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "../tests/report/test_classes.h"
#include "report/document/qbx_xml_document.h"

namespace {

using namespace zavrik;

const std::string& GeneratedTemplate() {
  static const std::string text = [] {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n<TtstReport>\r\n";
    int memo = 0;
    for (int band = 1; band <= 20; ++band) {
      xml += "  <TtstBand Name=\"Band" + std::to_string(band) + "\" Left=\"0\" Top=\"" + std::to_string(band * 20) +
             "\" Width=\"718.1107\" Height=\"18.89765\">\r\n";
      for (int i = 0; i < 1000; ++i, ++memo) {
        xml += "    <TtstMemoView Name=\"Memo" + std::to_string(memo + 1) + "\" Left=\"" + std::to_string(i % 700) +
               ".77953\" Top=\"0\" Width=\"200,5\" Height=\"18.89765\" Font.Height=\"-13\" Font.Name=\"Arial\" "
               "Font.Style=\"1\" HAlign=\"haCenter\" Frame.Typ=\"15\" Value=\"&#1057;&#1095;&#1105;&#1090;\" "
               "Description=\"Сумма по строкам счёта\" "
               "Text=\"Счёт № [Invoice.&#34;NUM&#34;] от [Invoice.&#34;INVOICE_DATE&#34;]&#13;&#10;"
               "Покупатель: [Invoice.&#34;CUSTOMER&#34;], адрес: [Invoice.&#34;ADDRESS&#34;]&#13;&#10;"
               "Итого: [SUM(&lt;Lines.&#34;AMOUNT&#34;&gt;, MasterData1)] руб.\"/>\r\n";
      }
      xml += "  </TtstBand>\r\n";
    }
    return xml + "</TtstReport>\r\n";  // about 10 MB
  }();
  return text;
}

void BM_DocumentLayer(benchmark::State& state) {
  const std::string& text = GeneratedTemplate();
  for (auto _ : state) {
    TqbxXMLDocument document;
    document.LoadFromString(text);
    benchmark::DoNotOptimize(document.Root().Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DocumentLayer)->Unit(benchmark::kMillisecond);

void BM_IntoObjects(benchmark::State& state) {
  const std::string& text = GeneratedTemplate();
  test::RegisterTestClasses();
  for (auto _ : state) {
    test::TtstReport report;
    TqbxXMLSerializer serializer(&report);
    std::istringstream in(text);
    serializer.ReadRootComponent(report, in);
    if (!serializer.Errors.Empty() || report.AllObjects().size() != 20020) state.SkipWithError("load failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IntoObjects)->Unit(benchmark::kMillisecond);

}  // namespace
