#include "ArchiveBrowser.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTableWidget>

ArchiveBrowser::ArchiveBrowser(const LookupRequest& request, int archive, QStringList transferColumns,
                               QWidget* parent)
    : LookupDialog(request, QString(), parent),
      archive_(archive),
      transferColumns_(std::move(transferColumns)) {
    // A key made of several codes is for paging only.
    for (int c = 0; c < table()->columnCount(); ++c)
        if (columnName(c).compare(request.orderColumn, Qt::CaseInsensitive) == 0 &&
            !transferColumns_.contains(request.orderColumn, Qt::CaseInsensitive) &&
            request.columns.value(c).isEmpty())
            table()->hideColumn(c);
    auto* send = new QPushButton(QStringLiteral("&Trasferisci"), this);
    send->setObjectName(QStringLiteral("CMD_TRASFERISCI"));
    send->setEnabled(archive_ != 0);
    connect(send, &QPushButton::clicked, this, &ArchiveBrowser::transfer);
    static_cast<QBoxLayout*>(layout())->insertWidget(2, send);
}

void ArchiveBrowser::transfer() {
    QVariantList values;
    for (const QString& column : transferColumns_) values << currentValue(column);
    if (values.isEmpty() || table()->currentRow() < 0) return;
    emit TransferData(archive_, values.size() == 1 ? values.front() : QVariant(values));
    accept();
}
