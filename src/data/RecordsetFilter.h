#pragma once

#include "Connection.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

// A recordset's Filter text: conditions "COLUMN op value" joined by AND and OR, with
// parentheses. op is =, <>, <, >, <=, >= or LIKE (with * or % as wildcards); a value is a
// number, a 'quoted text' (quotes doubled inside), a #date# or NULL. Texts compare without
// regard to case.
class RecordsetFilter {
public:
    RecordsetFilter();
    ~RecordsetFilter();
    RecordsetFilter(RecordsetFilter&&) noexcept;
    RecordsetFilter& operator=(RecordsetFilter&&) noexcept;

    // Throws SuiteError naming the part of the text it could not read.
    static RecordsetFilter parse(const QString& text, const std::vector<ResultColumn>& columns,
                                 const QHash<QString, int>& index);

    bool isEmpty() const { return !root_; }
    bool matches(const QVector<QVariant>& values) const;

    struct Node;

private:
    std::unique_ptr<Node> root_;
};
