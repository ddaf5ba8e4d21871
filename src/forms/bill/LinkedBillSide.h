#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CheckBox;
class ComboBox;
class FRMKV_TARSELLO;
class FrameControl;
class IdEditBox;
class Recordset;
struct DecodeRequest;
struct LookupRequest;

// One side of a bill's link to another Bill on the "Dati cambiali e cessioni" tab: the Bill it
// was received from, or the Bill it was endorsed to. Both sides behave alike, each on its own
// controls, its own five key columns of EF03_SCADCECAM and its own search list.
//
// The link field passes through: empty (valid), resolved (valid, the linked Bill's key stored),
// unresolved (not valid, key Null). The counterpart type, code and number shown are never stored:
// they are read from the linked Bill whenever the tab is loaded.
class LinkedBillSide : public QObject {
    Q_OBJECT
public:
    struct Names {
        const char* checkBox;  // CHK_FLGRICEVUTO: the header's flag of the side
        const char* type;      // CBO_TIPOCFR: counterpart type, customer or supplier
        const char* code;      // TXT_CODCLIFORR: the linked Bill's counterpart
        const char* name;      // TXT_DESCLIFORR: its name
        const char* number;    // TXT_NUMEFFRIC: the linked Bill's number
        const char* side;      // "RIC": the EF03_...RIC_EF01 columns and the RIC_ columns of the links
        const char* lookup;    // "Lkp_NumEffRic"
        bool receivedSide;     // the search list's type abbreviations, Enter on the unticked box
    };

    // `loadTypes` fills the type combo for the check box's value.
    LinkedBillSide(FRMKV_TARSELLO& form, const Names& names, std::function<void()> loadTypes);

    // The tab is read again: the type combo reloaded on its first row, what was remembered forgotten.
    void reset();
    // The link as the tab's second result reads it (null or no row: no link).
    void show(Recordset* links);
    // The number field, when the box is ticked and the number is empty or names no Bill.
    FrameControl* fieldInError() const;

    CheckBox* checkBox() const { return check_; }
    ComboBox* typeCombo() const { return type_; }
    IdEditBox* numberField() const { return number_; }

private:
    QByteArray label(const char* control, const char* event) const;
    void enableForBox();
    int typeCode() const;
    void checkChanged();
    void typeChanged();
    void resolve();
    void startLookup(LookupRequest* request);
    void startDecode(DecodeRequest* request);
    bool refuseBadNumber();
    void moveOnLater();
    // The five key columns of the side in the tab's current row, or Null.
    void storeLink(Recordset* found);
    void showCounterpart(const QString& code);
    void markChanged();

    FRMKV_TARSELLO& form_;
    Names names_;
    std::function<void()> loadTypes_;
    CheckBox* check_;
    ComboBox* type_;
    IdEditBox* code_;
    FrameControl* name_;
    IdEditBox* number_;
    QString checkOnEntry_, typeOnEntry_, numberOnEntry_;
    bool clicked_ = false;
};
