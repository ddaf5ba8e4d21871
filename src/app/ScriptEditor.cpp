#include "ScriptEditor.h"

#include "LayoutScriptHolder.h"
#include "SuiteError.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {
const QString kExample = QStringLiteral(
    "// function tsOpen(form) { ... }          all'apertura\n"
    "// function tsClose(form) { return true; } true: il programma resta aperto\n"
    "// form.field(\"TXT_NOTEAMMIN\") testo di un campo; form.message(\"...\") un avviso\n");
}

ScriptEditor::ScriptEditor(LayoutScriptHolder& holder, const QStringList& objects, QWidget* parent)
    : QDialog(parent), holder_(holder), text_(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Script utente"));
    setObjectName(QStringLiteral("ScriptEditor"));
    text_->setObjectName(QStringLiteral("TXT_SCRIPT"));
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Oggetti: ") + objects.join(QStringLiteral(", ")), this));
    layout->addWidget(text_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    try {
        const QString text = holder_.ScriptText();
        text_->setPlainText(text.isEmpty() ? kExample : text);
    } catch (const SuiteError& e) {
        text_->setPlainText(kExample);
        QMessageBox::warning(this, windowTitle(), e.description());
    }
    resize(640, 420);
}

bool ScriptEditor::save() {
    try {
        holder_.SaveScript(text_->toPlainText());
        return true;
    } catch (const SuiteError& e) {
        QMessageBox::warning(this, windowTitle(), e.description());
        return false;
    }
}
