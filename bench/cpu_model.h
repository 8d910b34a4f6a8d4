#pragma once
// The processor a benchmark ran on. Ratios between drawing methods change
// with it (Qt picks its fill and blend routines per processor), so every
// result is printed with it.
#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace dorvane::bench {

inline std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("model name", 0) != 0) continue;
    const auto colon = line.find(':');
    if (colon == std::string::npos) break;
    const auto start = line.find_first_not_of(" \t", colon + 1);
    return start == std::string::npos ? std::string() : line.substr(start);
  }
  return "unknown";
}

// Adds "cpu_model" to the context every report starts with.
inline void RecordCpuModel() {
  benchmark::AddCustomContext("cpu_model", CpuModel());
}

}  // namespace dorvane::bench
