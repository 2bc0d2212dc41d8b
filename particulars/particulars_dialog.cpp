// The dialog of the particulars: boxes built from the particulars' table.
#include "particulars/particulars_dialog.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/window_font.h"
#include "particulars/particulars_text.h"
#include "translations/interface_language.h"

namespace wormgear {

namespace {

const char* PieceName(Piece piece) {
    switch (piece) {
        case Piece::Worm: return QT_TRANSLATE_NOOP("wormgear::Particulars", "蜗杆");
        case Piece::Wheel: return QT_TRANSLATE_NOOP("wormgear::Particulars", "蜗轮");
        case Piece::Hob: return QT_TRANSLATE_NOOP("wormgear::Particulars", "滚刀");
    }
    return "";
}

bool IsRequirements(ParticularId id) { return Describe(id).kind == ParticularKind::Lines; }

// The default 技术要求 as the box shows it: in the interface's language.
QString DefaultRequirements(Piece piece) {
    return QString::fromStdString(DefaultRequirementsText(piece, InterfaceTranslation()));
}

}  // namespace

TParticularsDialog::TParticularsDialog(const Particulars& particulars, const std::optional<TWormDesign>& design,
                                       const QString& designFileName, char decimalSeparator, Dialogs& dialogs,
                                       QWidget* parent)
    : QDialog(parent), separator_(decimalSeparator), dialogs_(dialogs) {
    setObjectName(QStringLiteral("ParticularsDialog"));
    setWindowTitle(ParticularsText::tr("图样资料"));
    setFont(WindowFont());
    setModal(true);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("ParticularsTabs"));

    auto* title = new QWidget(tabs_);
    auto* titleForm = new QFormLayout(title);
    for (const ParticularDescription& d : ParticularDescriptions()) {
        if (d.piece) continue;
        titleForm->addRow(ParticularName(d.id), makeBox(d.id, design, designFileName));
    }
    auto* titleNote = new QLabel(ParticularsText::tr("留空的项：日期取当天，其余在标题栏中空着。"), title);
    titleNote->setWordWrap(true);
    titleForm->addRow(titleNote);
    tabs_->addTab(title, ParticularsText::tr("标题栏"));
    for (const Piece piece : kPieces)
        tabs_->addTab(pieceTab(piece, design, designFileName), ParticularsText::tr(PieceName(piece)));

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("ParticularsButtons"));
    buttons_->button(QDialogButtonBox::Ok)->setText(ParticularsText::tr("确定"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(ParticularsText::tr("取消"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &TParticularsDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &TParticularsDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);

    for (const ParticularDescription& d : ParticularDescriptions()) {
        const QString text = QString::fromStdString(Text(particulars, d.id));
        if (auto* line = qobject_cast<QLineEdit*>(box(d.id))) line->setText(text);
        else if (auto* lines = qobject_cast<QPlainTextEdit*>(box(d.id)))
            lines->setPlainText(text.isEmpty() ? DefaultRequirements(*d.piece) : text);
    }
}

QWidget* TParticularsDialog::makeBox(ParticularId id, const std::optional<TWormDesign>& design,
                                     const QString& designFileName) {
    const ParticularDescription& d = Describe(id);
    QWidget* made = nullptr;
    if (d.kind == ParticularKind::Lines) {
        auto* lines = new QPlainTextEdit(this);
        lines->setTabChangesFocus(true);
        lines->setLineWrapMode(QPlainTextEdit::NoWrap);  // a line is a line of the drawing
        lines->setMinimumHeight(lines->fontMetrics().lineSpacing() * 6);
        made = lines;
    } else {
        auto* line = new QLineEdit(this);
        QString shown;
        if (id == ParticularId::Date) {
            shown = QDate::currentDate().toString(Qt::ISODate);
        } else if (d.kind == ParticularKind::Length) {
            const std::optional<double> value = design ? DefaultLength(id, *design) : std::nullopt;
            shown = !design ? ParticularsText::tr("计算后给出")
                    : value ? QString::fromStdString(DefaultLengthText(*value, separator_))
                            : ParticularsText::tr("无");
        } else if (d.piece && (id == ParticularId::WormDrawingNumber || id == ParticularId::WheelDrawingNumber ||
                               id == ParticularId::HobDrawingNumber)) {
            shown = QString::fromStdString(DefaultDrawingNumber(*d.piece, designFileName.toStdString()));
        }
        line->setPlaceholderText(shown);
        made = line;
    }
    made->setObjectName(QStringLiteral("Particular%1").arg(static_cast<int>(id)));
    boxes_[static_cast<std::size_t>(id)] = made;
    return made;
}

QWidget* TParticularsDialog::pieceTab(Piece piece, const std::optional<TWormDesign>& design,
                                      const QString& designFileName) {
    auto* tab = new QWidget(tabs_);
    auto* layout = new QVBoxLayout(tab);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto* sizes = new QGroupBox(ParticularsText::tr("尺寸（mm，留空取默认值）"), tab);
    auto* grid = new QGridLayout(sizes);
    int sizeCount = 0;
    for (const ParticularDescription& d : ParticularDescriptions()) {
        if (d.piece != piece) continue;
        QWidget* made = makeBox(d.id, design, designFileName);
        if (d.kind == ParticularKind::Length) {
            // Two columns of label and box: the worm's ten sizes in five rows.
            const int row = sizeCount / 2, column = (sizeCount % 2) * 2;
            auto* label = new QLabel(ParticularName(d.id), sizes);
            label->setBuddy(made);
            grid->addWidget(label, row, column);
            grid->addWidget(made, row, column + 1);
            ++sizeCount;
        } else if (IsRequirements(d.id)) {
            auto* restore = new QPushButton(ParticularsText::tr("恢复默认"), tab);
            restore->setObjectName(QStringLiteral("RestoreRequirements%1").arg(static_cast<int>(piece)));
            restore->setAutoDefault(false);
            auto* lines = static_cast<QPlainTextEdit*>(made);
            connect(restore, &QPushButton::clicked, this,
                    [lines, piece] { lines->setPlainText(DefaultRequirements(piece)); });
            restore_[static_cast<std::size_t>(piece)] = restore;
            auto* column = new QVBoxLayout;
            column->addWidget(made);
            column->addWidget(restore, 0, Qt::AlignRight);
            form->addRow(ParticularName(d.id), column);
        } else {
            form->addRow(ParticularName(d.id), made);
        }
    }
    layout->addWidget(sizes);
    return tab;
}

Particulars TParticularsDialog::particulars() const {
    Particulars entries;
    for (const ParticularDescription& d : ParticularDescriptions()) {
        QString text;
        if (auto* line = qobject_cast<QLineEdit*>(box(d.id))) {
            text = line->text();
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box(d.id))) {
            text = lines->toPlainText();
            // The default as shown stays the default: it follows the language
            // and any better wording of a later version.
            if (text == DefaultRequirements(*d.piece)) text.clear();
        }
        // Blanks around a one-line entry are no part of it; a box of blanks
        // is an empty box.
        if (d.kind != ParticularKind::Lines) text = text.trimmed();
        else if (text.trimmed().isEmpty()) text.clear();
        Text(entries, d.id) = text.toStdString();
    }
    return entries;
}

void TParticularsDialog::accept() {
    const Particulars entries = particulars();
    if (const auto problem = CheckParticulars(entries, separator_)) {
        // Nothing is cut: the entry's tab comes forward with its box focused.
        QWidget* refused = box(problem->id);
        for (int tab = 0; tab < tabs_->count(); ++tab)
            if (tabs_->widget(tab)->isAncestorOf(refused)) tabs_->setCurrentIndex(tab);
        dialogs_.message(ApplicationTitle(), MessageWithDetail(ParticularsText::tr("图样资料有误，未被接受："),
                                                               ParticularProblemText(*problem, entries)));
        refused->setFocus();
        return;
    }
    QDialog::accept();
}

std::optional<Particulars> EditParticulars(QWidget* parent, const Particulars& particulars,
                                           const std::optional<TWormDesign>& design, const QString& designFileName,
                                           char decimalSeparator, Dialogs& dialogs) {
    TParticularsDialog dialog(particulars, design, designFileName, decimalSeparator, dialogs, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.particulars();
}

}  // namespace wormgear
