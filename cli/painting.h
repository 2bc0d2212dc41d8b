// wormcalc's painting: the SVG and PDF drawings and the report, which need Qt
// Gui and Qt Svg (fonts, a paint device), in a run-time module beside the
// program (wormcalc-painting.so). wormcalc loads it only for a run that
// paints, so that every other run (a batch, a sweep, a DXF drawing,
// --version) starts without loading Qt Gui, Qt Svg or D-Bus.
//
//   const PaintingModule& painting = LoadPainting(ProgramDirectory());  // throws PaintingMissing
//   std::unique_ptr<QCoreApplication> application(painting.makeApplication(argc, argv));
//   painting.saveSheet(sheet, FileFormat::Pdf, "worm.pdf");
#pragma once

#include <stdexcept>
#include <string>

#include "drawing/drawings.h"
#include "drawing/report.h"

class QCoreApplication;

namespace wormgear {

// Raised when the module beside the program cannot be loaded; the text names
// the file and the loader's reason.
class PaintingMissing : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// What the module offers. `version` is kPaintingInterface of the module's
// build: a module of another build is refused rather than called.
struct PaintingModule {
    int version;
    // A QGuiApplication painting offscreen unless the user chose a platform,
    // with the runtime folder named where the session has none.
    QCoreApplication* (*makeApplication)(int& argc, char** argv);
    // Throw FileError when the file cannot be written.
    void (*saveSheet)(const drawing::Sheet& sheet, FileFormat format, const std::string& path);
    void (*saveReport)(const ReportContent& content, const std::string& path, const Translate& translate);
};

// Changed whenever PaintingModule or a type it passes changes.
inline constexpr int kPaintingInterface = 1;

// The module's file name, in the program directory.
inline constexpr const char* kPaintingModuleFile = "wormcalc-painting.so";

// The module's one entry, by its C name.
inline constexpr const char* kPaintingEntry = "wormgear_painting_module";

// Loads the module from `directory` once; throws PaintingMissing.
const PaintingModule& LoadPainting(const std::string& directory);

}  // namespace wormgear
