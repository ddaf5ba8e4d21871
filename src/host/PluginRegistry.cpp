#include "PluginRegistry.h"

#include "Cinterface.h"
#include "SuiteError.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>
#include <QSaveFile>

namespace {
const QString kPluginRegistrySource = QStringLiteral("PluginRegistry");
constexpr qint32 kClassNotRegistered = qint32(0x80040154);  // the suite's "class not registered"
using Factory = Cinterface* (*)(const char*);
}  // namespace

PluginRegistry::PluginRegistry(QString registryFile) : file_(std::move(registryFile)) {
    load();
}

void PluginRegistry::load() {
    QFile f(file_);
    if (!f.open(QIODevice::ReadOnly)) return;
    const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
    for (auto it = o.begin(); it != o.end(); ++it) entries_.insert(it.key().toUpper(), it.value().toString());
}

void PluginRegistry::save() const {
    QJsonObject o;
    for (auto it = entries_.begin(); it != entries_.end(); ++it) o.insert(it.key(), it.value());
    QSaveFile f(file_);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(o).toJson()) < 0 || !f.commit())
        throw SuiteError(
            SuiteError::kOperationNotAllowed, kPluginRegistrySource,
            QStringLiteral("Impossibile scrivere il registro dei moduli %1: %2").arg(file_, f.errorString()));
}

void PluginRegistry::Register(const QString& progId, const QString& libraryPath) {
    entries_.insert(progId.toUpper(), libraryPath);
    save();
}

void PluginRegistry::Unregister(const QString& progId) {
    entries_.remove(progId.toUpper());
    save();
}

bool PluginRegistry::IsRegistered(const QString& progId) const {
    return entries_.contains(progId.toUpper());
}

QString PluginRegistry::LibraryOf(const QString& progId) const {
    return entries_.value(progId.toUpper());
}

std::unique_ptr<Cinterface> PluginRegistry::CreateObject(const QString& progId) const {
    const QString path = LibraryOf(progId);
    if (path.isEmpty())
        throw SuiteError(kClassNotRegistered, kPluginRegistrySource,
                         QStringLiteral("Modulo %1 non registrato.").arg(progId));
    QLibrary library(path);
    auto factory = reinterpret_cast<Factory>(library.resolve("KvCreateObject"));
    if (!factory)
        throw SuiteError(
            kClassNotRegistered, kPluginRegistrySource,
            QStringLiteral("Impossibile caricare il modulo %1: %2").arg(progId, library.errorString()));
    // The library stays loaded: the module's code runs from it until the process ends.
    std::unique_ptr<Cinterface> module(factory(progId.toUpper().toLatin1().constData()));
    if (!module)
        throw SuiteError(kClassNotRegistered, kPluginRegistrySource,
                         QStringLiteral("La libreria %1 non contiene il modulo %2.").arg(path, progId));
    return module;
}
