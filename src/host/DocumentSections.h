#pragma once

#include "CompanyContext.h"

#include <QDate>

// Whether a document takes a section: the company uses document sections and the document is
// dated on or after the day it started using them. A company that uses them without saying from
// when uses them from today.
struct DocumentSections {
    bool inUse = false;
    QDate start;

    static DocumentSections of(const CompanyParameters& parameters, const QDate& today) {
        DocumentSections s;
        s.inUse = parameters.sectionsInUse;
        s.start = s.inUse && parameters.sectionsStart.isValid() ? parameters.sectionsStart : today;
        return s;
    }

    // An invalid date (empty or not a date) takes no section.
    bool apply(const QDate& documentDate) const {
        return inUse && documentDate.isValid() && start <= documentDate;
    }
};
