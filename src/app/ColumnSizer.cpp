#include "ColumnSizer.h"

#include <QHeaderView>
#include <QTableView>

ColumnSizer::ColumnSizer(QTableView* table) : QObject(table), table_(table) {
    QHeaderView* header = table->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, [this, header](int column) {
        // The last column stretched to the view's width is the view's doing, not the clerk's.
        const bool stretched = header->stretchLastSection() && column == header->count() - 1;
        if (!fitting_ && !stretched) kept_ = true;
    });
}

void ColumnSizer::fit() {
    if (kept_) return;
    fitting_ = true;
    table_->resizeColumnsToContents();
    fitting_ = false;
}

void ColumnSizer::keep() {
    const QHeaderView* header = table_->horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        if (header->sectionSize(c) != header->defaultSectionSize()) {
            kept_ = true;
            return;
        }
}
