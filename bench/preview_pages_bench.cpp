// Prepared pages: the cost of recording a printed band (five memos) and of rebuilding and exporting
// a page of 40 such bands.
#include <benchmark/benchmark.h>

#include <sstream>

#include "engine/pages/qbx_preview_pages.h"
#include "pdf/pdf_export.h"
#include "report/model/qbx_band.h"
#include "report/model/qbx_classes.h"
#include "report/model/qbx_custom_engine.h"
#include "report/model/views/qbx_memo.h"
#include "report/model/qbx_report.h"

namespace zavrik {
namespace {

constexpr int kRowsPerPage = 40;
constexpr int kMemosPerRow = 5;

// A report page with one data band of five memos, and its prepared pages.
struct PrintedReport {
  TqbxReport report;
  TqbxReportPage& page = TqbxComponent::CreateIn<TqbxReportPage>(report);
  TqbxMasterData& band = TqbxComponent::CreateIn<TqbxMasterData>(page);
  std::vector<TqbxMemoView*> memos;
  TqbxCustomEngine engine;
  TqbxPreviewPages* pages = nullptr;

  PrintedReport() {
    RegisterReportClasses();
    report.EngineOptions()->NewSilentMode = simSilent;
    page.SetName(u"Page1");
    band.SetName(u"MasterData1");
    band.SetBounds(0, 0, 700, 20);
    for (int i = 0; i < kMemosPerRow; ++i) {
      auto& memo = TqbxComponent::CreateIn<TqbxMemoView>(band);
      memo.SetName(u"Memo" + Utf8ToString(std::to_string(i + 1)));
      memo.SetBounds(i * 140.0, 0, 130, 18);
      memos.push_back(&memo);
    }
    auto owned = std::make_unique<TqbxPreviewPages>(report);
    pages = owned.get();
    report.SetPreviewPages(std::move(owned));
    pages->Engine = &engine;
    engine.Running = true;
    engine.FinalPass = true;
    pages->AddSourcePage(page);
  }

  // Records `rows` bands with changing texts, starting a page every kRowsPerPage rows.
  void Print(int rows) {
    for (int row = 0; row < rows; ++row) {
      if (row % kRowsPerPage == 0) pages->AddPage(page);
      band.SetTop(20.0 * (row % kRowsPerPage));
      for (int i = 0; i < kMemosPerRow; ++i) {
        memos[static_cast<size_t>(i)]->SetMemoText(u"Строка " + Utf8ToString(std::to_string(row * 10 + i)));
      }
      pages->AddObject(band);
    }
  }
};

void BM_RecordBand(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  int64_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto printed = std::make_unique<PrintedReport>();
    state.ResumeTiming();
    printed->Print(rows);
    bytes = printed->pages->XMLSize;
    state.PauseTiming();
    printed.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * rows);
  state.counters["bytes/row"] = static_cast<double>(bytes) / rows;
}
BENCHMARK(BM_RecordBand)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RebuildPage(benchmark::State& state) {
  PrintedReport printed;
  printed.Print(kRowsPerPage);
  printed.engine.Running = false;
  for (auto _ : state) {
    benchmark::DoNotOptimize(printed.pages->GetPage(0));
    printed.pages->ClearCache();
  }
  state.SetItemsProcessed(state.iterations() * kRowsPerPage * kMemosPerRow);
}
BENCHMARK(BM_RebuildPage)->Unit(benchmark::kMicrosecond);

void BM_ExportPages(benchmark::State& state) {
  const int page_count = static_cast<int>(state.range(0));
  PrintedReport printed;
  printed.Print(kRowsPerPage * page_count);
  printed.engine.Running = false;
  size_t size = 0;
  for (auto _ : state) {
    std::ostringstream out;
    TqbxPDFExport filter;
    filter.Stream = &out;
    filter.ShowDialog = false;
    filter.ShowProgress = false;
    printed.report.Export(filter);
    size = out.str().size();
  }
  state.SetItemsProcessed(state.iterations() * page_count);
  state.counters["pdf bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ExportPages)->Arg(25)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zavrik
