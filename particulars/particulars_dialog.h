// 工具 → 图样资料…: the dialog that edits a design's particulars. A tab for the
// title block (设计, 审核, 批准, 日期, 单位) and one for each part (蜗杆, 蜗轮,
// 滚刀): its drawing number, material, heat treatment, 技术要求 (its default
// shown, with 恢复默认) and the body dimensions, each default shown in its
// empty box. An empty box takes the default. 确定 keeps the entries only when
// every one fits its place (CheckParticulars); otherwise a message names the
// first that does not, and everything typed stays in the boxes.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

#include "calc/design.h"
#include "dialogs/dialogs.h"
#include "particulars/particulars.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QDialogButtonBox;

namespace wormgear {

class TParticularsDialog : public QDialog {
    Q_OBJECT

 public:
    // `design` is the last successful calculation's record, for the defaults
    // of the body dimensions (none before a calculation: the boxes say so);
    // `designFileName` the design file's name ("pair.cqb"), for the default
    // drawing numbers. Numbers are read with `decimalSeparator`.
    TParticularsDialog(const Particulars& particulars, const std::optional<TWormDesign>& design,
                       const QString& designFileName, char decimalSeparator, Dialogs& dialogs,
                       QWidget* parent = nullptr);

    // The entries as the boxes hold them: an empty box, and 技术要求 equal to
    // its default, give an empty entry (the default).
    Particulars particulars() const;

    // The box of an entry (a QLineEdit or, for 技术要求, a QPlainTextEdit).
    QWidget* box(ParticularId id) const { return boxes_[static_cast<std::size_t>(id)]; }
    QPushButton* restoreButton(Piece piece) const { return restore_[static_cast<std::size_t>(piece)]; }
    QTabWidget* tabs() const { return tabs_; }
    QDialogButtonBox* buttons() const { return buttons_; }

    // 确定: accepts when every entry fits, else names the first that does not.
    void accept() override;

 private:
    QWidget* makeBox(ParticularId id, const std::optional<TWormDesign>& design, const QString& designFileName);
    QWidget* pieceTab(Piece piece, const std::optional<TWormDesign>& design, const QString& designFileName);

    const char separator_;
    Dialogs& dialogs_;
    std::array<QWidget*, kParticularCount> boxes_{};
    std::array<QPushButton*, 3> restore_{};
    QTabWidget* tabs_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

// Opens the dialog over `parent`; the entries when the user confirmed
// (changed or not), nothing when he cancelled.
std::optional<Particulars> EditParticulars(QWidget* parent, const Particulars& particulars,
                                           const std::optional<TWormDesign>& design, const QString& designFileName,
                                           char decimalSeparator, Dialogs& dialogs);

}  // namespace wormgear
