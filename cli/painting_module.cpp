// The run-time module of wormcalc's painting (cli/painting.h): the one entry
// the program looks up, and behind it drawing_render's painter. It is linked
// with every library it needs and exports nothing but the entry.
#include <QGuiApplication>

#include "cli/painting.h"
#include "drawing/drawing_files.h"
#include "files/program_files.h"

namespace {

QCoreApplication* MakeApplication(int& argc, char** argv) {
    // Painting needs fonts, which a QGuiApplication brings; wormcalc shows no
    // window, so unless the user chose a platform it paints offscreen, with
    // or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns on the error stream of a session without a runtime folder.
    wormgear::NameRuntimeFolderWhereUnset();
    return new QGuiApplication(argc, argv);
}

void SaveSheet(const wormgear::drawing::Sheet& sheet, wormgear::FileFormat format, const std::string& path) {
    wormgear::SaveSheet(sheet, format, path);
}

void SaveReport(const wormgear::ReportContent& content, const std::string& path, const wormgear::Translate& translate) {
    wormgear::SaveReport(content, path, translate);
}

const wormgear::PaintingModule kModule{wormgear::kPaintingInterface, MakeApplication, SaveSheet, SaveReport};

}  // namespace

extern "C" __attribute__((visibility("default"))) const wormgear::PaintingModule* wormgear_painting_module() {
    return &kModule;
}
