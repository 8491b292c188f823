#pragma once

#include <map>
#include <string>
#include <vector>

namespace lumidot::bench {

// The figures of one child process, by name: processor shares in percent of
// one core, times in milliseconds, memory in megabytes, counts as they are.
using Figures = std::map<std::string, double>;

// The monotonic clock shared by every process on the machine, in seconds.
double MonotonicSeconds();

// Processor time of the whole process, every thread included, in seconds.
double ProcessorSeconds();

// The process's peak resident memory so far, in megabytes.
double PeakMegabytes();

// The value below which the given share (0 to 1) of the values lie.
double Percentile(std::vector<double> values, double share);

// Writes the figures as name=value lines, the way a child hands them to
// the benchmark that started it.
void PrintFigures(const Figures& figures);

}  // namespace lumidot::bench
