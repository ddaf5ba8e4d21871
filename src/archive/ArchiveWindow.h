#pragma once

#include "ArchiveStore.h"

#include <QDialog>
#include <QHash>
#include <memory>

class ArchiveBar;
class EditBox;
class Grid;
class LogService;
class QVBoxLayout;

// The maintenance window of one archive: the list with its search above, the form of the
// current row below, the bar of buttons at the foot. Keyboard throughout: Enter or Tab moves to
// the next field, Ctrl+S saves, F3 goes to the search, Esc closes (asking first when edits are
// pending). While edits are pending the list stays where it is, so nothing typed is lost by a
// move; a refused save keeps them to be saved again.
class ArchiveWindow : public QDialog {
    Q_OBJECT
public:
    ArchiveWindow(ArchiveStore store, std::shared_ptr<LogService> log, QWidget* parent = nullptr);

    // The value the clerk chose to hand back (Null when none).
    QVariant handedBack() const { return handedBack_; }

    bool save();
    void startNew();
    void removeCurrent();
    void choose();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    // The constructor's parts: a box for each field of the archive, the bar, and the row the
    // window opens on.
    void createFields(QVBoxLayout* layout);
    void createBar(QVBoxLayout* layout);
    void openOnPreset();
    void refresh(const QVariant& keepKey = {});
    void showCurrent();
    void setPending(bool on);
    ArchiveStore::Record typed() const;
    bool position(const QList<std::pair<QString, QVariant>>& values);
    // A colleague changed or deleted the row since it was read: it is read again and the
    // clerk's edits kept over it, pending, to be saved again.
    void rereadAfterConflict();
    const ArchiveDescription& d() const;

    ArchiveStore store_;
    std::shared_ptr<LogService> log_;
    EditBox* search_;
    Grid* list_;
    ArchiveBar* bar_;
    QHash<QString, EditBox*> fields_;
    QList<EditBox*> order_;
    ArchiveStore::Record original_;  // the row shown as read; empty for a new one
    bool pending_ = false;
    bool loading_ = false;
    QVariant handedBack_;
};
