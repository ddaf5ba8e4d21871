#pragma once

#include "ProgramRights.h"
#include "SchemaCatalogue.h"

#include <QList>
#include <memory>

// The one definition of the company database: every table and view, by subsystem. The DDL of
// each engine (SchemaInstaller) and the data layer's catalogue both come from here.
namespace Schema {

// Raised whenever a table or column changes; the installer records it in KV00_VERSIONE.
// 2: users' scripts (KV09_SCRIPT). 3: sign-in, rights and their audit (KV10, KV11, KV12).
constexpr int kVersion = 3;
// The row of KV00_VERSIONE that holds this module's schema version.
inline constexpr const char* kComponent = "EFFETTI";

// The Bills, their document register and their child records (read and written by the forms).
QList<TableDef> bills();
// The suite's archives the forms read: counterparts, accounts, banks, currencies, codes.
QList<TableDef> archives();
// The host's own tables: company parameters, numbering, attachments, messages, layouts, users.
QList<TableDef> host();
// The views the forms join (built on the archives); created after the tables.
QList<TableDef> views();

// Everything, tables first, then views.
QList<TableDef> all();

// What a signed-in user may do with a table (or view) follows from its class.
TableClass accessClass(const QString& table);
// Every table and view with its class, for the server's GRANTs.
QList<std::pair<QString, TableClass>> accessClasses();
// The program whose rights the Bills follow: the bill module's program id.
QString billProgram();

// The catalogue of all(); built once, shared.
std::shared_ptr<const SchemaCatalogue> catalogue();

}  // namespace Schema
