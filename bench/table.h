// The benchmarks' report as one table: the median CPU time of each
// benchmark over its repetitions, with the goals, the ratio of drawing to
// copying pixels, and an estimate of the full panel's module work.
#pragma once

#include <benchmark/benchmark.h>
#include <stdio.h>

#include <map>
#include <string>
#include <vector>

namespace kestrel::bench {

// What the estimate of the full panel assumes: every gauge built, about 250
// text elements of which some 170 are captions.
constexpr int FULL_PANEL_GAUGES = 31;
constexpr int FULL_PANEL_TEXTS = 250;
// The goals: module work and drawing of one frame of the whole panel.
constexpr double MODULE_WORK_GOAL = 30e-6;
constexpr double DRAWING_GOAL = 2e-3;

class TableReporter : public benchmark::BenchmarkReporter {
public:
    // `total`: how many benchmarks will run, for the progress line on stderr.
    TableReporter(FILE* out, size_t total) : out_(out), total_(total) {}
    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    struct Result {
        double seconds = 0;  // median CPU time of one iteration
        int repetitions = 0;
        std::map<std::string, double> counters;
        std::string label;
        std::string error;
    };

private:
    const Result* find(const std::string& name) const;

    FILE* out_;
    size_t total_;
    size_t done_ = 0;
    int cpus_ = 0;
    std::vector<std::string> order_;  // benchmark names as they ran
    std::map<std::string, Result> results_;
};

}  // namespace kestrel::bench
