#pragma once

#include "DemoGenerator.h"
#include "SchemaInstaller.h"
#include "ScratchDatabase.h"

// A benchmark's scratch database with the schema and the demo company.
inline void fillWithDemo(const ScratchDatabase& db, const DemoGenerator::Options& options) {
    db.connection()->setCatalogue(SchemaInstaller::catalogue());
    SchemaInstaller(db.connection()).install();
    DemoGenerator(db.connection(), options).run();
}
