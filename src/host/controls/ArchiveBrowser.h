#pragma once

#include "LookupDialog.h"

// The host's management list of an archive, opened from a field's key-button menu: the
// archive's rows, filtered and paged as in the search list, and a button that sends the chosen
// row's values back to the form (TransferData) with the archive's number.
class ArchiveBrowser : public LookupDialog {
    Q_OBJECT
public:
    ArchiveBrowser(const LookupRequest& request, int archive, QStringList transferColumns,
                   QWidget* parent = nullptr);

    // Sends the current row's values: one value, or a list when several columns go back.
    void transfer();

signals:
    void TransferData(int archive, const QVariant& data);

private:
    int archive_;
    QStringList transferColumns_;
};
