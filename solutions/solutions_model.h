// The table of solutions as a Qt model: one row per calculated design in the
// order shown (design order while a run goes on; sorted by a column once it
// has ended), optionally without the designs that have an error. A cell's
// text is made when the view asks for it, from the design's compact row, so
// a table of a million designs holds no strings.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "solutions/solution_table.h"

namespace wormgear {

class SolutionsModel : public QAbstractTableModel {
    Q_OBJECT

 public:
    // The design a row shows, under DesignRole.
    static constexpr int DesignRole = Qt::UserRole;

    explicit SolutionsModel(char separator, QObject* parent = nullptr);

    // A new table, shown as its rows complete; none empties the model.
    void setTable(std::shared_ptr<const SolutionTable> table);
    const SolutionTable* table() const { return table_.get(); }
    // Shows the rows the table has completed since the last call.
    void showCompleted();

    // Leaves out (or shows again) the designs that have an error.
    void setWithoutErrors(bool withoutErrors);
    bool withoutErrors() const { return withoutErrors_; }

    // The designs in the order shown.
    const std::vector<std::uint32_t>& order() const { return order_; }
    std::uint64_t design(int row) const { return order_[static_cast<std::size_t>(row)]; }

    // A column's header: symbol and unit over the name ("β (°)\n母平面倾斜角").
    static QString header(const SolutionColumn& column);
    // The check column's words for a design's worst finding: "警告 base-diameter-share-outside-hint".
    static std::string checkText(const SolutionRow& row);
    // Every finding of a design, one line each, for a tooltip or a detail line.
    QString findingsText(std::uint64_t design) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
    // The order from scratch: the completed rows, filtered and sorted.
    void rebuild();

    const char separator_;
    std::shared_ptr<const SolutionTable> table_;
    std::vector<std::uint32_t> order_;
    std::uint64_t looked_ = 0;  // designs looked at for the order so far
    bool withoutErrors_ = false;
    std::optional<std::pair<int, Qt::SortOrder>> sorted_;
};

}  // namespace wormgear
