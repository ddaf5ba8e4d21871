#include "AttachmentDesk.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QUrl>

QString GuiAttachmentDesk::chooseFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Nuovo allegato"));
}

int GuiAttachmentDesk::chooseAttachment(QWidget* parent, const QStringList& names) {
    if (names.size() == 1) return 0;
    bool ok = false;
    const QString name = QInputDialog::getItem(parent, QStringLiteral("Allegati"),
                                               QStringLiteral("Allegato:"), names, 0, false, &ok);
    return ok ? int(names.indexOf(name)) : -1;
}

bool GuiAttachmentDesk::openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
