#pragma once

#include "LogService.h"

class QWidget;

// The log service a person answers: a modal QMessageBox over the given window.
class GuiLogService : public LogService {
public:
    explicit GuiLogService(QWidget* parent = nullptr) : parent_(parent) {}

    int MsgBox(const QString& message, int flags, const QString& title) override;

private:
    QWidget* parent_;
};
