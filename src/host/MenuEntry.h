#pragma once

#include <QString>
#include <QVariant>

// A program's entry in the host's menu.
struct MenuEntry {
    bool enabled = false;
    bool visible = false;
    QString progId;
    QVariant menuModulo;
    QVariant menuPadre;
    QString caption;
};
