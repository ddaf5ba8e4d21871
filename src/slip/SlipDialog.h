#pragma once

#include "CompanyBank.h"
#include "SlipBill.h"
#include "SlipFilter.h"
#include "SlipKey.h"
#include "SlipWriter.h"

#include <QDialog>
#include <memory>
#include <optional>

class Connection;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

// "Presenta alla banca": of the calling list's selection, the open customer Bills of one type
// due in a range and not yet presented, each with a tick (all on); the company bank they go to,
// its presentation bank and agency decoded; the count and total of the ticked ones. "Presenta"
// writes the slip and shows its kind, year and number; a refusal is shown under the list and
// the choices stay as they were.
class SlipDialog : public QDialog {
    Q_OBJECT
public:
    SlipDialog(std::shared_ptr<Connection> connection, qint32 company, QString source, const QDate& today,
               SlipCheck check = {}, QWidget* parent = nullptr);

    // Reads the Bills for the choices typed; false, with the reason shown, when one is wrong.
    bool search();
    // Writes the slip of the ticked Bills; false, with the reason shown, when it was refused.
    bool present();
    const std::optional<SlipKey>& written() const { return written_; }

    QComboBox* typeCombo() const { return type_; }
    QLineEdit* dueFromEdit() const { return dueFrom_; }
    QLineEdit* dueToEdit() const { return dueTo_; }
    QComboBox* bankCombo() const { return bank_; }
    QLabel* bankLabel() const { return bankDecoded_; }
    QTableView* list() const { return list_; }
    QStandardItemModel* model() const { return model_; }
    QLabel* totalLabel() const { return total_; }
    QLabel* problemLabel() const { return problem_; }
    QLabel* outcomeLabel() const { return outcome_; }
    QPushButton* presentButton() const { return present_; }

private:
    void fillBanks();
    void showBank();
    void showTotal();
    void showProblem(const QString& text);
    // The filter as typed, or nullopt with the reason shown.
    std::optional<SlipFilter> typedFilter();
    QList<SlipBill> ticked() const;

    std::shared_ptr<Connection> connection_;
    qint32 company_;
    SlipCheck check_;
    QString source_;
    QDate today_;
    QList<CompanyBank> banks_;
    QList<SlipBill> bills_;
    SlipFilter listed_;
    std::optional<SlipKey> written_;

    QComboBox* type_;
    QLineEdit* dueFrom_;
    QLineEdit* dueTo_;
    QComboBox* bank_;
    QLabel* bankDecoded_;
    QTableView* list_;
    QStandardItemModel* model_;
    QLabel* total_;
    QLabel* problem_;
    QLabel* outcome_;
    QPushButton* search_;
    QPushButton* present_;
    QPushButton* cancel_;
};
