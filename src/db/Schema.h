#pragma once

#include "ProgramRights.h"
#include "SchemaCatalogue.h"

#include <QList>
#include <memory>

// The one definition of the company database: every table and view, by subsystem. The DDL of
// each engine (SchemaInstaller) and the data layer's catalogue both come from here.
namespace Schema {

// Raised whenever a table, column or rule of the database changes; the installer records it in
// KV00_VERSIONE. 2: users' scripts (KV09_SCRIPT). 3: sign-in, rights and their audit (KV10, KV11,
// KV12). 4: layouts and scripts kept to their owners by the database; the sign-in's counting.
// 5: the slips (EF09_DISTINTE) written by who may change Bills; the company's data for the
// banks' files and the SEPA mandates (KV20, KV21); the slips' outcomes (KV22, KV23, KV24).
// 6: the bank of each slip (KV25); the movements indexed by their slip (IX_EF06_DISTINTA).
constexpr int kVersion = 6;
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

// A table whose rows belong to a user: the column with the user's code, and the action its
// audit rows name when a privileged user writes someone else's row.
struct PersonalTable {
    QString table;
    QString ownerColumn;
    QString auditAction;
};
// Layouts and scripts: each user writes only their own (the database checks it row by row).
QList<PersonalTable> personalTables();

// What a signed-in user may do with a table (or view) follows from its class.
TableClass accessClass(const QString& table);
// Every table and view with its class, for the server's GRANTs.
QList<std::pair<QString, TableClass>> accessClasses();
// The program whose rights the Bills follow: the bill module's program id.
QString billProgram();

// The catalogue of all(); built once, shared.
std::shared_ptr<const SchemaCatalogue> catalogue();

}  // namespace Schema
