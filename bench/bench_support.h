// Shared by the benchmarks: a data folder, file helpers and the table of
// figures that the summary turns into ratios.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace pivolane::bench {

namespace fs = std::filesystem;

// A folder for benchmark data beside the build, emptied at start.
const fs::path& DataFolder();
// A file of size bytes of varied content.
void WriteDataFile(const fs::path& path, std::uint64_t size);
// Seconds taken by a shell command (run through /bin/sh).
double TimeCommand(const std::string& command);

// Figures recorded by the benchmarks, printed by the summary.
std::map<std::string, double>& Figures();

}  // namespace pivolane::bench
