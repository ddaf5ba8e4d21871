#pragma once

#include "ScenarioRunner.h"

#include <QStringList>

class QIODevice;

// The driver's command line:
//   kv_driver --db CONNSTRING [--demo] --company N --user CODE [--privileged] [SCENARIO_FILE]
// reads the scenario (standard input when no file is named), opens the module and replays the
// scenario. Observations go to `output`; the reason of a failure to `errors`.
class DriverApplication {
public:
    static int run(const QStringList& arguments, QIODevice& standardInput,
                   const ScenarioRunner::Output& output, QString* errors);
};
