// The "Note e altri dati" tab: the Bill's two notes in its EF04_SCADNOTE row, and the keys that
// move the clerk on from the last field of a page.
#include "CLSKV_TARSELLO.h"
#include "ChildQueries.h"
#include "EditBox.h"
#include "FRMKV_TARSELLO.h"
#include "MainNavigator.h"
#include "MemoBox.h"
#include "Recordset.h"
#include "VirtualFrame.h"

#include <QTimer>

namespace {
constexpr int kEnter = 13;
constexpr int kShift = 1;
}  // namespace

void FRMKV_TARSELLO::connectNote() {
    // Enter leaves the field first, as it always does; the form then turns to its next page, or
    // back to the first field of the page.
    auto onEnter = [this](FrameControl* field, const char* label, std::function<void()> then) {
        connect(field, &FrameControl::KeyDown, this, [this, label, then](int key, int shift) {
            guard(label, [&] {
                if (key == kEnter && (shift & kShift) == 0) QTimer::singleShot(0, this, then);
            });
        });
    };
    const auto avanti = [this] { INV_MAIN->press(QStringLiteral("Avanti")); };
    onEnter(TXT_NOTEAMMIN, "TXT_NOTEAMMIN_KeyDown:", avanti);
    onEnter(control(QStringLiteral("TXT_NUMRIEMIS")), "TXT_NUMRIEMIS_KeyDown:", avanti);
    onEnter(control(QStringLiteral("TXT_NUMDOCORIG")),
            "TXT_NUMDOCORIG_KeyDown:", [this] { ImpostaFocusSuPrimoCampoTab(); });
    for (FrameControl* note : {TXT_NOTEAMMIN, TXT_NOTERAGGR})
        connect(note, &FrameControl::GotFocus, this, [this] { ContestoAllegatiNote(); });
}

void FRMKV_TARSELLO::InizializzaNote() {
    guard("InizializzaNote:", [&] {
        FME_NOTE->AddControl(TXT_NOTERAGGR);
        FME_NOTE->AddControl(TXT_NOTEAMMIN);
        openFrameTab(FME_NOTE, clsRstNote, ChildQueries::note(currentKey()));
        bolTabIni_Note = bolTabConf_Note = true;
    });
}

void FRMKV_TARSELLO::ShowNote() {
    guard("ShowNote:", [&] {
        FME_NOTE->DataWillBeReread();
        openFrameTab(FME_NOTE, clsRstNote, ChildQueries::note(currentKey()));
        bolTabConf_Note = true;
    });
}

void FRMKV_TARSELLO::ContestoAllegatiNote() {
    guard("ContestoAllegatiNote:", [&] {
        if (!clsRstNote || !ActiveClass) return;
        const bool onRow = clsRstNote->State() == 1 && !clsRstNote->AtBOF() && !clsRstNote->AtEOF();
        ActiveClass->ImpostaIconaAllegati(
            onRow ? clsRstNote->Fields(QStringLiteral("EF04_IDMEDIA_CG99")).Value() : QVariant());
    });
}
