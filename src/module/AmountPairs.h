#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

// One amount held twice: the control of its euro value and the control of its value in the
// Bill's currency.
struct AmountPair {
    const char* euro;
    const char* currency;
};

// A form's amounts as one table of pairs, and what a change of either side of a pair sets off:
// a euro amount converts into the currency only when the clerk agrees, a currency amount always
// converts into euro. On a new Bill the leading pair's amount is also copied, on both sides, to
// its companion pairs (the net, the original amount and the document total start equal to it).
class AmountPairs {
public:
    // The question before a euro amount changes its currency amount.
    static inline const QString kQuestion = QStringLiteral("Aggiornare il corrispondente importo in valuta?");
    static inline const QString kTitle = QStringLiteral("Conversione importo");

    enum class Direction { ToCurrency, ToEuro };
    struct Step {
        Direction direction = Direction::ToCurrency;
        bool ask = true;           // asked first: the euro side
        QString target;            // the control of the other side, receiving the converted amount
        QStringList copies;        // new Bill only: same-side controls receiving the typed amount
        QStringList targetCopies;  // new Bill only: other-side controls receiving the converted amount
    };

    AmountPairs(std::span<const AmountPair> pairs, int leader = -1, std::span<const int> companions = {});

    // The header of a Bill: nine pairs, led by the bill amount.
    static const AmountPairs& billHeader();
    // A history movement: nine pairs, none leading.
    static const AmountPairs& historyMovement();

    // What follows a change of `control`; nullopt for a control of no pair.
    std::optional<Step> changed(QStringView control, bool newBill) const;

    const std::vector<AmountPair>& pairs() const { return pairs_; }
    QStringList euroControls() const;
    QStringList currencyControls() const;

private:
    std::vector<AmountPair> pairs_;
    int leader_;
    std::vector<int> companions_;
};
