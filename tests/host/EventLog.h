#pragma once

#include "FrameControl.h"
#include "VirtualFrame.h"

#include <QObject>
#include <QStringList>

// Records the events of controls and frames as "NAME.Event" lines, in the order they are raised.
class EventLog : public QObject {
public:
    QStringList lines;

    void watch(FrameControl* c, const QString& name) {
        connect(c, &FrameControl::BeforeItem, this, [=, this] { lines << name + ".BeforeItem"; });
        connect(c, &FrameControl::Validate, this, [=, this](bool*) { lines << name + ".Validate"; });
        connect(c, &FrameControl::AfterItem, this, [=, this] { lines << name + ".AfterItem"; });
        connect(c, &FrameControl::LostFocus, this, [=, this] { lines << name + ".LostFocus"; });
    }

    void watch(VirtualFrame* f) {
        connect(f, &VirtualFrame::AfterAddNew, this,
                [this](bool ok) { lines << QStringLiteral("AfterAddNew(%1)").arg(ok); });
        connect(f, &VirtualFrame::AfterUndo, this,
                [this](bool ok) { lines << QStringLiteral("AfterUndo(%1)").arg(ok); });
        connect(f, &VirtualFrame::AfterUpdate, this,
                [this](bool ok) { lines << QStringLiteral("AfterUpdate(%1)").arg(ok); });
        connect(f, &VirtualFrame::BeforeUpdate, this,
                [this](bool*) { lines << QStringLiteral("BeforeUpdate"); });
        connect(f, &VirtualFrame::BeforeDelete, this,
                [this](bool*) { lines << QStringLiteral("BeforeDelete"); });
        connect(f, &VirtualFrame::ChangeStatus, this,
                [this](int s) { lines << QStringLiteral("ChangeStatus(%1)").arg(s); });
        connect(f, &VirtualFrame::ValidateRecord, this,
                [this](FrameControl**) { lines << QStringLiteral("ValidateRecord"); });
        connect(f, &VirtualFrame::UpdateBatchAll, this,
                [this] { lines << QStringLiteral("UpdateBatchAll"); });
    }

    QStringList take() {
        QStringList out = lines;
        lines.clear();
        return out;
    }
};
