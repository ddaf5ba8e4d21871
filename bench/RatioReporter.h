#pragma once

#include <benchmark/benchmark.h>

#include <QMap>
#include <QString>

// Prints the runs as the console does and keeps each benchmark's time by name (the name without
// its "/iterations..." tail): the "min" of its repetitions when it has them (the run least
// disturbed by whatever else the machine was doing), else its only run. The processor time of
// the benchmark's thread is kept beside it: other programs' load disturbs it far less.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            const QString name =
                QString::fromStdString(r.run_name.str()).section(QStringLiteral("/iterations"), 0, 0);
            if ((r.run_type == Run::RT_Aggregate && r.aggregate_name == "min") ||
                (r.run_type == Run::RT_Iteration && !times.contains(name))) {
                times[name] = r.GetAdjustedRealTime();
                cpuTimes[name] = r.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    QMap<QString, double> times;
    QMap<QString, double> cpuTimes;
};
