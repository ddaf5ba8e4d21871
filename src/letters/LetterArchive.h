#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class Connection;

// The reminder letters of a company as the letter archive (MG0B_TESTI) keeps them: under one
// code the text at the letter's head is of kind 5 and the text at its foot of kind 6. The codes,
// those with a head first and then by code, are the levels a Bill's reminders climb: the first
// letter is the first code, each next letter the code after the last one sent.
class LetterArchive {
public:
    LetterArchive(Connection& connection, qint32 company);

    bool isEmpty() const { return ladder_.isEmpty(); }
    const QStringList& ladder() const { return ladder_; }
    // The code of the letter after `last` (the first for a Bill never reminded, or reminded with a
    // code the archive no longer has); the last code repeats at the top.
    QString next(const QString& last) const;
    // Where `code` stands in the ladder, -1 when it is not there.
    int level(const QString& code) const { return ladder_.indexOf(code.trimmed().toUpper()); }
    QString description(const QString& code) const;
    // The texts of `code`; a standard text when the archive has none for that part.
    QString head(const QString& code) const;
    QString foot(const QString& code) const;

private:
    struct Texts {
        QString description;
        QString head;
        QString foot;
    };
    QStringList ladder_;
    QHash<QString, Texts> texts_;
};
