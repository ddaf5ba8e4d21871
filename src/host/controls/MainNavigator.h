#pragma once

#include "NavigatorBar.h"

// The form's main navigator. With a frame: "Primo", "Precedente", "Successivo", "Ultimo" move
// through the rows, "Nuovo" starts a new one, "Salva" writes the current row, "Annulla" undoes its
// changes, "Elimina" deletes it. "Indietro" and "Avanti" (previous and next page of the form) have
// no action of their own: the form answers them.
class MainNavigator : public NavigatorBar {
    Q_OBJECT
public:
    explicit MainNavigator(QWidget* parent = nullptr);

protected:
    bool perform(const QString& key) override;
};
