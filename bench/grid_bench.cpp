// The grid model at a million rows of three columns (text, number, check
// box), each operation timed next to a plain-container baseline doing the
// same work. After the runs a table gives every ratio against its target.
//
//   grid_bench                      all benchmarks, then the ratio table
//   grid_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/grid/grid_model.h"
#include "base/value_codec.h"

namespace kelvane {
namespace {

constexpr std::int32_t kRows = 1'000'000;
constexpr std::int32_t kTextCol = 0;
constexpr std::int32_t kNumberCol = 1;
constexpr std::int32_t kCheckCol = 2;

struct Rows {
  std::vector<std::string> lines;  // the three texts joined by TAB
  std::vector<std::string> texts;
  std::vector<std::string> numbers;
  std::vector<bool> checked;
};

const Rows& TestRows() {
  static const Rows rows = [] {
    Rows r;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> length(4, 14), letter('a', 'z'), number(0, 9'999'999), coin(0, 1);
    for (std::int32_t i = 0; i < kRows; ++i) {
      std::string text(static_cast<std::size_t>(length(random)), ' ');
      for (char& c : text) c = static_cast<char>(letter(random));
      std::string value = std::to_string(number(random) / 100.0);
      const bool on = coin(random) == 1;
      r.lines.push_back(text + '\t' + value + '\t' + (on ? "1" : "0"));
      r.texts.push_back(std::move(text));
      r.numbers.push_back(std::move(value));
      r.checked.push_back(on);
    }
    return r;
  }();
  return rows;
}

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

std::unique_ptr<GridModel> BuildGrid() {
  auto grid = std::make_unique<GridModel>();
  grid->SetRedraw(false);
  grid->AddColumn("Name", 120, 4, ColumnType::Text);
  grid->AddColumn("Size", 80, 6, ColumnType::Number);
  grid->AddColumn("On", 40, 5, ColumnType::CheckBox);
  for (const std::string& line : TestRows().lines) grid->AddItem(line);
  return grid;
}

// One grid for the sorts (its display order changes) and one left in the
// order the rows were added, for searching.
GridModel& SortGrid() {
  static const std::unique_ptr<GridModel> grid = [] {
    auto g = BuildGrid();
    for (std::int32_t row = 0; row < kRows; ++row) {
      if (TestRows().checked[static_cast<std::size_t>(row)]) g->SetCellChecked(row, kCheckCol, true);
    }
    return g;
  }();
  return *grid;
}

const GridModel& SearchGrid() {
  static const std::unique_ptr<GridModel> grid = BuildGrid();
  return *grid;
}

void SetBytesPerRow(benchmark::State& state, std::size_t before, std::size_t after) {
  state.counters["bytes_per_row"] = static_cast<double>(after - before) / kRows;
}

void BM_GridAddItem(benchmark::State& state) {
  TestRows();
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    auto grid = BuildGrid();
    benchmark::DoNotOptimize(grid->ItemCount());
    state.PauseTiming();
    SetBytesPerRow(state, before, HeapInUse());
    grid.reset();
    state.ResumeTiming();
  }
}

void BM_BaselineVectorAppend(benchmark::State& state) {
  const Rows& rows = TestRows();
  const std::string check[] = {"0", "1"};
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    auto cells = std::make_unique<std::vector<std::string>>();
    for (std::size_t i = 0; i < rows.texts.size(); ++i) {
      cells->push_back(rows.texts[i]);
      cells->push_back(rows.numbers[i]);
      cells->push_back(check[rows.checked[i]]);
    }
    benchmark::DoNotOptimize(cells->data());
    state.PauseTiming();
    SetBytesPerRow(state, before, HeapInUse());
    cells.reset();
    state.ResumeTiming();
  }
}

// Each timed sort starts from the order another column's sort left behind.
void SortGridBy(benchmark::State& state, std::int32_t col, std::int32_t scrambleCol) {
  GridModel& grid = SortGrid();
  for (auto _ : state) {
    state.PauseTiming();
    grid.ColSort(scrambleCol, true);
    state.ResumeTiming();
    grid.ColSort(col, true);
  }
}

template <class Key, class Sort>
void SortCopies(benchmark::State& state, const std::vector<Key>& keys, Sort sort) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Key> copy = keys;
    state.ResumeTiming();
    sort(copy);
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_GridSortText(benchmark::State& state) { SortGridBy(state, kTextCol, kNumberCol); }

void BM_BaselineStdSortStrings(benchmark::State& state) {
  SortCopies(state, TestRows().texts, [](auto& v) { std::sort(v.begin(), v.end()); });
}

void BM_GridSortNumber(benchmark::State& state) { SortGridBy(state, kNumberCol, kTextCol); }

void BM_BaselineStableSortNumbers(benchmark::State& state) {
  std::vector<double> keys;
  for (const std::string& number : TestRows().numbers) keys.push_back(LeadingNumber(number));
  SortCopies(state, keys, [](auto& v) { std::stable_sort(v.begin(), v.end()); });
}

void BM_GridSortCheckBox(benchmark::State& state) { SortGridBy(state, kCheckCol, kTextCol); }

void BM_BaselineStableSortFlags(benchmark::State& state) {
  const std::vector<std::uint8_t> keys(TestRows().checked.begin(), TestRows().checked.end());
  SortCopies(state, keys, [](auto& v) { std::stable_sort(v.begin(), v.end(), std::greater<>()); });
}

// A text no row holds, so every search walks the whole column.
constexpr const char* kAbsent = "no-such-name";

void BM_GridFindItem(benchmark::State& state) {
  const GridModel& grid = SearchGrid();
  for (auto _ : state) benchmark::DoNotOptimize(grid.FindItem(kAbsent, kTextCol, SearchMode::Equal, true));
}

void BM_BaselineFindLoop(benchmark::State& state) {
  const std::vector<std::string>& texts = TestRows().texts;
  const std::string wanted = kAbsent;
  for (auto _ : state) {
    std::int32_t found = kNoIndex;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (texts[i] == wanted) {
        found = static_cast<std::int32_t>(i);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}

// For information, no target: after a sort the display order visits the
// cells out of storage order, so the scan is bound by memory latency.
void BM_GridFindItemAfterSort(benchmark::State& state) {
  GridModel& grid = SortGrid();
  grid.ColSort(kNumberCol, true);
  for (auto _ : state) benchmark::DoNotOptimize(grid.FindItem(kAbsent, kTextCol, SearchMode::Equal, true));
}

void BM_GridFindItemIgnoringCase(benchmark::State& state) {
  const GridModel& grid = SearchGrid();
  for (auto _ : state) benchmark::DoNotOptimize(grid.FindItem(kAbsent, kTextCol, SearchMode::Equal, false));
}

void BM_BaselineFindLoopIgnoringCase(benchmark::State& state) {
  const std::vector<std::string>& texts = TestRows().texts;
  for (auto _ : state) {
    std::int32_t found = kNoIndex;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (EqualsIgnoreCase(texts[i], kAbsent)) {
        found = static_cast<std::int32_t>(i);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}

BENCHMARK(BM_GridAddItem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineVectorAppend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineStdSortStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineStableSortNumbers)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortCheckBox)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineStableSortFlags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFindItem)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineFindLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFindItemAfterSort)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFindItemIgnoringCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineFindLoopIgnoringCase)->Unit(benchmark::kMillisecond);

// Prints the console report and keeps each run's time per iteration (the
// mean when repeated) for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Iteration && !times_.contains(name + "/mean")) {
        times_[name] = run.GetAdjustedRealTime();
      } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
        times_[name] = run.GetAdjustedRealTime();
        times_[name + "/mean"] = 1;
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const struct {
      const char* grid;
      const char* baseline;
      double target;
    } pairs[] = {
        {"BM_GridAddItem", "BM_BaselineVectorAppend", 3},
        {"BM_GridSortText", "BM_BaselineStdSortStrings", 3},
        {"BM_GridSortNumber", "BM_BaselineStableSortNumbers", 3},
        {"BM_GridSortCheckBox", "BM_BaselineStableSortFlags", 3},
        {"BM_GridFindItem", "BM_BaselineFindLoop", 2},
        {"BM_GridFindItemIgnoringCase", "BM_BaselineFindLoopIgnoringCase", 2},
    };
    std::printf("\n%-30s %-34s %7s %7s\n", "grid", "baseline", "ratio", "target");
    for (const auto& pair : pairs) {
      if (!times_.contains(pair.grid) || !times_.contains(pair.baseline)) continue;
      const double ratio = times_[pair.grid] / times_[pair.baseline];
      std::printf("%-30s %-34s %7.2f %6.0fx %s\n", pair.grid, pair.baseline, ratio, pair.target,
                  ratio <= pair.target ? "ok" : "MISSED");
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace
}  // namespace kelvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kelvane::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
