// kavro_micro_bench: Google Benchmark over the runtime of one screen backend, started as the
// game starts it. Takes Google Benchmark's own options (--benchmark_filter=...).
#include <benchmark/benchmark.h>

#include "bench/micro/micro_runtime.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    if (!Micro_Start()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Micro_End();
}
