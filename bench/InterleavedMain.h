#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

// A benchmark's main that runs the repetitions of all its benchmarks in random turns rather than
// each benchmark's in a row, so that a machine whose speed drifts from minute to minute weighs on
// a floor as on what is measured against it. Given on the command line, the flag still decides.
inline int interleavedBenchmarkMain(int argc, char** argv)
{
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    const char* const flag = "--benchmark_enable_random_interleaving";
    bool given = false;
    for (const char* arg : args)
        given = given || std::strncmp(arg, flag, std::strlen(flag)) == 0;
    if (!given)
        args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
