// 设置 → 公差表…: the editor of the tolerance table gongcha in db1.mdb
// (settings/tolerance_schema.h), beside the coefficient editor. A grid of
// the bands, one row per grade and centre-distance band; 添加行 and 删除行;
// edits are held in the model until 保存 writes them in one transaction,
// after CheckToleranceBands. A missing value shows as missing (未填), never
// as 0; an empty cell stores NULL. A db1.mdb without the table gets it,
// empty, when the editor opens it.
#pragma once

#include <QDialog>
#include <QSqlTableModel>
#include <functional>
#include <memory>

#include "dialogs/dialogs.h"
#include "settings/coefficient_store.h"

class QPushButton;
class QTableView;

namespace wormgear {

// gongcha as the grid shows it: numbers as FormatReal prints them with the
// user's separator, NULL as 未填; a typed text is stored as a number, an
// empty one as NULL, anything else refused with a message.
class ToleranceTableModel : public QSqlTableModel {
 public:
    ToleranceTableModel(char decimalSeparator, Dialogs& dialogs, const QSqlDatabase& database)
        : QSqlTableModel(nullptr, database), separator_(decimalSeparator), dialogs_(dialogs) {}
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Whether the row is marked to be deleted at the next save.
    bool isRemoved(int row) const;

 private:
    const char separator_;
    Dialogs& dialogs_;
};

// What "未填" reads in the interface's language.
QString MissingValueText();

class TToleranceEditor : public QDialog {
    Q_OBJECT

 public:
    // `saved` runs after each save that wrote the file (the main window
    // reads the table again).
    TToleranceEditor(const QString& programDirectory, char decimalSeparator, Dialogs& dialogs,
                     std::function<void()> saved, QWidget* parent = nullptr);
    ~TToleranceEditor() override;

    QTableView* Grid;
    QPushButton *AddButton, *RemoveButton, *SaveButton, *CloseButton;

    void addRow();
    void removeRow();
    void save();
    bool isTableOpen() const { return model_ != nullptr; }
    ToleranceTableModel* model() const { return model_.get(); }

 protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

 private:
    void openTable();
    void closeTable();

    const QString programDirectory_;
    const char separator_;
    Dialogs& dialogs_;
    std::function<void()> saved_;
    // The model holds a handle of the connection: it must go first.
    std::unique_ptr<CoefficientConnection> connection_;
    std::unique_ptr<ToleranceTableModel> model_;
};

}  // namespace wormgear
