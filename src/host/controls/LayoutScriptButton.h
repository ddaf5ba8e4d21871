#pragma once

#include "NavigatorBar.h"

// The form's layout-and-script button: "Script" asks the form to build the user's script again
// (after the user changed it in the host's script editor). It has no action of its own.
class LayoutScriptButton : public NavigatorBar {
    Q_OBJECT
public:
    explicit LayoutScriptButton(QWidget* parent = nullptr);
};
