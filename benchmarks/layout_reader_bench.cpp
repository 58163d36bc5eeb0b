// Reading layout files of about 100 KB, 1 MB and 10 MB. Time per byte must stay flat as the
// size grows (compare the bytes_per_second of the three sizes of each shape).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/BvrProperties.h"

namespace {

const std::string kHeader = "object BVRPropertiesParams: TBvrProperties\r\n";

// As saving writes them: creditor lines of about 64 KB each, with accents and apostrophes,
// cut into 64-character lines joined by " +".
std::string SavedLongStrings(std::size_t bytes) {
  std::string line;
  while (line.size() < 65536) {
    line += "Rue du March\xC3\xA9 d'Orbe 10, 1200 Gen\xC3\xA8ve ";
  }
  std::vector<std::string> lines;
  std::size_t total = 0;
  while (total < bytes) {
    lines.push_back(line);
    total += line.size() * 3 / 2;  // the escapes and line breaks make the text longer
  }
  bvr::TBvrProperties p;
  p.Name = "BVRPropertiesParams";
  p.PaymentFor().Receipt().SetText(lines);
  return p.SaveToText();
}

// One quoted run on a single line, as a hand-edited file may hold it (raw Windows-1252).
std::string OneLongLine(std::size_t bytes) {
  std::string text = kHeader + "  Account.number = '";
  while (text.size() < bytes) {
    text += "Rue du March\xE9 10, 1200 Gen\xE8ve ";
  }
  return text + "'\r\nend\r\n";
}

// Very many short property lines.
std::string ManyLines(std::size_t bytes) {
  std::string text = kHeader;
  for (int i = 0; text.size() < bytes; ++i) {
    text += "  PaymentFor.Receipt.Left = " + std::to_string(i) + "\r\n";
    text += "  Amount.Processing.Font.Color = clWindowText\r\n";
  }
  return text + "end\r\n";
}

// Very many short lines of one string list.
std::string ManyListLines(std::size_t bytes) {
  std::string text = kHeader + "  PaymentFor.Receipt.Text.Strings = (";
  for (int i = 0; text.size() < bytes; ++i) {
    text += "\r\n    'Line " + std::to_string(i) + " d'#39'Orbe'";
  }
  return text + ")\r\nend\r\n";
}

template <std::string (*Make)(std::size_t)>
void BM_Read(benchmark::State& state) {
  const std::string text = Make(static_cast<std::size_t>(state.range(0)));
  bvr::TBvrProperties p;
  p.Name = "BVRPropertiesParams";
  for (auto _ : state) {
    p.LoadFromText(text);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["file_bytes"] = static_cast<double>(text.size());
}

template <std::string (*Make)(std::size_t)>
void BM_Write(benchmark::State& state) {
  bvr::TBvrProperties p;
  p.Name = "BVRPropertiesParams";
  p.LoadFromText(Make(static_cast<std::size_t>(state.range(0))));
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string text = p.SaveToText();
    size = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

constexpr std::int64_t k100K = 100 << 10;
constexpr std::int64_t k1M = 1 << 20;
constexpr std::int64_t k10M = 10 << 20;

#define BVR_SIZES Arg(k100K)->Arg(k1M)->Arg(k10M)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_Read<SavedLongStrings>)->BVR_SIZES;
BENCHMARK(BM_Read<OneLongLine>)->BVR_SIZES;
BENCHMARK(BM_Read<ManyLines>)->BVR_SIZES;
BENCHMARK(BM_Read<ManyListLines>)->BVR_SIZES;
BENCHMARK(BM_Write<SavedLongStrings>)->BVR_SIZES;
BENCHMARK(BM_Write<ManyListLines>)->BVR_SIZES;

}  // namespace
