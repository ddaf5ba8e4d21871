#pragma once

#include <QList>

// The state of a Bill that a history movement keeps: each Bill column with the movement column
// that holds its value as it stood before the movement. Writing a movement copies the Bill into
// it; deleting the last one copies it back.
namespace HistorySnapshot {

struct Pair {
    const char* bill;
    const char* movement;
};

inline const QList<Pair>& columns() {
    static const QList<Pair> pairs = {
        {"EF01_SCADE_S", "EF06_SCADE_S"},
        {"EF01_IMPEFF_S", "EF06_IMPEFF_S"},
        {"EF01_IMPEFFVAL_S", "EF06_IMPEFFVAL_S"},
        {"EF01_IMPEFFNETPREV_S", "EF06_IMPEFFNETPREV_S"},
        {"EF01_IMPEFFNETPREVVAL_S", "EF06_IMPEFFNETPREVVAL_S"},
        {"EF01_INDSPERIT_S", "EF06_INDSPERIT_S"},
        {"EF01_SPESERIT_S", "EF06_SPESERIT_S"},
        {"EF01_SPESERITBAN_S", "EF06_SPESERITBAN_S"},
        {"EF01_BANCAPRE_SCG12", "EF06_BANCAPRE_S"},
        {"EF01_AGENPRE_SCG13", "EF06_AGENZPRE_S"},
        {"EF01_NUMSTEFF_S", "EF06_NUMSTEFF_S"},
        {"EF01_NUMRIEMIS_S", "EF06_NUMRIEMIS_S"},
        {"EF01_INDSTATO_S", "EF06_INDSTATO_S"},
        {"EF01_INDGENSTATO_S", "EF06_INDGENSTATO_S"},
        {"EF01_INDPRES_S", "EF06_INDPRES_S"},
        {"EF01_FLGSTEFF_S", "EF06_FLGSTEFF_S"},
        {"EF01_FLGGIRATO_S", "EF06_FLGGIRATO_S"},
        {"EF01_FLGRICEVUTO_S", "EF06_FLGRICEVUTO_S"},
        {"EF01_FLGINCASSOBF_S", "EF06_FLGINCASSOBF_S"},
    };
    return pairs;
}

}  // namespace HistorySnapshot
