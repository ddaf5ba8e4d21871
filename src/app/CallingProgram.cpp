#include "CallingProgram.h"

#include "Connection.h"
#include "HeaderQuery.h"
#include "HostGlobal.h"
#include "Recordset.h"
#include "SelectionCount.h"
#include "SuiteError.h"
#include "Value.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace {

enum Column { ColNumber, ColDue, ColAmount, ColCurrency, ColCounterpart, ColDocument, ColState, ColCount };

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

QStandardItem* cell(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(align);
    return item;
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
    auto* filters = new QGroupBox(QStringLiteral("Selezione effetti"), this);
    auto* form = new QFormLayout;
    archive_ = new QComboBox(filters);
    archive_->addItem(QStringLiteral("Effetti clienti"), 0);
    archive_->addItem(QStringLiteral("Effetti fornitori"), 1);
    archive_->addItem(QStringLiteral("Effetti su conti (attivi)"), 2);
    archive_->addItem(QStringLiteral("Effetti su conti (passivi)"), 3);
    counterpart_ = new QLineEdit(filters);
    counterpart_->setPlaceholderText(QStringLiteral("tutti"));
    counterpart_->setMaxLength(20);
    dueFrom_ = new QLineEdit(filters);
    dueTo_ = new QLineEdit(filters);
    for (QLineEdit* e : {dueFrom_, dueTo_}) {
        e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
        e->setMaxLength(10);
        e->setMaximumWidth(110);
    }
    auto* dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("dal"), filters));
    dates->addWidget(dueFrom_);
    dates->addWidget(new QLabel(QStringLiteral("al"), filters));
    dates->addWidget(dueTo_);
    dates->addStretch();
    state_ = new QComboBox(filters);
    state_->addItem(QStringLiteral("Tutti"), -1);
    state_->addItem(QStringLiteral("Aperti"), 0);
    state_->addItem(QStringLiteral("Chiusi"), 1);
    form->addRow(QStringLiteral("&Archivio"), archive_);
    auto* counterpartLabel = new QLabel(QStringLiteral("&Cliente/fornitore o conto"), filters);
    counterpartLabel->setBuddy(counterpart_);
    form->addRow(counterpartLabel, counterpart_);
    auto* dueLabel = new QLabel(QStringLiteral("&Scadenze"), filters);
    dueLabel->setBuddy(dueFrom_);
    form->addRow(dueLabel, dates);
    form->addRow(QStringLiteral("S&tato"), state_);
    auto* searchButton = new QPushButton(QStringLiteral("&Cerca"), filters);
    searchButton->setDefault(true);
    auto* filterRow = new QHBoxLayout(filters);
    filterRow->addLayout(form, 1);
    filterRow->addWidget(searchButton, 0, Qt::AlignBottom);

    auto* model = new BillListModel(0, ColCount, this);
    model->more = [this] { return rows_ && !rows_->AtEOF(); };
    model->fetch = [this] { appendRows(Recordset::kPageSize); };
    model_ = model;
    model_->setHorizontalHeaderLabels({QStringLiteral("Numero"), QStringLiteral("Scadenza"),
                                       QStringLiteral("Importo"), QStringLiteral("Valuta"),
                                       QStringLiteral("Cliente/fornitore o conto"),
                                       QStringLiteral("Documento"), QStringLiteral("Stato")});
    list_ = new QTableView(this);
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAlternatingRowColors(true);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setTabKeyNavigation(false);

    status_ = new QLabel(this);
    // A slow count shows it is working, after a moment, and can be given up.
    countProgress_ = new QProgressBar(this);
    countProgress_->setRange(0, 0);
    countProgress_->setMaximumWidth(120);
    countProgress_->setTextVisible(false);
    countProgress_->hide();
    countCancel_ = new QPushButton(QStringLiteral("Annulla &conteggio"), this);
    countCancel_->hide();
    countDelay_ = new QTimer(this);
    countDelay_->setSingleShot(true);
    countDelay_->setInterval(300);
    count_ = new SelectionCount(this);
    auto* openButton = new QPushButton(QStringLiteral("&Apri effetto"), this);
    auto* newButton = new QPushButton(QStringLiteral("&Nuovo effetto"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(countProgress_);
    buttons->addWidget(countCancel_);
    buttons->addWidget(newButton);
    buttons->addWidget(openButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);

    connect(countDelay_, &QTimer::timeout, this, [this] {
        countProgress_->show();
        countCancel_->show();
    });
    connect(countCancel_, &QPushButton::clicked, this, [this] {
        count_->cancel();
        countShown(QStringLiteral("Conteggio annullato: %1 effetti letti finora.").arg(model_->rowCount()));
    });
    connect(count_, &SelectionCount::counted, this,
            [this](qint64 bills) { countShown(QStringLiteral("%1 effetti").arg(bills)); });
    connect(count_, &SelectionCount::failed, this, [this](const QString& reason) {
        countShown(QString());
        showProblem(reason);
    });
    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    for (QLineEdit* e : {counterpart_, dueFrom_, dueTo_})
        connect(e, &QLineEdit::returnPressed, this, [this] { search(); });
    auto open = [this] {
        const QString key = selectedKey();
        if (!key.isEmpty()) emit openBill(filter_, key);
    };
    connect(openButton, &QPushButton::clicked, this, open);
    connect(list_, &QTableView::activated, this, open);
    connect(newButton, &QPushButton::clicked, this, [this] {
        BillFilter f;
        if (readFilter(f)) emit newBill(f);
    });
}

void CallingProgram::showProblem(const QString& text) {
    status_->setText(text);
    status_->setStyleSheet(text.isEmpty() ? QString() : QStringLiteral("color: #b03a2e;"));
}

bool CallingProgram::readFilter(BillFilter& filter) {
    try {
        filter.tipoArchivio = archive_->currentData().toInt();
        filter.counterpart = counterpart_->text().trimmed();
        filter.dueFrom = readDate(dueFrom_, QStringLiteral("iniziale"));
        filter.dueTo = readDate(dueTo_, QStringLiteral("finale"));
        filter.state = state_->currentData().toInt();
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
    count_->cancel();
    filter_ = f;
    model_->removeRows(0, model_->rowCount());
    rows_.reset();
    const CompanyContext& company = host_->CompanyContext();
    HeaderQuery q;
    q.selection = f.selectionText();
    q.order = BillFilter::orderText();
    q.tipoArchivio = f.tipoArchivio;
    q.company = company.company;
    q.ledgerGroup = company.parameters.ledgerGroup;
    q.customerAccount = company.parameters.customerAccount;
    q.supplierAccount = company.parameters.supplierAccount;
    try {
        auto rs = std::make_shared<Recordset>();
        rs->OpenPaged(q.selectText(), q.orderText(), connection_);
        rows_ = rs;
        appendRows(Recordset::kPageSize);
    } catch (const SuiteError& e) {
        showProblem(e.description());
        return -1;
    }
    list_->resizeColumnsToContents();
    if (model_->rowCount() > 0) list_->selectRow(0);
    showProblem(QString());
    status_->setText(QStringLiteral("Conteggio degli effetti in corso..."));
    count_->start(connection_, QStringLiteral("SELECT COUNT(*) FROM (\r\n") + q.selectText() +
                                   QStringLiteral("\r\n) KVCOUNT"));
    counting_ = true;
    countDelay_->start();
    return model_->rowCount();
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
    Recordset& rs = *rows_;
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    try {
        for (int added = 0; added < count && !rs.AtEOF(); ++added, rs.MoveNext()) {
            auto text = [&](const char* column) {
                return Value::toText(rs.Fields(QString::fromLatin1(column)).Value()).trimmed();
            };
            QList<QStandardItem*> row;
            row << cell(text("EF01_NUMEFF"), Qt::AlignRight | Qt::AlignVCenter);
            row << cell(Value::toDate(rs.Fields(QStringLiteral("EF01_SCADE_S")).Value())
                            .toString(QStringLiteral("dd/MM/yyyy")));
            row << cell(
                italian.toString(
                    Value::toDecimal(rs.Fields(QStringLiteral("EF01_IMPEFF_S")).Value()).toDouble(), 'f', 2),
                Qt::AlignRight | Qt::AlignVCenter);
            const QString currency = text("EF01_CODICE_CG08");
            row << cell(currency.isEmpty() ? QStringLiteral("EURO") : currency);
            row << cell(filter_.tipoArchivio <= 1 ? text("EF01_CLIFOR_CG44") : text("EF01_CONTO_CG24"));
            row << cell(text("EF01_NUMDOC") +
                        (text("EF01_DATADOC").isEmpty()
                             ? QString()
                             : QStringLiteral(" del ") +
                                   Value::toDate(rs.Fields(QStringLiteral("EF01_DATADOC")).Value())
                                       .toString(QStringLiteral("dd/MM/yyyy"))));
            row << cell(Value::toInt(rs.Fields(QStringLiteral("EF01_INDSTATO_S")).Value()) == 1
                            ? QStringLiteral("Chiuso")
                            : QStringLiteral("Aperto"));
            const QString key =
                QStringList{text("EF01_DITTA_CG18"), text("EF01_NUMREG_CO99"), text("EF01_RIGACONT_CG42"),
                            text("EF01_PROGEC_EC01"), text("EF01_PROGEFF")}
                    .join(QLatin1Char(','));
            row[0]->setData(key, Qt::UserRole);
            model_->appendRow(row);
        }
    } catch (const SuiteError& e) {
        // The rows listed stay; the reason is shown and the list reads no further.
        showProblem(e.description());
        rows_.reset();
    }
}

QString CallingProgram::selectedKey() const {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid()) return QString();
    return model_->item(current.row(), ColNumber)->data(Qt::UserRole).toString();
}
