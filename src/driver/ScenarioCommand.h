#pragma once

#include <QString>
#include <QStringList>

// One line of a scenario: the command word, its arguments with quotes removed, and where it
// came from, so that an error can name the line.
struct ScenarioCommand {
    int line = 0;
    QString text;
    QString name;
    QStringList args;
};
