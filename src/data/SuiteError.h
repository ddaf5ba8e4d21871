#pragma once

#include <QString>
#include <exception>
#include <string>

// The suite's error object: a number (a COM-style HRESULT), the source that raised it and a
// description. Raised by the data layer and by the module; form procedures catch it, prepend
// their own label to the source and report it.
class SuiteError : public std::exception {
public:
    // Numbers used by the data layer; the module adds its own from the automation base.
    static constexpr qint32 kWriteConflict = qint32(0x80040E38);  // row changed by another user
    static constexpr qint32 kCommandFailed = qint32(0x80040E14);  // the data source refused a command
    static constexpr qint32 kConnectionFailed = qint32(0x80004005);
    static constexpr qint32 kTimeout = qint32(0x80040E31);          // another session's lock held too long
    static constexpr qint32 kItemNotFound = qint32(0x800A0CC1);     // no field of that name or index
    static constexpr qint32 kNoCurrentRecord = qint32(0x800A0BCD);  // BOF or EOF
    static constexpr qint32 kOperationNotAllowed = qint32(0x800A0E79);
    static constexpr qint32 kNotPermitted = qint32(0x80040E09);  // the signed-in user lacks the right
    static constexpr qint32 kTypeMismatch = qint32(0x800A000D);
    static constexpr qint32 kAutomationBase = qint32(0x80040000);

    SuiteError(qint32 number, QString source, QString description);

    qint32 number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

    // A procedure's guard puts its own label ("InizializzaTestata:") before the source.
    void prependSource(const QString& label) { source_.prepend(label); }

    // "0x80040E38" style, for logs and tests.
    QString hexNumber() const;

    const char* what() const noexcept override { return what_.c_str(); }

private:
    qint32 number_;
    QString source_;
    QString description_;
    std::string what_;
};
