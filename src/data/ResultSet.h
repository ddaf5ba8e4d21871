#pragma once

#include "DataType.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <vector>

struct TableDef;

// A column of a query result, typed from the catalogue when the column is known there.
struct ResultColumn {
    QString name;
    DataType type = DataType::Text;
    int size = 0;
    int precision = 0;  // total digits of a catalogued decimal, 0 when unknown
    int scale = -1;     // -1: keep the digits the engine returned
    bool nullable = true;
    const TableDef* owner = nullptr;  // the catalogued table or view the column belongs to
};

// One result of a batch: its columns and rows of typed values.
struct ResultSet {
    std::vector<ResultColumn> columns;
    std::vector<QVector<QVariant>> rows;
};
