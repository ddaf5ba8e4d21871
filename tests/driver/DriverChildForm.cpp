#include "DriverChildForm.h"

#include "EditBox.h"
#include "GridNavigator.h"

#include <QVBoxLayout>

DriverChildForm::DriverChildForm(const QString& note, QWidget* parent)
    : QDialog(parent), noteBox_(new EditBox(this)), navigator_(new GridNavigator(this)) {
    setObjectName(QStringLiteral("FRMCHILD"));
    noteBox_->setObjectName(QStringLiteral("TXT_NOTE"));
    noteBox_->setText(note);
    navigator_->setObjectName(QStringLiteral("GNV_CHILD"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(noteBox_);
    layout->addWidget(navigator_);
    connect(navigator_, &NavigatorBar::AfterButtonClick, this, [this](const QString& key) {
        if (key != QStringLiteral("Conferma")) return;
        note_ = noteBox_->Text();
        accept();
    });
}
