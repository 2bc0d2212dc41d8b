// The coefficient editor TForm5 ("计算设置"): a read-only grid of table nzhi,
// the value box DBEdit1 for N of the current row and the rule text DBText1.
// Edits are held in the model until "保  存" writes them to db1.mdb in one
// transaction; closing the dialog discards them.
#pragma once

#include <QDialog>
#include <QSqlTableModel>
#include <functional>
#include <map>
#include <memory>

#include "dialogs/dialogs.h"
#include "settings/coefficient_store.h"

class QDataWidgetMapper;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace wormgear {

// nzhi as the editor shows it: numbers as FormatReal prints them, and the
// current row marked in the row header the way a data grid's indicator does.
class CoefficientTableModel : public QSqlTableModel {
 public:
    CoefficientTableModel(char decimalSeparator, const QSqlDatabase& database)
        : QSqlTableModel(nullptr, database), separator_(decimalSeparator) {}
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void setIndicatorRow(int row);

    // Rows the last batch write sent to the file before it ended.
    int rowsWritten() const { return rowsWritten_; }
    void startBatch() { rowsWritten_ = 0; }

 protected:
    bool updateRowInTable(int row, const QSqlRecord& values) override;

 private:
    const char separator_;
    int indicatorRow_ = -1;
    int rowsWritten_ = 0;
};

class TForm5 : public QDialog {
    Q_OBJECT

 public:
    // reloadMainWindow runs the main window's load routine (FormShow) after
    // each save that wrote the file; a failed save keeps the main window's
    // coefficients and the edits pending.
    // Numbers are shown and read with `decimalSeparator`.
    TForm5(const QString& programDirectory, char decimalSeparator, Dialogs& dialogs,
           std::function<void()> reloadMainWindow, QWidget* parent = nullptr);
    ~TForm5() override;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* DBEdit1;
    QLabel* DBText1;
    QTableView* DBGrid1;
    QPushButton* Button1;
    QPushButton* Button2;

    void FormShow();
    void Button1Click();
    void Button2Click();
    void FormClose();

    // The table is open between a successful show and the close.
    bool isTableOpen() const { return ADOTable1 != nullptr; }
    // The row DBEdit1 and DBText1 show, -1 while the table is closed or empty.
    int currentRow() const { return editedRow_; }

 protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

 private:
    void openTable();
    void closeTable();
    // Opens the table on a new connection with the pending changes applied
    // anew: a connection that failed to write may stay unable to (opened while
    // the file was read-only, or left in error by a full disk).
    void reopenTable();
    void centreOnScreen();
    void showRow(int row);
    void onCurrentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    bool commitEditedRow();
    // The reason the write failed, empty when it succeeded.
    QString writePendingChanges();
    void restorePendingChanges(bool readAgain);

    const QString programDirectory_;
    const char separator_;
    Dialogs& dialogs_;
    std::function<void()> reloadMainWindow_;

    // The model holds a handle of the connection: it must go first.
    std::unique_ptr<CoefficientConnection> ADOConnection1;
    std::unique_ptr<CoefficientTableModel> ADOTable1;
    QDataWidgetMapper* DataSource1;
    int coefficientColumn_ = -1;
    int editedRow_ = -1;
    bool movingBack_ = false;
    bool lastSaveFailed_ = false;
    // Values committed from DBEdit1 and not yet in the file, by row: the
    // model forgets which rows a failed batch write had already sent.
    std::map<int, Real> pending_;
};

}  // namespace wormgear
