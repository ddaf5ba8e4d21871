// kv_present_slip DB KIND DATE KEY...: presents the Bills named by their keys on a new slip of
// KIND (0 Ri.Ba., 1 SEPA direct debit) dated DATE (dd/mm/yyyy), and prints the slip's key.
#include "Connection.h"
#include "ConnectionFactory.h"
#include "SchemaInstaller.h"
#include "SlipFixture.h"
#include "SuiteError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 5) {
        err << "uso: kv_present_slip DB TIPO DATA CHIAVE...\n";
        return 2;
    }
    try {
        auto connection = std::make_shared<Connection>();
        connection->setCatalogue(SchemaInstaller::catalogue());
        connection->Open(args.at(1));
        const SlipKey slip =
            presentSlip(connection, args.at(2).toInt(),
                        QDate::fromString(args.at(3), QStringLiteral("dd/MM/yyyy")), args.mid(4));
        QTextStream(stdout) << slip.kind << ',' << slip.year << ',' << slip.number << '\n';
    } catch (const SuiteError& e) {
        err << e.description() << '\n';
        return 1;
    }
    return 0;
}
