#include "SuiteError.h"

SuiteError::SuiteError(qint32 number, QString source, QString description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
    what_ = (hexNumber() + QStringLiteral(" ") + source_ + QStringLiteral(": ") + description_).toStdString();
}

QString SuiteError::hexNumber() const {
    return QStringLiteral("0x%1")
        .arg(quint32(number_), 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}
