// Speed of the UTF-8 to GBK conversion on answers of the tracking service's shape.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "text/byte_set.h"
#include "text/codepage.h"

namespace {

// Tracking entries as the service sends them: JSON-like ASCII around Chinese progress texts.
std::string mixedAnswer(std::size_t size, const std::string& entry) {
  std::string body;
  body.reserve(size + entry.size());
  while (body.size() < size) body += entry;
  body.resize(size);  // may cut the last character: the converter copes with that too
  return body;
}

const std::string kEntry =
    "{\"time\":\"2024-06-01 12:30:45\",\"ftime\":\"2024-06-01 12:30:45\",\"context\":"
    "\"\xE3\x80\x90\xE6\xB7\xB1\xE5\x9C\xB3\xE5\xB8\x82\xE3\x80\x91"            // 【深圳市】
    "\xE5\xBF\xAB\xE4\xBB\xB6\xE5\xB7\xB2\xE5\x88\xB0\xE8\xBE\xBE "             // 快件已到达
    "\xE6\xB7\xB1\xE5\x9C\xB3\xE8\xBD\xAC\xE8\xBF\x90\xE4\xB8\xAD\xE5\xBF\x83"  // 深圳转运中心
    "\xEF\xBC\x8C\xE5\xBF\xAB\xE9\x80\x92\xE5\x91\x98 13800138000\","           // ，快递员
    "\"location\":\"\"},";

// The same entry with decomposed letters (e + U+0301, u + U+0308) that the composite check
// has to compose.
const std::string kEntryWithMarks =
    kEntry + "{\"context\":\"Cafe\xCC\x81 Mu\xCC\x88nchen \xE5\xB7\xB2\xE7\xAD\xBE\xE6\x94\xB6\"},";

void convert(benchmark::State& state, const std::string& entry) {
  const corvane::ByteSet body(mixedAnswer(static_cast<std::size_t>(state.range(0)), entry));
  for (auto _ : state) {
    corvane::Text gbk = corvane::utf8ToGbk(body);
    benchmark::DoNotOptimize(gbk);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * body.size());
}

void BM_Utf8ToGbkMixed(benchmark::State& state) { convert(state, kEntry); }
BENCHMARK(BM_Utf8ToGbkMixed)
    ->Arg(100 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMicrosecond);

void BM_Utf8ToGbkWithCombiningMarks(benchmark::State& state) { convert(state, kEntryWithMarks); }
BENCHMARK(BM_Utf8ToGbkWithCombiningMarks)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

void BM_Utf8ToGbkAscii(benchmark::State& state) {
  convert(state,
          "{\"time\":\"2024-06-01 12:30:45\",\"context\":\"arrived at the sorting centre\"},");
}
BENCHMARK(BM_Utf8ToGbkAscii)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

// A control's text on its way to and from the window toolkit.
void BM_GbkUnicodeRoundTrip(benchmark::State& state) {
  const corvane::Text gbk = corvane::utf8ToGbk(corvane::ByteSet(mixedAnswer(200, kEntry)));
  for (auto _ : state) {
    corvane::Text back = corvane::unicodeToGbk(corvane::gbkToUnicode(gbk));
    benchmark::DoNotOptimize(back);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * corvane::textLength(gbk));
}
BENCHMARK(BM_GbkUnicodeRoundTrip);

}  // namespace
