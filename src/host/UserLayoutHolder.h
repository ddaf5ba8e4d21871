#pragma once

#include "LayoutScriptHolder.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class Connection;

// Layouts kept per user in the company database: the column widths and order of the form's
// grids, saved when the form goes and given back when it opens. Scripts need the suite's script
// engine, which this host has not: no script is ever built, so the form's events reach none.
class UserLayoutHolder : public LayoutScriptHolder {
public:
    UserLayoutHolder(std::shared_ptr<Connection> connection, QString user, QString program);

    void AddStructure(const QString& name, QWidget* widget) override;
    std::shared_ptr<LayoutObject> CurrentLayout() const override { return layout_; }
    void ClearLayout() override { layout_.reset(); }
    void ApplyLayout() override;
    std::shared_ptr<ScriptObject> CurrentScript() const override { return nullptr; }
    void ClearScript() override {}
    void BuildScript() override {}

    void SaveLayout() override;

private:
    struct Structure {
        QString name;
        QPointer<QWidget> widget;
    };
    std::shared_ptr<Connection> connection_;
    QString user_;
    QString program_;
    QList<Structure> structures_;
    std::shared_ptr<LayoutObject> layout_;
};
