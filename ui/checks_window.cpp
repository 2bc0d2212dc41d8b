// The design checks as the main window shows them.
#include "ui/checks_window.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QVBoxLayout>

#include "dialogs/window_font.h"
#include "translations/interface_language.h"

namespace wormgear {

namespace {

// The main window's translation context: these texts are the main window's own.
class ChecksText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::TForm1)
};

QString Message(const Finding& finding, char separator) {
    return QString::fromStdString(FindingMessage(finding, InterfaceTranslation(), separator));
}

// The steps that read a field's text as a number.
bool ReadsAField(CalculationStep step) {
    switch (step) {
        case CalculationStep::ParseCentreDistance:
        case CalculationStep::ParseSpeedRatio:
        case CalculationStep::ParseWheelTeeth:
        case CalculationStep::ParseWormStarts:
        case CalculationStep::ParseMainBaseDiameter:
        case CalculationStep::ParseTipArcEccentricity:
        case CalculationStep::ParseWormPitchDiameter:
        case CalculationStep::ParseBacklash:
        case CalculationStep::ParseGrindingIncrement: return true;
        default: return false;
    }
}

}  // namespace

QString FailureHeadline(const CalculationOutcome& outcome) {
    if (outcome.failure == kInvalidInputMessage && outcome.failedAt != CalculationStep::None &&
        !ReadsAField(outcome.failedAt))
        return ChecksText::tr("无法用这些数值完成计算。");
    return QString::fromStdString(CalculationMessage(outcome.failure, InterfaceTranslation()));
}

QString FindingFields(const Finding& finding) {
    QStringList names;
    for (DesignField field : FieldsOf(Describe(finding.code).fields)) {
        const DesignFieldDescription& description = DesignFields()[static_cast<int>(field)];
        // Data, in the interface's language.
        QString name = QString::fromStdString(FieldName(description, InterfaceTranslation()));
        if (*description.symbol) name += QLatin1Char(' ') + QString::fromUtf8(description.symbol);
        names << name;
    }
    return names.join(ChecksText::tr("、"));
}

QString CausesText(const std::vector<Finding>& findings, char separator) {
    QStringList lines;
    for (const Finding& finding : findings) {
        if (finding.severity() != Severity::Error) continue;
        const QString fields = FindingFields(finding);
        lines << (fields.isEmpty() ? Message(finding, separator)
                                   : ChecksText::tr("%1（涉及：%2）").arg(Message(finding, separator), fields));
    }
    return lines.join(QLatin1Char('\n'));
}

QString ChecksSummary(const std::vector<Finding>& findings, char separator) {
    const Finding* worst = Worst(findings);
    if (!worst) return ChecksText::tr("设计检查：没有发现问题");
    const SeverityCounts counts = CountBySeverity(findings);
    QStringList parts;
    if (counts.errors) parts << ChecksText::tr("%n 个错误", nullptr, counts.errors);
    if (counts.warnings) parts << ChecksText::tr("%n 个警告", nullptr, counts.warnings);
    if (counts.infos) parts << ChecksText::tr("%n 条提示", nullptr, counts.infos);
    return ChecksText::tr("设计检查：%1 — %2").arg(parts.join(ChecksText::tr("，")), Message(*worst, separator));
}

TChecksWindow::TChecksWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ChecksWindow"));
    setWindowTitle(ChecksText::tr("设计检查"));
    setFont(WindowFont());
    resize(1000, 360);

    Summary = new QLabel(ChecksText::tr("尚未计算。"), this);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setTextFormat(Qt::PlainText);
    // The summary carries the worst finding's message, which may be longer
    // than any screen is wide: it wraps instead of widening the window.
    Summary->setWordWrap(true);

    Table = new QTableWidget(0, 5, this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setHorizontalHeaderLabels({ChecksText::tr("严重程度"), ChecksText::tr("代码"), ChecksText::tr("字段"),
                                      ChecksText::tr("说明"), ChecksText::tr("建议")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setWordWrap(true);
    Table->verticalHeader()->hide();
    // Severity and code as wide as they are, the fields in a column of their
    // own; the message and the suggestion share the rest of the window's
    // width and wrap, their rows growing to hold them whole. Nothing is ever
    // wider than the window, so nothing lies beyond its edge.
    QHeaderView* header = Table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header->resizeSection(2, 150);
    header->setSectionResizeMode(3, QHeaderView::Stretch);
    header->setSectionResizeMode(4, QHeaderView::Stretch);
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->setTextElideMode(Qt::ElideNone);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // A narrower column needs more lines: the rows follow every new width.
    connect(header, &QHeaderView::sectionResized, Table, [this] { Table->resizeRowsToContents(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(Table);
}

void TChecksWindow::showFindings(const std::vector<Finding>& findings, bool succeeded, char separator) {
    const QString outcome = succeeded ? ChecksText::tr("最近一次计算已完成。")
                                      : ChecksText::tr("最近一次计算未能完成。");
    Summary->setText(outcome + QLatin1Char(' ') + ChecksSummary(findings, separator));
    Table->setRowCount(static_cast<int>(findings.size()));
    for (int row = 0; row < static_cast<int>(findings.size()); ++row) {
        const Finding& finding = findings[static_cast<std::size_t>(row)];
        const QString cells[] = {
            QString::fromStdString(SeverityWord(finding.severity(), InterfaceTranslation())),
            QString::fromUtf8(finding.id()),
            FindingFields(finding),
            Message(finding, separator),
            QString::fromStdString(FindingSuggestion(finding, InterfaceTranslation(), separator)),
        };
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (finding.severity() == Severity::Error) item->setForeground(QColor(Qt::red));
            Table->setItem(row, column, item);
        }
    }
}

}  // namespace wormgear
