#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

class CheckBox;
class ComboBox;
class Connection;
class DateBox;
class EditBox;
class Grid;
class IdEditBox;
class LogService;
class MainNavigator;
class NumericBox;
class QLabel;
class Recordset;
class TabControl;
class VirtualFrame;

// A small form of the real controls over TS01_ITEMS, laid out as the module's forms are: a frame
// with its main navigator, a tab of fields (text with a key-button menu, amount, date, flag,
// combo, code with lookup and decode) and a tab with the grid, whose double click opens a
// modal child form. LBL_EVENTS lists the events the form received, for the scenario to read.
class DriverTestForm : public QWidget {
public:
    DriverTestForm(std::shared_ptr<Connection> connection, const QString& connectionString,
                   std::shared_ptr<LogService> log);
    ~DriverTestForm() override;

    static void createTables(Connection& connection);

private:
    void record(const QString& event);
    void openChild();

    std::shared_ptr<Recordset> rs_;
    VirtualFrame* frame_;
    EditBox* name_;
    Grid* grid_;
    QLabel* events_;
    QStringList eventList_;
};
