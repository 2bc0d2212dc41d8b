// What the main window shows of the design checks of its last calculation:
// the causes beneath a failed calculation's message, the status line below
// the client area, and the 设计检查 window with every finding.
//
//   CausesText(findings, '.')
//     // "主基圆直径 Db = 400 超出蜗轮分度圆直径 d2 = 322（…）（涉及：主基圆直径 Db、…）"
//   ChecksSummary(findings, '.')
//     // "设计检查：1 个警告 — 主基圆直径系数 Db/A = 0.7，不在提示的 0.63～0.67 之间"
#pragma once

#include <QLabel>
#include <QTableWidget>
#include <QWidget>
#include <vector>

#include "calc/checks.h"

namespace wormgear {

// The first line of the box after a failed calculation: the calculation's
// own message, except that a run which read every field as a number and
// then stopped at an arithmetic fault (a square root of a negative, a
// division by zero) is told so, not that a field is no number:
//   Db = 400 (asin(Db/d2) undefined) -> "无法用这些数值完成计算。"
//   E empty                          -> "您输入的内容不符合要求......（只能输入合法数字，且不能为空）"
// The calculation's message itself (CalculationOutcome::failure, wormcalc's
// output) stays as it is.
QString FailureHeadline(const CalculationOutcome& outcome);

// The fields a finding concerns, by their names and symbols: "主基圆直径 Db、中心距 A".
QString FindingFields(const Finding& finding);

// The error findings, one line each: the message and the fields it concerns.
// Empty when there is none.
QString CausesText(const std::vector<Finding>& findings, char separator);

// The status line: the counts by severity and the worst finding's message;
// "设计检查：没有发现问题" when there is none.
QString ChecksSummary(const std::vector<Finding>& findings, char separator);

// The 设计检查 window: every finding of the last calculation with its
// severity, code, fields, message and suggestion, the worst first. It
// follows each calculation while it exists.
class TChecksWindow : public QWidget {
    Q_OBJECT

 public:
    explicit TChecksWindow(QWidget* parent = nullptr);

    // The findings of a calculation that has succeeded or failed.
    void showFindings(const std::vector<Finding>& findings, bool succeeded, char separator);

    QLabel* Summary;      // what the last calculation gave
    QTableWidget* Table;  // one row per finding
};

}  // namespace wormgear
