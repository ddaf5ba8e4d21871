#include "ErrorReport.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr qint32 kRunTimeError = 5;  // "invalid procedure call": what an unexpected failure becomes
}  // namespace

bool ErrorReport::guard(const char* label, const std::function<void()>& body) {
    const QString prefix = QString::fromLatin1(label) + kCrLf;
    try {
        body();
        return true;
    } catch (SuiteError& e) {
        e.prependSource(prefix);
        MostraErrore(e);
    } catch (const std::exception& e) {
        MostraErrore(SuiteError(kRunTimeError, prefix, QString::fromLocal8Bit(e.what())));
    }
    return false;
}

QString ErrorReport::text(const SuiteError& error, const QString& placeName) {
    return QStringLiteral("Errore Nr.: ") + QString::number(error.number()) + kCrLf + error.description() +
           kCrLf + QStringLiteral("Errore in : ") + kCrLf + placeName + kCrLf + error.source();
}
