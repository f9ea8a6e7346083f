// The program's own work in the two flows, on canned answers (no network): the courier list
// and the recognition answer of the button flow, and a long tracking answer shown in the real
// list view.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "app/courier_table.h"
#include "app/flow_steps.h"
#include "app/window_ops.h"
#include "text/byte_set.h"
#include "text/text_array.h"

namespace corvane {
namespace {

// The window needs a toolkit; whichever benchmark comes first starts it, without a display.
void ensureWindow() {
  if (QApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
  }
  loadWindow();
}

// A courier list of `count` companies in the service's shape, UTF-8, Chinese names.
ByteSet courierListAnswer(int count) {
  std::string js = "var jsoncom={'company':[";
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    if (i > 1) js += ',';
    js += "{'cid':'" + n + "','id':'','companyname':'华通快运" + n + "','shortname':'华通','tel':'400-100-" +
          n + "','code':'huatongkuaiyun" + n + "','comurl':'https://www.example','isavailable':'1'," +
          "'promptinfo':'','testnu':'DM" + n + "','hasvali':'0'}";
  }
  js += "],'error':'ok'};";
  return ByteSet(std::move(js));
}

// Three candidates, all near the end of the list: the matching scans nearly every row.
ByteSet recognitionAnswer(int count) {
  std::string json = "[";
  for (int i = count - 2; i <= count; ++i) {
    if (json.size() > 1) json += ',';
    json += R"({"comCode":"huatongkuaiyun)" + std::to_string(i) + R"(","id":"","noCount":1})";
  }
  return ByteSet(json + "]");
}

ByteSet trackingAnswer(int entries) {
  std::string json = R"({"message":"ok","nu":"773012345678","com":"zhongtong","data":[)";
  for (int i = 0; i < entries; ++i) {
    if (i > 0) json += ',';
    json += R"({"time":"2024-05-01 08:)" + std::to_string(10 + i % 50) +
            R"(:00","ftime":"2024-05-01","context":"【杭州市】 快件已到达【杭州市转运中心】，下一站【上海市转运中心】)" +
            std::to_string(i) + R"(","location":"杭州市"})";
  }
  return ByteSet(json + "]}");
}

// The button flow's work after each request: conversion, extraction, the table regrown row by
// row, and the candidates matched and offered.
void BM_ButtonFlowWork(benchmark::State& state) {
  ensureWindow();
  const int companies = static_cast<int>(state.range(0));
  const ByteSet list = courierListAnswer(companies);
  const ByteSet recognition = recognitionAnswer(companies);
  for (auto _ : state) {
    fillCourierTable(list);
    offerCandidates(recognition);
  }
  if (courierRowCount() != companies || currentSelection() != 0) state.SkipWithError("flow did not fill");
  state.SetBytesProcessed(state.iterations() * list.size());
  releaseCourierTable();
}
BENCHMARK(BM_ButtonFlowWork)->Arg(2'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A hostile recognition answer: tens of thousands of candidates against a long list. Each
// costs one look-up, not a scan of the table.
void BM_ManyCandidatesOffered(benchmark::State& state) {
  ensureWindow();
  fillCourierTable(courierListAnswer(100'000));
  std::string json = "[";
  for (int i = 0; i < state.range(0); ++i) json += R"({"comCode":"nosuchcourier)" + std::to_string(i) + R"("},)";
  const ByteSet recognition(json + R"({"comCode":"huatongkuaiyun100000"}])");
  for (auto _ : state) offerCandidates(recognition);
  if (currentSelection() != 0) state.SkipWithError("the one known courier was not offered");
  releaseCourierTable();
}
BENCHMARK(BM_ManyCandidatesOffered)->Arg(50'000)->Unit(benchmark::kMillisecond);

// The table regrown alone, after a longer one: the first row cuts it back, then it grows.
void BM_CourierTableRegrowth(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 1; i <= rows; ++i) {
      redimArray(CourierTable, {i, 2});
      CourierTable(i, 1) = "n";
      CourierTable(i, 2) = "c";
    }
  }
  state.SetComplexityN(rows);
  releaseCourierTable();
}
BENCHMARK(BM_CourierTableRegrowth)->Arg(25'000)->Arg(100'000)->Arg(400'000)->Unit(benchmark::kMillisecond)->Complexity();

// A tracking answer of many entries shown in the real list view, each inserted on top.
void BM_TrackingAnswerShown(benchmark::State& state) {
  ensureWindow();
  const ByteSet answer = trackingAnswer(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    showTrackingAnswer(answer);
    QApplication::processEvents();  // the rows laid out and painted, as when the handler returns
  }
  state.SetComplexityN(state.range(0));
  deleteAllRows();
}
BENCHMARK(BM_TrackingAnswerShown)
    ->Arg(10'000)
    ->Arg(40'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace corvane
