// The drawing commands of the window.
#include "drawing/drawing_commands.h"

#include <QDate>
#include <QFileInfo>

#include "dialogs/window_place.h"
#include "drawing/drawings_text.h"

namespace wormgear {

QString NotCalculatedMessage() { return DrawingsText::tr("请先计算，计算成功后才能生成图样和计算书。"); }

TDrawingPreview* OpenDrawingPreview(QWidget* parent, std::optional<DrawingKind> kind,
                                    const std::optional<ReportContent>& calculated, const QString& designFile,
                                    Dialogs& dialogs) {
    if (!calculated) {
        dialogs.message(ApplicationTitle(), NotCalculatedMessage());
        return nullptr;
    }
    ReportContent content = *calculated;
    content.title = {designFile.isEmpty() ? std::string() : QFileInfo(designFile).fileName().toStdString(),
                     QDate::currentDate().toString(Qt::ISODate).toStdString(), ProgramNameAndVersion()};
    auto* preview = new TDrawingPreview(kind, std::move(content), dialogs, parent);
    PlaceWindow(*preview, parent, preview->size());
    preview->show();
    return preview;
}

}  // namespace wormgear
