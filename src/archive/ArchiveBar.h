#pragma once

#include "NavigatorBar.h"

// The buttons of an archive's maintenance window: new, save, delete, choose (when the program
// hands a value back) and close. The window acts on ButtonClick.
class ArchiveBar : public NavigatorBar {
    Q_OBJECT
public:
    ArchiveBar(bool choosing, QWidget* parent = nullptr);
};
