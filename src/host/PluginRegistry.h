#pragma once

#include <QHash>
#include <QString>
#include <memory>

class Cinterface;

// Where the host finds its modules: program id -> shared library, kept in a small JSON file,
// the way the suite's components are registered on a workstation. A module library exports
//   extern "C" Cinterface* KvCreateObject(const char* progId)
// answering a new module for a program id it implements, nullptr otherwise.
class PluginRegistry {
public:
    explicit PluginRegistry(QString registryFile);

    void Register(const QString& progId, const QString& libraryPath);
    void Unregister(const QString& progId);
    bool IsRegistered(const QString& progId) const;
    QString LibraryOf(const QString& progId) const;

    // A new module; throws SuiteError naming the program id when it is not registered, its
    // library does not load or does not implement it.
    std::unique_ptr<Cinterface> CreateObject(const QString& progId) const;

private:
    void load();
    void save() const;

    QString file_;
    QHash<QString, QString> entries_;
};
