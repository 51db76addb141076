// Wrapping 1 MB of Russian prose (paragraphs of about 500 characters) into lines 300 pixels wide,
// Arial 10: plain, with markup, and with hyphenation.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/shaping.h"
#include "report/text/draw_text.h"

namespace {

using zavrik::String;

constexpr const char16_t* kWords[] = {
    u"отчёт", u"программа", u"выводит", u"страницы", u"документа", u"строки", u"переносятся", u"по",
    u"ширине", u"и", u"в", u"на", u"с", u"данные", u"из", u"базы", u"собираются", u"полосами", u"текст",
    u"шрифт", u"высота", u"ширина", u"колонтитул", u"итоговая", u"сумма", u"заказчика", u"исполнителя"};

// Deterministic prose of about `bytes` UTF-8 bytes; markup wraps every seventh word in <b>.
String Prose(size_t bytes, bool markup) {
  String text;
  size_t utf8 = 0, paragraph = 0, word = 0;
  uint32_t seed = 12345;
  while (utf8 < bytes) {
    seed = seed * 1103515245 + 12345;
    const String w = kWords[(seed >> 16) % std::size(kWords)];
    const bool bold = markup && ++word % 7 == 0;
    const String piece = (bold ? u"<b>" + w + u"</b>" : w) + (paragraph > 500 ? u".\n" : u" ");
    paragraph = paragraph > 500 ? 0 : paragraph + w.size() + 1;
    text += piece;
    utf8 += zavrik::StringToUtf8(piece).size();
  }
  return text;
}

void Wrap(benchmark::State& state, bool markup, bool hyphenation) {
  const String text = Prose(1 << 20, markup);
  zavrik::TqbxDrawText layout;
  const zavrik::Rect rect{0, 0, 300, 1 << 30};
  layout.SetFont({});
  layout.SetOptions(true, markup, false, hyphenation, true, true, 0);
  layout.SetGaps(0, 0, 2);
  layout.SetDimensions(1, 1, 1, rect, rect);
  size_t lines = 0;
  for (auto _ : state) {
    layout.SetText(text);
    lines = layout.Text().size();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(zavrik::StringToUtf8(text).size()));
  state.counters["lines"] = static_cast<double>(lines);
}

void BM_WrapPlain(benchmark::State& state) { Wrap(state, false, false); }
void BM_WrapMarkup(benchmark::State& state) { Wrap(state, true, false); }
void BM_WrapHyphenation(benchmark::State& state) { Wrap(state, false, true); }
void BM_WrapMarkupHyphenation(benchmark::State& state) { Wrap(state, true, true); }

BENCHMARK(BM_WrapPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapMarkup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapHyphenation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WrapMarkupHyphenation)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Shaping a new line of about 60 characters, and the same line again (from the cache).
void BM_ShapeNewLine(benchmark::State& state) {
  const auto face = zavrik::FaceFor(u"Arial", 0);
  int counter = 0;
  for (auto _ : state) {
    const String line = u"Итоговая сумма заказа " + zavrik::Utf8ToString(std::to_string(counter++)) +
                        u" рублей, включая налог на добавленную стоимость.";
    benchmark::DoNotOptimize(zavrik::ShapeText(*face, line));
  }
}
void BM_ShapeCachedLine(benchmark::State& state) {
  const auto face = zavrik::FaceFor(u"Arial", 0);
  const String line = u"Итоговая сумма заказа рублей, включая налог на добавленную стоимость.";
  for (auto _ : state) benchmark::DoNotOptimize(zavrik::ShapeText(*face, line));
}
BENCHMARK(BM_ShapeNewLine);
BENCHMARK(BM_ShapeCachedLine);

}  // namespace
