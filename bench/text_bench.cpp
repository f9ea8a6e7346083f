// Speed of the text search and editing operations and of the marker extraction, on texts of
// 100 KB, 1 MB and 10 MB shaped like the service's answers in GBK; each should grow linearly.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "text/extract.h"
#include "text/operations.h"

namespace {

using corvane::ExtractAllOptions;
using corvane::Text;
using corvane::TextArray;

// ASCII and two-byte characters mixed, a comma every few bytes, no braces.
const std::string kFiller =
    "2024-06-01 12:30:45,"
    "\xCB\xB3\xB7\xE1\xCB\xD9\xD4\xCB"  // 顺丰速运
    " \xD6\xD0\xCD\xA8\xBF\xEC\xB5\xDD,"  // 中通快递
    "Shenzhen Hub,";

std::string repeatTo(std::size_t size, const std::string& piece) {
  std::string text;
  text.reserve(size + piece.size());
  while (text.size() < size) text += piece;
  text.resize(size);
  return text;
}

// A filler text whose only occurrence of "needle" is at its very end.
Text textWithNeedleAtEnd(std::size_t size) { return Text(repeatTo(size - 6, kFiller) + "needle"); }

void setBytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void applySizes(benchmark::internal::Benchmark* bench) {
  bench->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
}

void BM_TextFind(benchmark::State& state) {
  const Text text = textWithNeedleAtEnd(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(corvane::findText(text, "needle"));
  setBytes(state);
}
BENCHMARK(BM_TextFind)->Apply(applySizes);

// Folding cases cannot use a plain byte search for a letter.
void BM_TextFindIgnoreCase(benchmark::State& state) {
  const Text text = textWithNeedleAtEnd(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(corvane::findText(text, "NEEDLE", 1, true));
  setBytes(state);
}
BENCHMARK(BM_TextFindIgnoreCase)->Apply(applySizes);

void BM_TextFindReverse(benchmark::State& state) {
  const Text text = textWithNeedleAtEnd(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(corvane::findTextReverse(text, ","));
  setBytes(state);
}
BENCHMARK(BM_TextFindReverse)->Apply(applySizes);

void BM_TextReplace(benchmark::State& state) {
  const Text text(repeatTo(static_cast<std::size_t>(state.range(0)), kFiller));
  for (auto _ : state) benchmark::DoNotOptimize(corvane::replaceText(text, ",", ";\r\n"));
  setBytes(state);
}
BENCHMARK(BM_TextReplace)->Apply(applySizes);

void BM_TextSplit(benchmark::State& state) {
  const Text text(repeatTo(static_cast<std::size_t>(state.range(0)), kFiller));
  for (auto _ : state) benchmark::DoNotOptimize(corvane::splitText(text, ","));
  setBytes(state);
}
BENCHMARK(BM_TextSplit)->Apply(applySizes);

void BM_TextExtractAll(benchmark::State& state) {
  const Text text(repeatTo(static_cast<std::size_t>(state.range(0)), "{" + kFiller + "}\r\n"));
  TextArray groups;
  for (auto _ : state) benchmark::DoNotOptimize(corvane::extractAllBetween(text, "{", "}", groups));
  setBytes(state);
}
BENCHMARK(BM_TextExtractAll)->Apply(applySizes);

// The courier list as the service sends it: 2,000 company groups making up 1 MB.
Text courierList() {
  constexpr int kGroups = 2000;
  constexpr std::size_t kSize = 1 << 20;
  const std::string group =
      "{'companyname':'\xCB\xB3\xB7\xE1\xCB\xD9\xD4\xCB'"  // 顺丰速运
      ",'code':'shunfeng','shortname':'\xCB\xB3\xB7\xE1'"  // 顺丰
      ",'tel':'95338','comurl':'";
  const std::string close = "'}";
  std::string text = "var jsoncom = [";
  const std::size_t padding = kSize / kGroups - group.size() - close.size() - 1;
  for (int i = 0; i < kGroups; ++i) {
    text += group;
    text += repeatTo(padding, "http://www.sf-express.com/cn/sc/ ");  // each group's long field
    text += close;
    text += ',';
  }
  text += "];";
  return Text(std::move(text));
}

void BM_TextExtractCourierList(benchmark::State& state) {
  const Text text = courierList();
  TextArray groups;
  for (auto _ : state) {
    if (corvane::extractAllBetween(text, "{", "}", groups) != 2000) state.SkipWithError("groups");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corvane::textLength(text));
}
BENCHMARK(BM_TextExtractCourierList)->Unit(benchmark::kMillisecond);

}  // namespace
