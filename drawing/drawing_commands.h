// The window's drawing commands (the menu 工具: 蜗杆图, 蜗轮图, 滚刀图,
// 计算书): a preview of a drawing or of the report of the last successful
// calculation, or the message that there is none yet; and the previews
// following each new calculation.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "dialogs/dialogs.h"
#include "drawing/preview_window.h"
#include "drawing/report.h"

namespace wormgear {

// "请先计算，..." : no calculation has succeeded since the last one started.
QString NotCalculatedMessage();

// Before a sheet, drawing or report of a design whose checks found an
// error: the errors and the question whether to make it anyway, marked
// (ChecksErrorMark). True at once when no finding is an error.
bool MayMakeDespiteErrors(Dialogs& dialogs, const std::vector<Finding>& findings, char decimalSeparator,
                          const Translate& translate);

// What a preview shows of the last successful calculation: the design,
// titled with the design file's name and today's date.
ReportContent PreviewContent(const ReportContent& calculated, const QString& designFile);

// Opens the preview (`kind`, or the report without one) as a window of its
// own over `parent`, titled with the design file's name and today's date;
// without a calculated design shows NotCalculatedMessage() and returns nullptr.
TDrawingPreview* OpenDrawingPreview(QWidget* parent, std::optional<DrawingKind> kind,
                                    const std::optional<ReportContent>& calculated, const QString& designFile,
                                    Dialogs& dialogs);

// Every preview open over `parent` follows its calculation: the new design
// after a successful one, marked out of date after a failed one (no
// calculated design).
void FollowCalculation(QWidget* parent, const std::optional<ReportContent>& calculated, const QString& designFile);

}  // namespace wormgear
