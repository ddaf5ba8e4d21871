#include "ArchiveWindow.h"

#include "ArchiveBar.h"
#include "ArchiveTexts.h"
#include "EditBox.h"
#include "FailureText.h"
#include "Field.h"
#include "Grid.h"
#include "LogService.h"
#include "Recordset.h"
#include "Schema.h"
#include "SuiteError.h"
#include "Value.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

ArchiveWindow::ArchiveWindow(ArchiveStore store, std::shared_ptr<LogService> log, QWidget* parent)
    : QDialog(parent), store_(std::move(store)), log_(std::move(log)) {
    const ArchiveDescription& d = store_.description();
    setObjectName(d.objectName);
    setWindowTitle(d.title);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(d.title, this);
    title->setObjectName(QStringLiteral("LBL_TITOLO"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    layout->addWidget(title);

    auto* searchRow = new QFormLayout;
    search_ = new EditBox(this);
    search_->setObjectName(QStringLiteral("TXT_CERCA"));
    searchRow->addRow(ArchiveTexts::kCerca, search_);
    layout->addLayout(searchRow);
    connect(search_->lineEdit(), &QLineEdit::textChanged, this, [this] { refresh(); });

    list_ = new Grid(this);
    list_->setObjectName(QStringLiteral("GRD_ARCHIVIO"));
    layout->addWidget(list_, 1);
    connect(list_, &Grid::RowColChange, this, [this] { showCurrent(); });
    connect(list_, &Grid::CellDblClick, this, [this] {
        if (!store_.description().handBack.isEmpty()) choose();
    });

    createFields(layout);
    auto* hint = new QLabel(ArchiveTexts::kHint, this);
    hint->setObjectName(QStringLiteral("LBL_TASTI"));
    layout->addWidget(hint);

    createBar(layout);
    search_->lineEdit()->installEventFilter(this);
    resize(760, 560);

    refresh();
    openOnPreset();
    if (!order_.isEmpty()) order_.front()->setFocus();
}

void ArchiveWindow::createFields(QVBoxLayout* layout) {
    const ArchiveDescription& d = store_.description();
    auto* form = new QFormLayout;
    const TableDef* table = Schema::catalogue()->table(d.table);
    for (const ArchiveDescription::Field& f : d.fields) {
        auto* box = new EditBox(this);
        box->setObjectName(QStringLiteral("TXT_") + f.column);
        const ColumnDef* column = table ? table->column(f.column) : nullptr;
        if (column && column->type == DataType::Text) box->setMaxLength(column->size);
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this] { setPending(true); });
        if (f.upper)
            connect(box->lineEdit(), &QLineEdit::textEdited, box, [box](const QString& text) {
                if (text != text.toUpper()) {
                    const int at = box->lineEdit()->cursorPosition();
                    box->lineEdit()->setText(text.toUpper());
                    box->lineEdit()->setCursorPosition(at);
                }
            });
        box->lineEdit()->installEventFilter(this);
        form->addRow(f.caption + (f.required ? QStringLiteral(" *") : QString()), box);
        fields_.insert(f.column, box);
        order_ << box;
    }
    layout->addLayout(form);
}

void ArchiveWindow::createBar(QVBoxLayout* layout) {
    bar_ = new ArchiveBar(!d().handBack.isEmpty(), this);
    bar_->setObjectName(QStringLiteral("NAV_ARCHIVIO"));
    layout->addWidget(bar_);
    connect(bar_, &NavigatorBar::ButtonClick, this, [this](const QString& key, bool* cancel) {
        *cancel = true;  // the window does the work; the bar has no frame
        if (key == ArchiveTexts::kNuovo)
            startNew();
        else if (key == ArchiveTexts::kSalva)
            save();
        else if (key == ArchiveTexts::kElimina)
            removeCurrent();
        else if (key == ArchiveTexts::kScegli)
            choose();
        else if (key == ArchiveTexts::kChiudi)
            reject();
    });
}

void ArchiveWindow::openOnPreset() {
    const ArchiveDescription& d = store_.description();
    // Opened on a code (or a pair): the list stands on its row; otherwise a new row starts with
    // the values handed over.
    QList<std::pair<QString, QVariant>> identifying;
    bool handed = false;
    for (const auto& [column, value] : d.preset) {
        if (Value::toText(value).trimmed().isEmpty()) continue;
        handed = true;
        if (d.key.contains(column) || d.unique.contains(column)) identifying.append({column, value});
    }
    if (handed && !(!identifying.isEmpty() && position(identifying))) {
        startNew();
        for (const auto& [column, value] : d.preset)
            if (EditBox* box = fields_.value(column)) box->setText(Value::toText(value).trimmed());
    }
}

const ArchiveDescription& ArchiveWindow::d() const {
    return store_.description();
}

void ArchiveWindow::refresh(const QVariant& keepKey) {
    std::shared_ptr<Recordset> rows;
    try {
        rows = store_.list(search_->Text());
    } catch (const SuiteError& e) {
        log_->MsgBox(FailureText::of(e, QString()), LogService::kExclamation, d().title);
        return;
    }
    list_->ClearColumns();
    list_->setDataSource(rows);
    // A key the program numbers itself is shown as the row's code.
    if (!d().generatedKey.isEmpty()) list_->AddColumn(d().generatedKey, QStringLiteral("Codice"), 1, 900);
    // Each column as wide as its texts may be, within reason (twips: 15 a pixel).
    const TableDef* table = Schema::catalogue()->table(d().table);
    for (const ArchiveDescription::Field& f : d().fields) {
        const ColumnDef* column = table ? table->column(f.column) : nullptr;
        const int chars = column && column->type == DataType::Text ? column->size : 8;
        list_->AddColumn(f.column, f.caption, 1, std::clamp(chars * 110, 1000, 4200));
    }
    list_->Refresh();
    if (keepKey.isValid() && !d().key.isEmpty()) position({{d().key.constLast(), keepKey}});
    showCurrent();
}

bool ArchiveWindow::position(const QList<std::pair<QString, QVariant>>& values) {
    Recordset& rs = *list_->DataSource();
    if (rs.RecordCount() == 0) return false;
    const auto matches = [&rs, &values] {
        for (const auto& [column, value] : values)
            if (Value::toText(rs.Fields(column).Value())
                    .trimmed()
                    .compare(Value::toText(value).trimmed(), Qt::CaseInsensitive) != 0)
                return false;
        return true;
    };
    for (rs.MoveFirst(); !rs.AtEOF(); rs.MoveNext())
        if (matches()) {
            list_->Refresh();
            showCurrent();
            return true;
        }
    rs.MoveFirst();
    list_->Refresh();
    return false;
}

void ArchiveWindow::showCurrent() {
    if (pending_) return;
    loading_ = true;
    original_.clear();
    std::shared_ptr<Recordset> rs = list_->DataSource();
    const bool onRow = rs && rs->RecordCount() > 0 && !rs->AtEOF() && !rs->AtBOF();
    for (int i = 0; onRow && i < rs->FieldCount(); ++i)
        original_.insert(rs->column(i).name.toUpper(), Value::toText(rs->Fields(i).Value()).trimmed());
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        it.value()->setText(original_.value(it.key()));
    loading_ = false;
}

void ArchiveWindow::setPending(bool on) {
    if (loading_) return;
    pending_ = on;
    // Pending edits keep the list where it is: no move can drop them.
    list_->setEnabled(!on);
    search_->setEnabled(!on);
}

ArchiveStore::Record ArchiveWindow::typed() const {
    ArchiveStore::Record record = original_;
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it) record[it.key()] = it.value()->Text();
    return record;
}

void ArchiveWindow::startNew() {
    if (pending_) {
        if (log_->MsgBox(ArchiveTexts::kChiudereSenzaSalvare, LogService::kYesNo | LogService::kQuestion,
                         d().title) != LogService::kYes)
            return;
        setPending(false);
    }
    loading_ = true;
    original_.clear();
    for (EditBox* box : order_) box->setText(QString());
    loading_ = false;
    setPending(true);
    if (!order_.isEmpty()) order_.front()->setFocus();
}

bool ArchiveWindow::save() {
    if (!pending_) return true;
    const ArchiveStore::Record record = typed();
    const QString problem = store_.check(record, original_);
    if (!problem.isEmpty()) {
        log_->MsgBox(problem, LogService::kExclamation, ArchiveTexts::kTitleControllo);
        return false;
    }
    ArchiveStore::Record stored;
    try {
        stored = store_.save(record, original_);
    } catch (const SuiteError& e) {
        if (e.number() == SuiteError::kWriteConflict && !original_.isEmpty())
            rereadAfterConflict();
        else
            log_->MsgBox(FailureText::of(e, ArchiveTexts::kNonSalvato), LogService::kExclamation, d().title);
        return false;
    }
    setPending(false);
    refresh(d().key.isEmpty() ? QVariant() : QVariant(stored.value(d().key.constLast())));
    return true;
}

void ArchiveWindow::rereadAfterConflict() {
    std::optional<ArchiveStore::Record> now;
    try {
        now = store_.reread(original_);
    } catch (const SuiteError& e) {
        log_->MsgBox(FailureText::of(e, ArchiveTexts::kNonSalvato), LogService::kExclamation, d().title);
        return;
    }
    if (!now) {
        // Saved again, it is added anew.
        original_.clear();
        log_->MsgBox(ArchiveTexts::kRilettoEliminato, LogService::kExclamation, d().title);
        return;
    }
    // A field the clerk left as read shows the colleague's value; one the clerk changed keeps
    // the clerk's.
    loading_ = true;
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        if (it.value()->Text().trimmed() == original_.value(it.key()).trimmed())
            it.value()->setText(now->value(it.key()));
    loading_ = false;
    original_ = *now;
    log_->MsgBox(ArchiveTexts::kRilettoModificato, LogService::kExclamation, d().title);
}

void ArchiveWindow::removeCurrent() {
    if (original_.isEmpty()) {
        log_->MsgBox(ArchiveTexts::kNessunaRiga, LogService::kInformation, d().title);
        return;
    }
    if (log_->MsgBox(ArchiveTexts::kEliminare, LogService::kYesNo | LogService::kQuestion, d().title) !=
        LogService::kYes)
        return;
    try {
        store_.remove(original_);
    } catch (const SuiteError& e) {
        log_->MsgBox(FailureText::of(e, ArchiveTexts::kNonEliminato), LogService::kExclamation, d().title);
        return;
    }
    setPending(false);
    refresh();
}

void ArchiveWindow::choose() {
    if (pending_ && !save()) return;
    if (original_.isEmpty()) {
        log_->MsgBox(ArchiveTexts::kNessunaRiga, LogService::kInformation, d().title);
        return;
    }
    handedBack_ = original_.value(d().handBack);
    accept();
}

void ArchiveWindow::reject() {
    if (pending_ && log_->MsgBox(ArchiveTexts::kChiudereSenzaSalvare,
                                 LogService::kYesNo | LogService::kQuestion, d().title) != LogService::kYes)
        return;
    QDialog::reject();
}

void ArchiveWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier) {
        save();
        return;
    }
    if (event->key() == Qt::Key_F3) {
        search_->lineEdit()->setFocus();
        search_->lineEdit()->selectAll();
        return;
    }
    // Enter moves on rather than pressing a default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

bool ArchiveWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            if (watched == search_->lineEdit())
                list_->setFocus();
            else
                focusNextChild();
            return true;
        }
        if (key->key() == Qt::Key_S && key->modifiers() == Qt::ControlModifier) {
            save();
            return true;
        }
        if (key->key() == Qt::Key_F3) {
            search_->lineEdit()->setFocus();
            search_->lineEdit()->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
