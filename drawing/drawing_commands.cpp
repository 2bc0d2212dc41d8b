// The drawing commands of the window.
#include "drawing/drawing_commands.h"

#include <QDate>
#include <QFileInfo>

#include "dialogs/window_place.h"
#include "drawing/drawings_text.h"
#include "drawing/meshing_window.h"

namespace wormgear {

QString NotCalculatedMessage() { return DrawingsText::tr("请先计算，计算成功后才能生成图样和计算书。"); }

ReportContent PreviewContent(const ReportContent& calculated, const QString& designFile) {
    ReportContent content = calculated;
    content.title = {designFile.isEmpty() ? std::string() : QFileInfo(designFile).fileName().toStdString(),
                     QDate::currentDate().toString(Qt::ISODate).toStdString(), ProgramNameAndVersion()};
    return content;
}

bool MayMakeDespiteErrors(Dialogs& dialogs, const std::vector<Finding>& findings, char decimalSeparator,
                          const Translate& translate) {
    if (!HasErrors(findings)) return true;
    QStringList errors;
    for (const Finding& finding : findings) {
        if (finding.severity() != Severity::Error) break;
        errors << QString::fromStdString(FindingMessage(finding, translate, decimalSeparator));
    }
    // Yes makes it anyway, marked: the designer may want to look at a pair
    // before mending it; the shop sees the mark.
    return dialogs.askYesNo(ApplicationTitle(),
                            MessageWithDetail(DrawingsText::tr("设计检查发现错误，按此设计不能加工出合格的蜗杆副："),
                                              errors.join(QLatin1Char('\n'))) +
                                QLatin1Char('\n') +
                                DrawingsText::tr("仍要生成吗？生成的文件将标明“%1”。")
                                    .arg(QString::fromStdString(ChecksErrorMark(translate))));
}

TDrawingPreview* OpenDrawingPreview(QWidget* parent, std::optional<DrawingKind> kind,
                                    const std::optional<ReportContent>& calculated, const QString& designFile,
                                    Dialogs& dialogs) {
    if (!calculated) {
        dialogs.message(ApplicationTitle(), NotCalculatedMessage());
        return nullptr;
    }
    auto* preview = new TDrawingPreview(kind, PreviewContent(*calculated, designFile), dialogs, parent);
    PlaceWindow(*preview, parent, preview->size());
    preview->show();
    return preview;
}

void FollowCalculation(QWidget* parent, const std::optional<ReportContent>& calculated, const QString& designFile) {
    if (!parent) return;
    for (TMeshingWindow* window : parent->findChildren<TMeshingWindow*>(Qt::FindDirectChildrenOnly)) {
        if (calculated) window->showContent(PreviewContent(*calculated, designFile));
        else window->markOutOfDate();
    }
    for (TDrawingPreview* preview : parent->findChildren<TDrawingPreview*>(Qt::FindDirectChildrenOnly)) {
        if (calculated) preview->showContent(PreviewContent(*calculated, designFile));
        else preview->markOutOfDate();
    }
}

}  // namespace wormgear
