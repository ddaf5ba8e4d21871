#pragma once

#include <benchmark/benchmark.h>

#include <QMap>
#include <QString>

// Prints the runs as the console does and keeps each benchmark's time by name (the name without
// its "/iterations..." tail): the "min" of its repetitions when it has them (the run least
// disturbed by whatever else the machine was doing), else its only run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            const QString name =
                QString::fromStdString(r.run_name.str()).section(QStringLiteral("/iterations"), 0, 0);
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "min")
                times[name] = r.GetAdjustedRealTime();
            else if (r.run_type == Run::RT_Iteration && !times.contains(name))
                times[name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    QMap<QString, double> times;
};
