#include "Connection.h"
#include "Recordset.h"
#include "SuiteError.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>

// For now the host application opens the company database and says what it holds.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dettaglio effetti"));
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Connection string of the company database."),
                                QStringLiteral("connection"));
    parser.addOption(dbOption);
    parser.process(app);
    const QString cs = parser.value(dbOption);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Dettaglio effetti"));
    auto* label = new QLabel(&window);
    label->setMargin(24);
    window.setCentralWidget(label);
    try {
        auto connection = std::make_shared<Connection>();
        connection->Open(cs);
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) AS N FROM sqlite_master WHERE type = 'table'"), connection);
        label->setText(QStringLiteral("Database: %1\nTabelle: %2").arg(cs, rs.Fields(0).Value().toString()));
    } catch (const SuiteError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Dettaglio effetti"), e.description());
        return 1;
    }
    window.resize(640, 200);
    window.show();
    return app.exec();
}
