#pragma once
// The main of every benchmark program: Google Benchmark's own, with the transfer library started
// before any benchmark starts a thread.
#include <benchmark/benchmark.h>

#include "retrieval/TransferLibrary.h"

#define TELVIX_BENCHMARK_MAIN()                                     \
    int main(int argc, char** argv) {                               \
        TransferLibraryScope transfers;                             \
        ::benchmark::Initialize(&argc, argv);                       \
        if (::benchmark::ReportUnrecognizedArguments(argc, argv)) { \
            return 1;                                               \
        }                                                           \
        ::benchmark::RunSpecifiedBenchmarks();                      \
        ::benchmark::Shutdown();                                    \
        return 0;                                                   \
    }                                                               \
    int main(int, char**)
