#pragma once

#include <QByteArray>
#include <QString>

// One record of a fixed-length bank file: blanks, then fields put at their 1-based positions.
// Texts are made upper-case ASCII, left-aligned and cut to the field; numbers right-aligned with
// zeros.
class FixedRecord {
public:
    explicit FixedRecord(int length) : bytes_(length, ' ') {}

    FixedRecord& text(int position, int length, const QString& value);
    // False, the record unchanged, when `value` is negative or has more digits than the field.
    bool fits(int length, qint64 value) const;
    FixedRecord& number(int position, int length, qint64 value);

    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};
