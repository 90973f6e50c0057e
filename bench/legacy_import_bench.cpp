// How long `sorakado-ledger import` takes on a twenty-year old ledger of 36,000 entries, and
// where the time goes: reading the Access file through mdbtools, writing the rows into a new
// encrypted ledger, and the whole import (read, write, read-back check, rename).
//
//   sorakado_legacy_import_bench [--entries=36000] [--data=DIR] [benchmark flags]
//
// The Access file is generated into DIR (build/bench-data by default) on first use and reused.

#include "legacy_jet_file.h"

#include "ledgertool/import_plan.h"
#include "ledgertool/legacy_import.h"
#include "ledgertool/legacy_reader.h"
#include "store/ledger.h"
#include "store/ledger_import_writer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace sorakado;

void readBench(benchmark::State& state, fs::path file) {
    std::size_t entries = 0;
    for (auto _ : state) {
        auto legacy = legacy::readLegacyFile(file);
        entries = legacy.entries.rows.size();
        benchmark::DoNotOptimize(legacy);
    }
    state.counters["entries"] = double(entries);
}

void writeBench(benchmark::State& state, fs::path file, fs::path work) {
    const LedgerRows rows = legacy::planImport(legacy::readLegacyFile(file)).rows;
    const fs::path target = work / "write.mdb";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(target);
        Ledger::create(target);
        state.ResumeTiming();
        Ledger ledger = Ledger::open(target);
        writeLedgerRows(ledger, rows);
    }
    fs::remove(target);
    state.counters["rows"] =
        double(rows.members.size() + rows.incomes.size() + rows.categories.size() + rows.entries.size());
}

void importBench(benchmark::State& state, fs::path file, fs::path work) {
    const fs::path target = work / "import.mdb";
    bool complete = false;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
        complete = legacy::importLegacyLedger(file, target).complete();
    }
    fs::remove(target);
    state.counters["complete"] = complete ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    std::int64_t entries = 36000;
    fs::path data = SORAKADO_BENCH_DATA;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--entries=", 10) == 0)
            entries = std::stoll(argv[i] + 10);
        else if (std::strncmp(argv[i], "--data=", 7) == 0)
            data = argv[i] + 7;
        else
            rest.push_back(argv[i]);
    }
    fs::path file =
        bench::bigLegacyLedger(fs::path(SORAKADO_LEGACY_FIXTURES) / "small-currency.mdb", data, entries);
    fs::path work = data / "legacy-import-work";
    fs::create_directories(work);

    const std::string n = std::to_string(entries);
    auto aggregate = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
    };
    aggregate(benchmark::RegisterBenchmark(("readAccessFile/" + n).c_str(), readBench, file));
    aggregate(benchmark::RegisterBenchmark(("writeLedger/" + n).c_str(), writeBench, file, work));
    aggregate(benchmark::RegisterBenchmark(("import/" + n).c_str(), importBench, file, work));

    int count = int(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(work);
    return 0;
}
