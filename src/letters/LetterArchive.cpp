#include "LetterArchive.h"

#include "Connection.h"
#include "Value.h"

#include <algorithm>

namespace {

const QString kStandardHead = QStringLiteral(
    "Gentile cliente, dai nostri controlli risultano non ancora pagati gli effetti qui elencati.");
const QString kStandardFoot = QStringLiteral(
    "Vi preghiamo di provvedere al pagamento sul conto indicato. Se lo avete già disposto, "
    "vogliate considerare nulla la presente.");

}  // namespace

LetterArchive::LetterArchive(Connection& connection, qint32 company) {
    const std::vector<ResultSet> rows = connection.Query(
        QStringLiteral(
            "SELECT MG0B_INDTIPO, MG0B_CODTESTO, MG0B_DESCR, MG0B_TESTO FROM MG0B_TESTI WITH (NOLOCK)"
            " WHERE MG0B_DITTA_CG18 = %1 AND MG0B_INDTIPO IN (5, 6)")
            .arg(company));
    QHash<QString, int> firstKind;
    for (const auto& row : rows.empty() ? std::vector<QVector<QVariant>>{} : rows.front().rows) {
        const int kind = Value::toInt(Value::natural(row.value(0)));
        const QString code = Value::toText(Value::natural(row.value(1))).trimmed().toUpper();
        if (code.isEmpty()) continue;
        Texts& t = texts_[code];
        const QString description = Value::toText(Value::natural(row.value(2))).trimmed();
        const QString text = Value::toText(Value::natural(row.value(3))).trimmed();
        // The head's description names the letter, as the reminder form shows it.
        if (t.description.isEmpty() || kind == 5) t.description = description;
        (kind == 5 ? t.head : t.foot) = text;
        firstKind[code] = std::min(firstKind.value(code, kind), kind);
    }
    ladder_ = texts_.keys();
    std::sort(ladder_.begin(), ladder_.end(), [&firstKind](const QString& a, const QString& b) {
        return std::pair(firstKind.value(a), a) < std::pair(firstKind.value(b), b);
    });
}

QString LetterArchive::next(const QString& last) const {
    if (ladder_.isEmpty()) return {};
    const int at = level(last);
    if (at < 0) return ladder_.first();
    return ladder_.at(std::min<int>(at + 1, static_cast<int>(ladder_.size()) - 1));
}

QString LetterArchive::description(const QString& code) const {
    return texts_.value(code.trimmed().toUpper()).description;
}

QString LetterArchive::head(const QString& code) const {
    const QString text = texts_.value(code.trimmed().toUpper()).head;
    return text.isEmpty() ? kStandardHead : text;
}

QString LetterArchive::foot(const QString& code) const {
    const QString text = texts_.value(code.trimmed().toUpper()).foot;
    return text.isEmpty() ? kStandardFoot : text;
}
