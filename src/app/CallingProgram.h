#pragma once

#include "BillFilter.h"
#include "BillReport.h"
#include "HeaderQuery.h"
#include "TabOrder.h"

#include <QDate>
#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>

class AgeingView;
class BackgroundRead;
class BillListRows;
class ListOutput;
class ListSink;
class ListTotals;
class ColumnSizer;
class Connection;
class HostGlobal;
class QComboBox;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPrinter;
class QPushButton;
class QTimer;
class QTabWidget;
class QStandardItemModel;
class QTableView;

// The program from which a clerk reaches the bill detail: filters (archive, counterpart,
// due dates, state, bill type, presentation bank), the list of the Bills they select with the
// counterparts' names and the days overdue, sorted by the column the clerk clicks, the
// selection's count and sum, the ageing of its open Bills beside the list, and the module
// opened on the chosen Bill or on a new one with the same selection and order.
class CallingProgram : public QWidget {
    Q_OBJECT
public:
    CallingProgram(std::shared_ptr<HostGlobal> host, std::shared_ptr<Connection> connection,
                   QWidget* parent = nullptr);

    // Reads the filters; false, with the reason shown under them, when one is not valid.
    bool readFilter(BillFilter& filter);
    // Runs the search: the list shows the first page of the selection and reads on as the clerk
    // scrolls; answers the Bills listed, -1 when the filters or the selection were refused. The
    // number of Bills selected and their sum in euro follow in the status line, read in the
    // background; `countDone` tells when they are there.
    int search();
    bool countDone() const { return !counting_; }
    // The whole selection of the last search, in the list's order: the query the list reads (its
    // text without ORDER BY, and its order), for whoever works on every Bill the clerk selected.
    HeaderQuery selectionQuery() const { return selection_; }
    // The whole selection printed on `printer` (already set up) or written to a PDF or an .xlsx
    // file, in the background: the progress shows under the list with a cancel, and
    // `outputDone` tells when it ended (the outcome is in the status line). False, with the
    // reason shown, when there is no selection to print.
    bool printList(std::unique_ptr<QPrinter> printer);
    bool printListToPdf(const QString& pdf);
    bool exportList(const QString& xlsx);
    bool outputDone() const;
    // The ageing tab as a printed page.
    QString viewHtml() const;
    // The selected Bill's page; empty when none is selected. Throws SuiteError when it cannot be
    // read.
    BillReport::Page billPage() const;
    // The key of the selected Bill as "company,numreg,row,progec,progeff"; empty when none.
    QString selectedKey() const;
    const BillFilter& filter() const { return filter_; }
    // The day the days overdue are counted to, as if the clerk typed it; today unless set.
    void setToday(const QDate& today);
    // The list's columns keep the widths shown (the clerk's saved ones) instead of fitting the rows.
    void keepColumnWidths();

    QLineEdit* counterpartEdit() const { return counterpart_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* dueFromEdit() const { return dueFrom_; }
    QLineEdit* dueToEdit() const { return dueTo_; }
    QLineEdit* asOfEdit() const { return asOf_; }
    QLineEdit* amountEdit() const { return amount_; }
    QLineEdit* documentEdit() const { return document_; }
    QLineEdit* billNumberEdit() const { return billNumber_; }
    QComboBox* archiveCombo() const { return archive_; }
    QComboBox* stateCombo() const { return state_; }
    QComboBox* billTypeCombo() const { return billType_; }
    QComboBox* bankCombo() const { return bank_; }
    QTabWidget* tabs() const { return tabs_; }
    AgeingView* ageingView() const { return ageing_; }
    QTableView* list() const { return list_; }
    QLabel* statusLabel() const { return status_; }
    QPushButton* countCancelButton() const { return countCancel_; }
    QPushButton* printButton() const { return buttons_.print; }
    QPushButton* exportButton() const { return buttons_.exportList; }
    QPushButton* outputCancelButton() const { return outputCancel_; }
    // F3 in the counterpart field: the archive's search list, the code chosen written in the field.
    void lookUpCounterpart();
    // The open Bills of one counterpart in the list (from a row of the ageing).
    void showOpenBillsOf(const QString& code);
    QPushButton* lettersButton() const { return buttons_.letters; }
    QPushButton* slipButton() const { return buttons_.slip; }
    // "Presenta alla banca": the slip dialog over the selection; the list read again once a slip
    // was written. The dialog is handed to `shown` before it runs (for whoever drives it).
    void presentToBank(const std::function<void(QDialog&)>& shown = {});

signals:
    void openBill(const BillFilter& filter, const QString& key);
    void newBill(const BillFilter& filter);
    // A slip was presented from the list: "kind/year/number", for its bank file.
    void slipPresented(const QString& slip);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The most counterparts a search by name hands over as a list of codes.
    static constexpr int kMostNamed = 200;

    // The window's parts, built and wired in this order by the constructor.
    QGroupBox* createFilters();
    void createFilterFields(QGroupBox* filters);
    void fillBanks();
    void createList();
    QHBoxLayout* createFoot();
    void connectCount();
    void connectSearch();
    void connectActions();
    void setKeyboardOrder();

    void showProblem(const QString& text);
    // The query of the Bills `f` selects, for this company.
    HeaderQuery query(const BillFilter& f) const;
    // The reminder letters of the selection listed: one per customer with overdue Bills.
    void reminderLetters();
    // The codes of the counterparts whose name holds the text in the name field; throws
    // SuiteError when none or too many do.
    void findByName(BillFilter& filter) const;
    // The next Bills of the selection into the list; as the clerk scrolls down, more follow.
    void appendRows(int count);
    // The count's outcome in the status line, its progress put away.
    void countShown(const QString& text);
    // Reads the amount, document and Bill number searched for.
    void readSearch(BillFilter& filter) const;
    void connectOutput();
    bool startOutput(const QString& what, std::function<std::unique_ptr<ListSink>()> makeSink);
    QString listTitle() const;

    std::shared_ptr<HostGlobal> host_;
    std::shared_ptr<Connection> connection_;
    BillFilter filter_;
    HeaderQuery selection_;
    std::shared_ptr<BillListRows> rows_;  // the selection, read page by page
    QComboBox* archive_;
    QLineEdit* counterpart_;
    QLineEdit* name_;
    QLineEdit* dueFrom_;
    QLineEdit* dueTo_;
    QLineEdit* asOf_;
    QLineEdit* amount_;
    QLineEdit* document_;
    QLineEdit* billNumber_;
    QComboBox* state_;
    QComboBox* billType_;
    QComboBox* bank_;
    QHash<int, QString> bankNames_;
    BillFilter::Sort sort_ = BillFilter::Sort::Due;
    bool sortDescending_ = false;
    QDate today_;  // read from asOf_ with the other filters
    QTabWidget* tabs_;
    AgeingView* ageing_;
    QTableView* list_;
    ColumnSizer* columns_;
    QStandardItemModel* model_;
    QLabel* status_;
    QProgressBar* countProgress_;
    QPushButton* countCancel_;
    QTimer* countDelay_;      // a count that ends quickly shows no progress at all
    BackgroundRead* totals_;  // the count and the sums, in one scan
    bool counting_ = false;
    int selected_ = -1;  // Bills of the selection, once counted
    bool searched_ = false;
    QString outputWhat_;  // "Stampa", "Esportazione"
    ListOutput* output_;
    QProgressBar* outputProgress_;
    QPushButton* outputCancel_;
    TabOrder tabOrder_;
    struct Buttons {
        QPushButton* search = nullptr;
        QPushButton* print = nullptr;
        QPushButton* exportList = nullptr;
        QPushButton* printBill = nullptr;
        QPushButton* open = nullptr;
        QPushButton* newBill = nullptr;
        QPushButton* letters = nullptr;
        QPushButton* slip = nullptr;
    } buttons_;
};
