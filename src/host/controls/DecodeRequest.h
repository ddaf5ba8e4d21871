#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class FrameControl;

// What a StartDecode handler fills in: the query that turns the code into its description, the
// controls that receive the columns of its first row (target i gets column i; the first is the
// description), and the connection string to run it on. A handler that decodes by itself sets
// `handled`, and the edit box then does nothing more.
struct DecodeRequest {
    QString query;
    QList<QPointer<FrameControl>> targets;
    QString connectionString;
    bool handled = false;
};
