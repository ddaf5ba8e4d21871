#include "BillTypes.h"

namespace BillTypes {

const QList<Type>& all() {
    static const QList<Type> types = {
        {1, QStringLiteral(" Contanti"), QStringLiteral("Con")},
        {2, QStringLiteral(" Ricevuta bancaria"), QStringLiteral("Rb")},
        {3, QStringLiteral(" Tratta"), QStringLiteral("Tr")},
        {4, QStringLiteral(" Tratta accettata"), QStringLiteral("TrA")},
        {5, QStringLiteral(" Cessione"), QStringLiteral("Ces")},
        {6, QStringLiteral(" Cambiale"), QStringLiteral("Cam")},
        {7, QStringLiteral(" Carta di credito"), QStringLiteral("CCr")},
        {8, QStringLiteral(" Bancomat"), QStringLiteral("Ban")},
        {9, QStringLiteral(" Contrassegno"), QStringLiteral("Ctr")},
        {10, QStringLiteral(" Lettera di credito"), QStringLiteral("Lcr")},
        {11, QStringLiteral(" RID"), QStringLiteral("Rid")},
        {12, QStringLiteral(" Leasing"), QStringLiteral("Lea")},
        {13, QStringLiteral(" Rimessa diretta"), QStringLiteral("Rd")},
        {14, QStringLiteral(" Bonifico bancario"), QStringLiteral("BBa")},
        {15, QStringLiteral(" C/C postale"), QStringLiteral("CCP")},
        {16, QStringLiteral(" MAV "), QStringLiteral("Mav")},
        {99, QStringLiteral(" Solo descrittivo "), QStringLiteral("Des")},
    };
    return types;
}

QString name(int code) {
    for (const Type& t : all())
        if (t.code == code) return t.comboText.trimmed();
    return QString::number(code);
}

QString abbreviation(int code) {
    for (const Type& t : all())
        if (t.code == code) return t.abbreviation;
    return QString();
}

}  // namespace BillTypes
