#pragma once

#include "NavigatorBar.h"

// The bar under a grid or a child form: "Nuovo", "Apri", "Elimina", "Conferma". With a frame,
// "Nuovo" starts a new row, "Elimina" deletes the current one and "Conferma" takes up the
// current row without writing it ("Apri" is the form's own).
class GridNavigator : public NavigatorBar {
    Q_OBJECT
public:
    explicit GridNavigator(QWidget* parent = nullptr);

protected:
    bool perform(const QString& key) override;
};
