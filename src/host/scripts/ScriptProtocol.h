#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>

// How the form's process and the script engine's process talk: one JSON object a line, each way.
//   form → engine: {"load": TEXT, "form": NAME}, {"event": "tsOpen"|"tsClose", "arguments": [...]}
//   engine → form while it runs: {"field": NAME} (answered {"value": TEXT} or {"unknown": true}),
//                                {"message": TEXT} (answered {"shown": true})
//   engine → form at the end:    {"done": true, "result": VALUE} or {"error": TEXT, "line": N}
namespace ScriptProtocol {

inline QByteArray line(const QJsonObject& message) {
    return QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
}

inline QJsonObject parse(const QByteArray& line) {
    return QJsonDocument::fromJson(line).object();
}

// What the engine's process may take: past these it fails on its own, and the form's process
// kills it at the time limit whatever it does.
constexpr qint64 kMemoryBytes = qint64(256) << 20;  // address space; the engine alone takes about 75 MB
constexpr int kCpuSeconds = 30;                     // in all, if the form's process is gone

}  // namespace ScriptProtocol
