#include "AmountPairs.h"

namespace {

const AmountPair kBillHeader[] = {{"TXT_IMPEFF", "TXT_IMPEFFVAL"},
                                  {"TXT_IMPEFFNETPREV", "TXT_IMPEFFNETPREVVAL"},
                                  {"TXT_IMPEFFORIG", "TXT_IMPEFFORIGVAL"},
                                  {"TXT_IMPIVAORIG", "TXT_IMPIVAORIGVAL"},
                                  {"TXT_TOTDOC", "TXT_TOTDOCVAL"},
                                  {"TXT_BOLLI", "TXT_BOLLIVAL"},
                                  {"TXT_SPINC", "TXT_SPINCVAL"},
                                  {"TXT_IMPRITACC", "TXT_IMPRITACCVAL"},
                                  {"TXT_IMPRITACCORIG", "TXT_IMPRITACCORIGVAL"}};
// The net amount, the original amount and the document total follow the bill amount.
const int kBillCompanions[] = {1, 2, 4};

const AmountPair kHistoryMovement[] = {
    {"TXT_IMPEFF", "TXT_IMPEFFVAL"},          {"TXT_IMPEFFNETPREV", "TXT_IMPEFFNETPREVVAL"},
    {"TXT_IMPMOVPAG", "TXT_IMPMOVPAGVAL"},    {"TXT_IMPMOVPAGRIT", "TXT_IMPMOVPAGRITVAL"},
    {"TXT_IMPMOVABB", "TXT_IMPMOVABBVAL"},    {"TXT_IMPMOVACC", "TXT_IMPMOVACCVAL"},
    {"TXT_IMPMOVRIT", "TXT_IMPMOVRITVAL"},    {"TXT_IMPMOVOMANORIV", "TXT_IMPMOVOMANORIVVAL"},
    {"TXT_IMPMOVSCIND", "TXT_IMPMOVSCINDVAL"}};

}  // namespace

AmountPairs::AmountPairs(std::span<const AmountPair> pairs, int leader, std::span<const int> companions)
    : pairs_(pairs.begin(), pairs.end()),
      leader_(leader),
      companions_(companions.begin(), companions.end()) {}

const AmountPairs& AmountPairs::billHeader() {
    static const AmountPairs table(kBillHeader, 0, kBillCompanions);
    return table;
}

const AmountPairs& AmountPairs::historyMovement() {
    static const AmountPairs table(kHistoryMovement);
    return table;
}

std::optional<AmountPairs::Step> AmountPairs::changed(QStringView control, bool newBill) const {
    for (int i = 0; i < int(pairs_.size()); ++i) {
        const AmountPair& p = pairs_[size_t(i)];
        const bool euro = control == QLatin1String(p.euro);
        if (!euro && control != QLatin1String(p.currency)) continue;
        Step step;
        step.direction = euro ? Direction::ToCurrency : Direction::ToEuro;
        step.ask = euro;
        step.target = QString::fromLatin1(euro ? p.currency : p.euro);
        if (newBill && i == leader_) {
            for (int c : companions_) {
                const AmountPair& companion = pairs_[size_t(c)];
                step.copies << QString::fromLatin1(euro ? companion.euro : companion.currency);
                step.targetCopies << QString::fromLatin1(euro ? companion.currency : companion.euro);
            }
        }
        return step;
    }
    return std::nullopt;
}

QStringList AmountPairs::euroControls() const {
    QStringList out;
    for (const AmountPair& p : pairs_) out << QString::fromLatin1(p.euro);
    return out;
}

QStringList AmountPairs::currencyControls() const {
    QStringList out;
    for (const AmountPair& p : pairs_) out << QString::fromLatin1(p.currency);
    return out;
}
