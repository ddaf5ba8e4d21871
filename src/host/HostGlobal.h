#pragma once

#include "CompanyContext.h"
#include "MenuEntry.h"

#include <QIcon>
#include <QString>
#include <QVariantList>
#include <memory>

class AttachmentStore;
class CurrencyConverter;
class LayoutScriptHolder;
class HistoryWriter;
class NumberingService;
class LogService;
class Cinterface;
class Connection;

// The host's global object: who is working on which company and database, the message
// catalogue, the main window's icons, the menu, the active module and the program launcher.
class HostGlobal {
public:
    virtual ~HostGlobal() = default;

    virtual void SetActiveModule(Cinterface* module) = 0;
    virtual Cinterface* ActiveModule() const = 0;
    virtual const ::CompanyContext& CompanyContext() const = 0;
    virtual const LoggedUser& User() const = 0;
    // The company database's connection string.
    virtual QString DatabaseSettings() const = 0;
    // A new connection of the signed-in user to the company database, with its catalogue.
    virtual std::shared_ptr<Connection> OpenConnection() const = 0;
    // Text `number` of the message catalogue in the user's language, %1... filled from `parameters`.
    virtual QString GetMessage(int number, const QVariantList& parameters = {}) const = 0;
    // The main window's image list: "KProgramma" and "KProgrammaMM".
    virtual QIcon MainWindowIcon(const QString& key) const = 0;
    virtual void RegisterMenuEntry(const MenuEntry& entry) = 0;
    // Runs a sibling program by its program id; false when it cannot be started. `handedBack`
    // (when given) receives the value the program sent back, Null when it sent none.
    virtual bool RunProgram(const QString& progId, const QVariantList& parameters = {},
                            QVariant* handedBack = nullptr) = 0;
    // A new attachment store (the suite's attachment object).
    virtual std::unique_ptr<AttachmentStore> CreateAttachmentStore() const = 0;
    // The message service a form creates at load: message boxes for a person, a scripted one
    // under the automation driver and in tests.
    virtual std::shared_ptr<LogService> CreateLogService() const = 0;
    // A new numbering object, and the history writer of a form.
    virtual std::unique_ptr<NumberingService> CreateNumberingService() const = 0;
    virtual std::unique_ptr<HistoryWriter> CreateHistoryWriter() const = 0;
    // The currency conversion component a form holds while it lives.
    virtual std::unique_ptr<CurrencyConverter> CreateCurrencyConverter() const = 0;
    // The user's layout and script of the active program.
    virtual LayoutScriptHolder& LayoutAndScript() = 0;
};
