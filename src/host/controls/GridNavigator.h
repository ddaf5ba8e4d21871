#pragma once

#include "NavigatorBar.h"

// The bar under a grid or a child form: "Nuovo", "Apri", "Elimina", "Conferma". With a frame,
// "Nuovo" starts a new row, "Elimina" deletes the current one and "Conferma" takes up the
// current row without writing it ("Apri" is the form's own). The bar of a child form also moves
// between the rows ("Primo", "Precedente", "Successivo", "Ultimo"). Before a move or a new row,
// changes not yet confirmed are asked about: Yes confirms them as "Conferma" does (the form's
// own rules included; they stay pending for the Bill's save), No gives them up, Cancel stays.
class GridNavigator : public NavigatorBar {
    Q_OBJECT
public:
    enum class Moves { None, Rows };
    explicit GridNavigator(QWidget* parent = nullptr, Moves moves = Moves::None);

protected:
    bool perform(const QString& key) override;

private:
    bool settlePending();
};
