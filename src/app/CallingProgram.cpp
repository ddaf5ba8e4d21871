#include "CallingProgram.h"

#include "AgeingView.h"
#include "ArchiveConnector.h"
#include "BackgroundRead.h"
#include "BillListQueries.h"
#include "BillListRows.h"
#include "BillReport.h"
#include "BillTypes.h"
#include "ColumnSizer.h"
#include "Connection.h"
#include "CounterpartNames.h"
#include "HeaderQuery.h"
#include "HostGlobal.h"
#include "ItalianFormat.h"
#include "LetterBuilder.h"
#include "LetterRun.h"
#include "ListOutput.h"
#include "ListPdf.h"
#include "ListPrint.h"
#include "ListSpreadsheet.h"
#include "ListTotals.h"
#include "LookupDialog.h"
#include "NumericBox.h"
#include "Recordset.h"
#include "ReportPrinter.h"
#include "SlipDialog.h"
#include "SlipFiles.h"
#include "SqlDialect.h"
#include "SuiteError.h"
#include "Value.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <optional>

namespace {

// The list's orders by the column whose header the clerk clicks; the other columns do not sort.
std::optional<BillFilter::Sort> sortOf(int column) {
    switch (column) {
        case BillListRows::ColDue:
            return BillFilter::Sort::Due;
        case BillListRows::ColOverdue:
            return BillFilter::Sort::Overdue;
        case BillListRows::ColAmount:
            return BillFilter::Sort::Amount;
        case BillListRows::ColType:
            return BillFilter::Sort::BillType;
        case BillListRows::ColState:
            return BillFilter::Sort::State;
        default:
            return std::nullopt;
    }
}

int columnOf(BillFilter::Sort sort) {
    for (int c = 0; c < BillListRows::ColCount; ++c)
        if (sortOf(c) == sort) return c;
    return BillListRows::ColDue;
}

QDate readDate(QLineEdit* edit, const QString& what) {
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) return QDate();
    const QDate d = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid())
        throw SuiteError(
            SuiteError::kTypeMismatch, QStringLiteral("Selezione effetti"),
            QStringLiteral("La data %1 \"%2\" non è valida: scriverla come gg/mm/aaaa.").arg(what, text));
    return d;
}

[[noreturn]] void refuse(const QString& message) {
    throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Selezione effetti"), message);
}

// An amount as a clerk types it ("1.234,56"), at most to the cent.
Decimal readAmount(const QString& text) {
    const std::optional<Decimal> amount = NumericBox::parseTyped(text.trimmed(), true);
    if (!amount)
        refuse(
            QStringLiteral("L'importo \"%1\" non è un numero: scriverlo come 1.234,56.").arg(text.trimmed()));
    if (amount->normalized().scale() > 2)
        refuse(QStringLiteral("L'importo \"%1\" ha più di due decimali.").arg(text.trimmed()));
    if (amount->integerDigits() > 13)
        refuse(QStringLiteral("L'importo \"%1\" è troppo grande.").arg(text.trimmed()));
    return *amount;
}

// A document's or a Bill's number: whole, positive, within its column.
std::optional<qint64> readWhole(QLineEdit* edit, const QString& what) {
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n <= 0 || n > 2147483647)
        refuse(QStringLiteral("Il numero %1 \"%2\" non è valido: scrivere solo cifre.").arg(what, text));
    return n;
}

QStandardItem* cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(align);
    return item;
}

// A caption whose mnemonic takes the focus to `buddy`.
QLabel* caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

// A list that asks for more rows when the view scrolls to its end.
class BillListModel : public QStandardItemModel {
public:
    using QStandardItemModel::QStandardItemModel;
    std::function<bool()> more;
    std::function<void()> fetch;
    bool canFetchMore(const QModelIndex& parent) const override {
        return !parent.isValid() && more && more();
    }
    void fetchMore(const QModelIndex& parent) override {
        if (!parent.isValid() && fetch) fetch();
    }
};

}  // namespace

CallingProgram::CallingProgram(std::shared_ptr<HostGlobal> host, std::shared_ptr<Connection> connection,
                               QWidget* parent)
    : QWidget(parent), host_(std::move(host)), connection_(std::move(connection)) {
    QGroupBox* filters = createFilters();
    createList();
    QHBoxLayout* foot = createFoot();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addWidget(tabs_, 1);
    layout->addLayout(foot);
    connectCount();
    connectSearch();
    connectActions();
    setKeyboardOrder();
}

QGroupBox* CallingProgram::createFilters() {
    auto* filters = new QGroupBox(QStringLiteral("Selezione effetti"), this);
    createFilterFields(filters);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Archivio"), archive_);
    auto* who = new QHBoxLayout;
    who->addWidget(counterpart_, 1);
    who->addWidget(caption(QStringLiteral("no&me contiene"), name_));
    who->addWidget(name_, 2);
    form->addRow(caption(QStringLiteral("&Cliente/fornitore o conto"), counterpart_), who);
    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("dal"), filters));
    dates->addWidget(dueFrom_);
    dates->addWidget(new QLabel(QStringLiteral("al"), filters));
    dates->addWidget(dueTo_);
    dates->addSpacing(24);
    dates->addWidget(caption(QStringLiteral("&ritardo al"), asOf_));
    dates->addWidget(asOf_);
    dates->addStretch();
    form->addRow(caption(QStringLiteral("&Scadenze"), dueFrom_), dates);
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(state_);
    kinds->addWidget(caption(QStringLiteral("Tipo &effetto"), billType_));
    kinds->addWidget(billType_);
    kinds->addWidget(caption(QStringLiteral("&Banca di presentazione"), bank_));
    kinds->addWidget(bank_, 1);
    form->addRow(caption(QStringLiteral("S&tato"), state_), kinds);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(amount_, 1);
    numbers->addWidget(caption(QStringLiteral("N. &documento"), document_));
    numbers->addWidget(document_);
    numbers->addWidget(caption(QStringLiteral("N. effetto"), billNumber_));
    numbers->addWidget(billNumber_);
    numbers->addStretch(1);
    form->addRow(caption(QStringLiteral("Importo €"), amount_), numbers);
    buttons_.search = new QPushButton(QStringLiteral("Cerca"), filters);
    buttons_.search->setToolTip(QStringLiteral("Cerca gli effetti (Invio)"));
    buttons_.search->setDefault(true);
    auto* filterRow = new QHBoxLayout(filters);
    filterRow->addLayout(form, 1);
    filterRow->addWidget(buttons_.search, 0, Qt::AlignBottom);
    return filters;
}

void CallingProgram::createFilterFields(QGroupBox* filters) {
    archive_ = new QComboBox(filters);
    archive_->addItem(QStringLiteral("Effetti clienti"), 0);
    archive_->addItem(QStringLiteral("Effetti fornitori"), 1);
    archive_->addItem(QStringLiteral("Effetti su conti (attivi)"), 2);
    archive_->addItem(QStringLiteral("Effetti su conti (passivi)"), 3);
    counterpart_ = new QLineEdit(filters);
    counterpart_->setPlaceholderText(QStringLiteral("tutti"));
    counterpart_->setMaxLength(20);
    name_ = new QLineEdit(filters);
    name_->setPlaceholderText(QStringLiteral("parte del nome o della descrizione del conto"));
    name_->setMaxLength(80);
    dueFrom_ = new QLineEdit(filters);
    dueTo_ = new QLineEdit(filters);
    for (QLineEdit* e : {dueFrom_, dueTo_}) e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    asOf_ = new QLineEdit(ItalianFormat::date(QDate::currentDate()), filters);
    asOf_->setToolTip(QStringLiteral("Il giorno a cui si contano i giorni di ritardo"));
    state_ = new QComboBox(filters);
    state_->addItem(QStringLiteral("Tutti"), -1);
    state_->addItem(QStringLiteral("Aperti"), 0);
    state_->addItem(QStringLiteral("Chiusi"), 1);
    billType_ = new QComboBox(filters);
    billType_->addItem(QStringLiteral("Tutti"), 0);
    for (const BillTypes::Type& t : BillTypes::all()) billType_->addItem(BillTypes::name(t.code), t.code);
    bank_ = new QComboBox(filters);
    fillBanks();
    amount_ = new QLineEdit(filters);
    amount_->setPlaceholderText(QStringLiteral("1.234,56 oppure 100..200"));
    amount_->setToolTip(QStringLiteral("L'importo in euro, esatto o da..a (un estremo può mancare)"));
    amount_->setMaxLength(40);
    document_ = new QLineEdit(filters);
    billNumber_ = new QLineEdit(filters);
    // Dates and numbers: short fields of at most ten characters.
    for (QLineEdit* e : {dueFrom_, dueTo_, asOf_, document_, billNumber_}) {
        e->setMaxLength(10);
        e->setMaximumWidth(110);
    }
}

void CallingProgram::fillBanks() {
    bank_->addItem(QStringLiteral("Tutte"), 0);
    try {
        const std::vector<ResultSet> banks = connection_->Query(BillListQueries::banks());
        for (const auto& row : banks.empty() ? std::vector<QVector<QVariant>>{} : banks.front().rows) {
            const int code = Value::toInt(Value::natural(row.value(0)));
            const QString name = Value::toText(row.value(1)).trimmed();
            bankNames_.insert(code, name);
            bank_->addItem(QStringLiteral("%1 - %2").arg(code).arg(name), code);
        }
    } catch (const SuiteError& e) {
        bank_->setToolTip(e.description());  // the list works without bank names
    }
}

void CallingProgram::createList() {
    auto* model = new BillListModel(0, BillListRows::ColCount, this);
    model->more = [this] { return rows_ && !rows_->atEnd(); };
    model->fetch = [this] { appendRows(Recordset::kPageSize); };
    model_ = model;
    model_->setHorizontalHeaderLabels(BillListRows::headings());
    list_ = new QTableView(this);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setSortIndicatorShown(true);
    list_->horizontalHeader()->setSortIndicator(BillListRows::ColDue, Qt::AscendingOrder);
    list_->setTabKeyNavigation(false);
    columns_ = new ColumnSizer(list_);
    columns_->fit();  // the headings whole before the first search
    ageing_ = new AgeingView(connection_, this);
    tabs_ = new QTabWidget(this);
    tabs_->addTab(list_, QStringLiteral("E&lenco"));
    tabs_->addTab(ageing_, QStringLiteral("Anzian&ità scaduto"));
}

QHBoxLayout* CallingProgram::createFoot() {
    status_ = new QLabel(this);
    // The totals may be long (a line per currency): they wrap rather than widen the window.
    status_->setWordWrap(true);
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // A slow count shows it is working, after a moment, and can be given up.
    countProgress_ = new QProgressBar(this);
    countProgress_->setRange(0, 0);
    countProgress_->setMaximumWidth(120);
    countProgress_->setTextVisible(false);
    countProgress_->hide();
    countCancel_ = new QPushButton(QStringLiteral("Annulla conte&ggio"), this);
    countCancel_->hide();
    countDelay_ = new QTimer(this);
    countDelay_->setSingleShot(true);
    countDelay_->setInterval(300);
    totals_ = new BackgroundRead(this);
    buttons_.print = new QPushButton(QStringLiteral("Stam&pa..."), this);
    buttons_.print->setToolTip(
        QStringLiteral("Stampa tutti gli effetti selezionati, o l'anzianità se è quella a video"));
    buttons_.exportList = new QPushButton(QStringLiteral("Sal&va in Excel..."), this);
    buttons_.exportList->setToolTip(QStringLiteral("Scrive tutti gli effetti selezionati in un file .xlsx"));
    output_ = new ListOutput(this);
    outputProgress_ = new QProgressBar(this);
    outputProgress_->setMaximumWidth(160);
    outputProgress_->hide();
    outputCancel_ = new QPushButton(QStringLiteral("Annulla"), this);
    outputCancel_->hide();
    buttons_.printBill = new QPushButton(QStringLiteral("Stampa e&ffetto..."), this);
    buttons_.open = new QPushButton(QStringLiteral("Apri effett&o"), this);
    // Alt+D is the document number's; every letter of the caption is taken by another field.
    buttons_.letters = new QPushButton(QStringLiteral("Lettere di sollecito..."), this);
    buttons_.letters->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    buttons_.letters->setToolTip(QStringLiteral(
        "Una lettera per cliente con i suoi effetti aperti e scaduti della selezione (Ctrl+L)"));
    buttons_.slip = new QPushButton(QStringLiteral("Presenta alla banca..."), this);
    buttons_.slip->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    buttons_.slip->setToolTip(QStringLiteral(
        "Una distinta per la banca con le Ri.Ba. o i RID aperti e non presentati della selezione (Ctrl+B)"));
    buttons_.newBill = new QPushButton(QStringLiteral("&Nuovo effetto"), this);
    auto* foot = new QHBoxLayout;
    foot->addWidget(status_, 1);
    foot->addWidget(countProgress_);
    foot->addWidget(countCancel_);
    foot->addWidget(outputProgress_);
    foot->addWidget(outputCancel_);
    foot->addWidget(buttons_.print);
    foot->addWidget(buttons_.exportList);
    foot->addWidget(buttons_.printBill);
    foot->addWidget(buttons_.letters);
    foot->addWidget(buttons_.slip);
    foot->addWidget(buttons_.newBill);
    foot->addWidget(buttons_.open);

    return foot;
}

void CallingProgram::connectCount() {
    connect(countDelay_, &QTimer::timeout, this, [this] {
        countProgress_->show();
        countCancel_->show();
    });
    connect(countCancel_, &QPushButton::clicked, this, [this] {
        totals_->cancel();
        countShown(QStringLiteral("Conteggio annullato: %1 effetti letti finora.").arg(model_->rowCount()));
    });
    // One scan answers the count and the sums together.
    connect(totals_, &BackgroundRead::answered, this, [this](const ResultSet& result) {
        try {
            const ListTotals totals = ListTotals::fromResult(result);
            selected_ = totals.count();
            countShown(totals.text());
        } catch (const SuiteError& e) {
            countShown(QString());
            showProblem(e.description());
        }
    });
    connect(totals_, &BackgroundRead::failed, this, [this](const QString& reason) {
        countShown(QString());
        showProblem(reason);
    });
}

void CallingProgram::connectSearch() {
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        const std::optional<BillFilter::Sort> sort = sortOf(column);
        if (sort) {
            sortDescending_ = sort == sort_ ? !sortDescending_ : false;
            sort_ = *sort;
        }
        list_->horizontalHeader()->setSortIndicator(
            columnOf(sort_), sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
        if (sort) search();
    });
    connect(buttons_.search, &QPushButton::clicked, this, [this] { search(); });
    // Choosing a tab (Alt+L, Alt+I) puts the clerk in what it shows; the ageing is read then.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        if (tab == 0) {
            list_->setFocus(Qt::TabFocusReason);
        } else {
            ageing_->read();
            ageing_->table()->setFocus(Qt::TabFocusReason);
        }
    });
    for (QLineEdit* e : {counterpart_, name_, dueFrom_, dueTo_, asOf_, amount_, document_, billNumber_})
        connect(e, &QLineEdit::returnPressed, this, [this] { search(); });
    counterpart_->installEventFilter(this);
    counterpart_->setToolTip(QStringLiteral("F3: cerca nell'archivio"));
    connect(ageing_, &AgeingView::counterpartChosen, this, &CallingProgram::showOpenBillsOf);
    // Enter searches from the choices as from the fields (with a list open, it picks its row).
    for (QComboBox* c : {archive_, state_, billType_, bank_}) c->installEventFilter(this);
}

void CallingProgram::setKeyboardOrder() {
    // Tab as the clerk reads the window: the filters row by row, the search, the tabs and what
    // they show, then the buttons at the foot from the left. The clerk starts from the first filter.
    QList<QWidget*> order{archive_,
                          counterpart_,
                          name_,
                          dueFrom_,
                          dueTo_,
                          asOf_,
                          state_,
                          billType_,
                          bank_,
                          amount_,
                          document_,
                          billNumber_,
                          buttons_.search,
                          tabs_->tabBar(),
                          list_,
                          ageing_->table(),
                          ageing_->cancelButton(),
                          ageing_->exportButton(),
                          countCancel_,
                          outputCancel_,
                          buttons_.print,
                          buttons_.exportList,
                          buttons_.printBill,
                          buttons_.letters,
                          buttons_.slip,
                          buttons_.newBill,
                          buttons_.open};
    tabOrder_.setWidgets(order);
    archive_->setFocus();
}

void CallingProgram::connectActions() {
    auto open = [this] {
        const QString key = selectedKey();
        if (!key.isEmpty()) emit openBill(filter_, key);
    };
    connect(buttons_.open, &QPushButton::clicked, this, open);
    connect(buttons_.print, &QPushButton::clicked, this, [this] {
        if (tabs_->currentWidget() == ageing_) {
            ReportPrinter::preview(viewHtml(), true, this);
            return;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPageOrientation(QPageLayout::Landscape);
        printer->setDocName(listTitle());
        QPrintDialog dialog(printer.get(), this);
        dialog.setWindowTitle(QStringLiteral("Stampa l'elenco"));
        if (dialog.exec() == QDialog::Accepted) printList(std::move(printer));
    });
    connect(buttons_.exportList, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Esporta l'elenco"),
                                                          QStringLiteral("effetti.xlsx"),
                                                          QStringLiteral("Cartella di Excel (*.xlsx)"));
        if (!path.isEmpty()) exportList(path);
    });
    connectOutput();
    connect(buttons_.printBill, &QPushButton::clicked, this, [this] {
        try {
            const BillReport::Page page = billPage();
            if (!page.html.isEmpty()) ReportPrinter::preview(page.html, false, this, page.title);
        } catch (const SuiteError& e) {
            showProblem(e.description());
        }
    });
    connect(buttons_.letters, &QPushButton::clicked, this, &CallingProgram::reminderLetters);
    connect(buttons_.slip, &QPushButton::clicked, this, [this] { presentToBank(); });
    connect(list_, &QTableView::activated, this, open);
    connect(buttons_.newBill, &QPushButton::clicked, this, [this] {
        BillFilter f;
        if (readFilter(f)) emit newBill(f);
    });
}

void CallingProgram::findByName(BillFilter& filter) const {
    const QString text = name_->text().trimmed();
    filter.byName = !text.isEmpty();
    filter.named.clear();
    if (!filter.byName) return;
    const CompanyContext& company = host_->CompanyContext();
    const std::vector<ResultSet> found = connection_->Query(
        connection_->dialect().limited(BillListQueries::codesByName(company.company, filter.tipoArchivio,
                                                                    company.parameters.ledgerGroup, text),
                                       kMostNamed + 1));
    for (const auto& row : found.empty() ? std::vector<QVector<QVariant>>{} : found.front().rows)
        filter.named << Value::toText(Value::natural(row.value(0))).trimmed();
    if (filter.named.isEmpty())
        throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Selezione effetti"),
                         QStringLiteral("Nessuna controparte dell'archivio ha \"%1\" nel nome.").arg(text));
    if (filter.named.size() > kMostNamed)
        throw SuiteError(
            SuiteError::kTypeMismatch, QStringLiteral("Selezione effetti"),
            QStringLiteral("Più di %1 controparti hanno \"%2\" nel nome: scrivere qualche lettera in più.")
                .arg(kMostNamed)
                .arg(text));
}

void CallingProgram::setToday(const QDate& today) {
    asOf_->setText(ItalianFormat::date(today));
}

bool CallingProgram::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == counterpart_ &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3) {
        lookUpCounterpart();
        return true;
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            search();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool CallingProgram::focusNextPrevChild(bool next) {
    return tabOrder_.move(next) || QWidget::focusNextPrevChild(next);
}

void CallingProgram::keepColumnWidths() {
    columns_->keep();
}

void CallingProgram::showProblem(const QString& text) {
    status_->setText(text);
    status_->setStyleSheet(text.isEmpty() ? QString() : QStringLiteral("color: #b03a2e;"));
}

bool CallingProgram::readFilter(BillFilter& filter) {
    try {
        filter.tipoArchivio = archive_->currentData().toInt();
        filter.counterpart = counterpart_->text().trimmed();
        findByName(filter);
        filter.dueFrom = readDate(dueFrom_, QStringLiteral("iniziale"));
        filter.dueTo = readDate(dueTo_, QStringLiteral("finale"));
        filter.state = state_->currentData().toInt();
        filter.billType = billType_->currentData().toInt();
        filter.bank = bank_->currentData().toInt();
        readSearch(filter);
        const QDate asOf = readDate(asOf_, QStringLiteral("del ritardo"));
        if (!asOf.isValid())
            throw SuiteError(SuiteError::kTypeMismatch, QStringLiteral("Selezione effetti"),
                             QStringLiteral("Scrivere il giorno a cui contare i giorni di ritardo."));
        today_ = asOf;
        filter.sort = sort_;
        filter.descending = sortDescending_;
        filter.selectionText();  // validates codes and the date range
        return true;
    } catch (const SuiteError& e) {
        showProblem(e.description());
        return false;
    }
}

int CallingProgram::search() {
    BillFilter f;
    if (!readFilter(f)) return -1;
    totals_->cancel();
    filter_ = f;
    model_->removeRows(0, model_->rowCount());
    rows_.reset();
    selected_ = -1;
    const CompanyContext& company = host_->CompanyContext();
    auto names = std::make_shared<CounterpartNames>(connection_, company.company, f.tipoArchivio,
                                                    company.parameters.ledgerGroup);
    const HeaderQuery q = query(f);
    selection_ = q;
    try {
        rows_ =
            std::make_shared<BillListRows>(connection_, q, today_, bankNames_, names, Recordset::kPageSize);
        appendRows(Recordset::kPageSize);
    } catch (const SuiteError& e) {
        showProblem(e.description());
        return -1;
    }
    searched_ = true;
    columns_->fit();
    if (model_->rowCount() > 0) list_->selectRow(0);
    showProblem(QString());
    status_->setText(QStringLiteral("Conteggio degli effetti in corso..."));
    totals_->start(connection_, ListTotals::query(q.selectText(), today_));
    ageing_->setSelection(q.selectText(), f.tipoArchivio, company.company, company.parameters.ledgerGroup,
                          today_);
    if (tabs_->currentWidget() == ageing_) ageing_->read();
    counting_ = true;
    countDelay_->start();
    return model_->rowCount();
}

HeaderQuery CallingProgram::query(const BillFilter& f) const {
    const CompanyContext& company = host_->CompanyContext();
    HeaderQuery q;
    q.selection = f.selectionText();
    q.order = f.orderText();
    q.tipoArchivio = f.tipoArchivio;
    q.company = company.company;
    q.ledgerGroup = company.parameters.ledgerGroup;
    q.customerAccount = company.parameters.customerAccount;
    q.supplierAccount = company.parameters.supplierAccount;
    return q;
}

void CallingProgram::reminderLetters() {
    if (!rows_) {
        showProblem(QStringLiteral("Cercare prima gli effetti a cui scrivere le lettere di sollecito."));
        return;
    }
    if (filter_.tipoArchivio != 0) {
        showProblem(
            QStringLiteral("Le lettere di sollecito si scrivono ai clienti: scegliere \"Effetti clienti\"."));
        return;
    }
    LetterRun(connection_, host_->CompanyContext().company)
        .runFromList(selection_.selectText(), today_, this);
}

void CallingProgram::presentToBank(const std::function<void(QDialog&)>& shown) {
    if (!rows_) {
        showProblem(QStringLiteral("Cercare prima gli effetti da presentare alla banca."));
        return;
    }
    if (filter_.tipoArchivio != 0) {
        showProblem(QStringLiteral(
            "Si presentano alla banca gli effetti dei clienti: scegliere \"Effetti clienti\"."));
        return;
    }
    SlipDialog dialog(connection_, host_->CompanyContext().company, selection_.selectText(), today_,
                      &SlipFiles::check, this);
    if (shown) shown(dialog);
    dialog.exec();
    if (const std::optional<SlipKey>& slip = dialog.written()) {
        search();
        emit slipPresented(QStringLiteral("%1/%2/%3").arg(slip->kind).arg(slip->year).arg(slip->number));
    }
}

void CallingProgram::countShown(const QString& text) {
    counting_ = false;
    countDelay_->stop();
    countProgress_->hide();
    countCancel_->hide();
    showProblem(QString());
    status_->setText(text);
}

void CallingProgram::appendRows(int count) {
    if (!rows_) return;
    try {
        const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
        for (const ListRow& r : rows_->next(count)) {
            const QStringList texts = BillListRows::texts(r);
            QList<QStandardItem*> row;
            for (int c = 0; c < BillListRows::ColCount; ++c)
                row << cell(texts[c], BillListRows::rightAligned(c, filter_.tipoArchivio)
                                          ? right
                                          : Qt::AlignLeft | Qt::AlignVCenter);
            if (r.overdue > 0) row[BillListRows::ColOverdue]->setForeground(QColor(0xb0, 0x3a, 0x2e));
            row[BillListRows::ColNumber]->setData(r.key, Qt::UserRole);
            model_->appendRow(row);
        }
    } catch (const SuiteError& e) {
        // The rows listed stay; the reason is shown and the list reads no further.
        showProblem(e.description());
        rows_.reset();
    }
}

QString CallingProgram::viewHtml() const {
    const QString archive = archive_->itemText(archive_->findData(filter_.tipoArchivio));
    return ReportPrinter::tableHtml(
        *ageing_->table()->model(),
        QStringLiteral("%1: anzianità dello scaduto al %2").arg(archive, ItalianFormat::date(today_)),
        ageing_->statusLabel()->text());
}

QString CallingProgram::listTitle() const {
    const QString archive = archive_->itemText(archive_->findData(filter_.tipoArchivio));
    return QStringLiteral("%1: elenco al %2").arg(archive, ItalianFormat::date(today_));
}

void CallingProgram::readSearch(BillFilter& filter) const {
    const QString text = amount_->text().trimmed();
    filter.amountFrom.reset();
    filter.amountTo.reset();
    const qsizetype range = text.indexOf(QStringLiteral(".."));
    if (range < 0 && !text.isEmpty()) {
        filter.amountFrom = filter.amountTo = readAmount(text);
    } else if (range >= 0) {
        const QString from = text.left(range).trimmed();
        const QString to = text.mid(range + 2).trimmed();
        if (to.contains(QLatin1Char('.')) && to.startsWith(QLatin1Char('.')))
            refuse(QStringLiteral("L'intervallo di importi \"%1\" non è valido: scriverlo come 100..200.")
                       .arg(text));
        if (from.isEmpty() && to.isEmpty())
            refuse(QStringLiteral("Scrivere almeno un estremo dell'intervallo di importi, come 100..200."));
        if (!from.isEmpty()) filter.amountFrom = readAmount(from);
        if (!to.isEmpty()) filter.amountTo = readAmount(to);
    }
    filter.document = readWhole(document_, QStringLiteral("di documento"));
    filter.billNumber = readWhole(billNumber_, QStringLiteral("di effetto"));
}

void CallingProgram::lookUpCounterpart() {
    const CompanyContext& company = host_->CompanyContext();
    const int archive = archive_->currentData().toInt();
    const ArchiveConnector connector =
        archive <= 1
            ? ArchiveConnector(ArchiveConnector::Archive::Customers,
                               {company.company, archive, ArchiveConnector::dateKey(QDate::currentDate())})
            : ArchiveConnector(ArchiveConnector::Archive::LedgerAccounts, {company.parameters.ledgerGroup});
    try {
        LookupDialog list(LookupRequest::of(connector.lookup(), connection_->ConnectionString()), QString(),
                          this);
        if (list.exec() != QDialog::Accepted) return;
        const QVariant chosen = list.chosen();
        if (Value::isNull(chosen)) return;
        counterpart_->setText(Value::toText(Value::natural(chosen)).trimmed());
        name_->clear();
    } catch (const SuiteError& e) {
        showProblem(e.description());
    }
    counterpart_->setFocus(Qt::OtherFocusReason);
}

void CallingProgram::showOpenBillsOf(const QString& code) {
    counterpart_->setText(code);
    name_->clear();
    state_->setCurrentIndex(state_->findData(0));
    tabs_->setCurrentWidget(list_);
    search();
}

void CallingProgram::connectOutput() {
    connect(output_, &ListOutput::progress, this, [this](int rows) {
        // Against the count when it is known; else the bar only shows that it works.
        if (selected_ > 0) {
            outputProgress_->setRange(0, selected_);
            outputProgress_->setValue(std::min(rows, selected_));
        }
        outputProgress_->setFormat(QStringLiteral("%1 effetti").arg(rows));
    });
    auto done = [this] {
        outputProgress_->hide();
        outputCancel_->hide();
        buttons_.print->setEnabled(true);
        buttons_.exportList->setEnabled(true);
    };
    connect(output_, &ListOutput::finished, this, [this, done](const ListTotals& totals) {
        done();
        showProblem(QString());
        status_->setText(outputWhat_ + QStringLiteral(": ") + totals.text());
    });
    connect(output_, &ListOutput::failed, this, [this, done](const QString& reason) {
        done();
        showProblem(reason);
    });
    connect(outputCancel_, &QPushButton::clicked, this, [this, done] {
        output_->cancel();
        done();
        showProblem(QString());
        status_->setText(outputWhat_ + QStringLiteral(" annullata: nessun file scritto."));
    });
}

bool CallingProgram::startOutput(const QString& what, std::function<std::unique_ptr<ListSink>()> makeSink) {
    if (!searched_) {
        showProblem(QStringLiteral("Cercare prima gli effetti da stampare o esportare."));
        return false;
    }
    if (output_->running()) {
        showProblem(QStringLiteral("Una stampa o un'esportazione dell'elenco è già in corso."));
        return false;
    }
    outputWhat_ = what;
    buttons_.print->setEnabled(false);
    buttons_.exportList->setEnabled(false);
    outputProgress_->setRange(0, 0);
    outputProgress_->setFormat(QString());
    outputProgress_->show();
    outputCancel_->show();
    status_->setText(what + QStringLiteral(" in corso..."));
    output_->start(connection_, {selection_, today_, bankNames_}, std::move(makeSink));
    return true;
}

bool CallingProgram::printList(std::unique_ptr<QPrinter> printer) {
    // "Print to file" in the dialog asks for a PDF: written straight, not through a painter.
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty())
        return printListToPdf(printer->outputFileName());
    std::shared_ptr<QPrinter> shared(std::move(printer));
    const QString title = listTitle();
    const int archive = filter_.tipoArchivio;
    return startOutput(QStringLiteral("Stampa"), [shared, title, archive]() -> std::unique_ptr<ListSink> {
        return std::make_unique<ListPrint>(*shared, title, archive);
    });
}

bool CallingProgram::printListToPdf(const QString& pdf) {
    const QString title = listTitle();
    const int archive = filter_.tipoArchivio;
    QString author;
    try {
        author = LetterBuilder(connection_, host_->CompanyContext().company).sender().name;
    } catch (const SuiteError&) {
        // The file's author is a courtesy: a print goes on without it, and a database that went
        // away is told by the print itself.
    }
    return startOutput(QStringLiteral("Stampa"),
                       [pdf, title, author, archive]() -> std::unique_ptr<ListSink> {
                           return std::make_unique<ListPdf>(pdf, title, author, archive);
                       });
}

bool CallingProgram::exportList(const QString& xlsx) {
    const QString title = listTitle();
    return startOutput(QStringLiteral("Esportazione"), [xlsx, title]() -> std::unique_ptr<ListSink> {
        return std::make_unique<ListSpreadsheet>(xlsx, title);
    });
}

bool CallingProgram::outputDone() const {
    return !output_->running() && outputProgress_->isHidden();
}

BillReport::Page CallingProgram::billPage() const {
    const QString key = selectedKey();
    if (key.isEmpty()) return {};
    return BillReport(connection_, filter_.tipoArchivio, host_->CompanyContext().parameters.ledgerGroup)
        .page(key, today_.isValid() ? today_ : QDate::currentDate());
}

QString CallingProgram::selectedKey() const {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) return QString();
    return model_->item(current.row(), BillListRows::ColNumber)->data(Qt::UserRole).toString();
}
