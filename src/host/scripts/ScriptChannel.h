#pragma once

#include "ScriptProtocol.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>

// The script engine's side of the talk with the form's process: standard input and output, one
// message a line.
class ScriptChannel {
public:
    ScriptChannel() {
        in_.open(stdin, QIODevice::ReadOnly);
        out_.open(stdout, QIODevice::WriteOnly);
    }
    void send(const QJsonObject& message) {
        out_.write(ScriptProtocol::line(message));
        out_.flush();
    }
    // The next message; the form's process gone, the engine ends.
    QJsonObject receive() {
        const QByteArray line = in_.readLine();
        if (line.isEmpty()) std::exit(0);
        return ScriptProtocol::parse(line);
    }
    QJsonObject ask(const QJsonObject& question) {
        send(question);
        return receive();
    }

private:
    QFile in_;
    QFile out_;
};
