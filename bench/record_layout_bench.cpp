// Cost of writing records through cached layouts and of the field routines of the line writer.
#include <benchmark/benchmark.h>

#include <string>

#include "io/record_layout.h"

namespace {

using tavro::LayoutValue;

void BM_TextAndIntegers(benchmark::State& state) {
  std::string out;
  const LayoutValue values[] = {LayoutValue(100), LayoutValue(17)};
  for (auto _ : state) {
    out.clear();
    tavro::formatRecords(out,
                         "(/,/,5X,'** WARNING **  ','NO CLOSURE OF A LLP AFTER ',I5,2X,"
                         "'ITERATIONS',10X,'PILE GROUP',I5)",
                         values);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_TextAndIntegers);

void BM_RowOfReals(benchmark::State& state) {
  std::string out;
  const LayoutValue values[] = {LayoutValue(3),       LayoutValue(1.25e-4),  LayoutValue(-3.5),
                                LayoutValue(12345.6), LayoutValue(0.0),      LayoutValue(7.0e8),
                                LayoutValue(-0.015),  LayoutValue(2.0 / 3.0)};
  for (auto _ : state) {
    out.clear();
    tavro::formatRecords(out, "(5X,I5,2X,1P,7(G18.8,3X))", values);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_RowOfReals);

void BM_AppendFixed(benchmark::State& state) {
  std::string out;
  double v = 12.5;
  for (auto _ : state) {
    out.clear();
    tavro::appendFixed(out, 13, 4, v);
    v += 0.001;
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendFixed);

void BM_AppendExponent(benchmark::State& state) {
  std::string out;
  double v = 4.0e-3;
  for (auto _ : state) {
    out.clear();
    tavro::appendExponent(out, 13, 5, 1, v);
    v = v > 1e6 ? 4.0e-3 : v * 1.001;
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendExponent);

void BM_AppendGeneral(benchmark::State& state) {
  std::string out;
  double v = 0.5;
  for (auto _ : state) {
    out.clear();
    tavro::appendGeneral(out, 18, 8, 1, v);
    v *= 1.01;
    if (v > 1e12) v = 1e-6;
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendGeneral);

void BM_AppendInteger(benchmark::State& state) {
  std::string out;
  long long v = 0;
  for (auto _ : state) {
    out.clear();
    tavro::appendInteger(out, 5, 0, v++);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_AppendInteger);

}  // namespace

BENCHMARK_MAIN();
