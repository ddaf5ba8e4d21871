#include "GroupColumns.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

GroupColumns::GroupColumns(QWidget* page) : page_(page) {}

GroupColumns::~GroupColumns() = default;

FieldGrid& GroupColumns::group(const QString& title, const QString& objectName) {
    auto* box = new QGroupBox(title, page_);
    if (!objectName.isEmpty()) box->setObjectName(objectName);
    grids_.push_back(std::make_unique<FieldGrid>(box));
    columns_.back().append(grids_.back().get());
    return *grids_.back();
}

void GroupColumns::nextColumn() {
    columns_.append(QList<FieldGrid*>());
}

QList<QWidget*> GroupColumns::place(int margin, const QList<int>& stretches) {
    QList<QWidget*> order;
    auto* row = new QHBoxLayout(page_);
    row->setContentsMargins(margin, margin, margin, margin);
    for (int i = 0; i < columns_.size(); ++i) {
        auto* stack = new QVBoxLayout;
        for (FieldGrid* g : columns_.at(i)) {
            stack->addWidget(g->box());
            order.append(g->tabOrder());
        }
        stack->addStretch(1);
        row->addLayout(stack, stretches.value(i, 0));
    }
    return order;
}

FieldGrid::Cell GroupColumns::coded(const QString& caption, QWidget* code, QWidget* description, int span) {
    code->setMinimumWidth(110);
    code->setMaximumWidth(120);
    description->setMinimumWidth(110);
    return {caption, {code, description}, span};
}
