// wormcalc, the command-line calculator: one design (or a batch of them) from
// the same texts the window's fields take, through the same calculation, sheet
// export and design-file reader as the window.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"
#include "drawing/drawings.h"
#include "export/sheets.h"

namespace wormgear {

// A drawing or the report to write: --drawing-worm, --drawing-wheel,
// --drawing-hob (a drawing) or --report (no kind), into `path`, whose
// extension (.dxf, .svg, .pdf; the report .pdf only) names the format.
struct DrawingRequest {
    std::optional<DrawingKind> kind;
    std::string path;
};

// --step-worm or --step-worm-modified: the worm's solid (ground as the pair,
// or with the modification set-up) as a STEP file `path`.
struct SolidRequest {
    bool modified = false;
    std::string path;
};

// What wormcalc takes from the rest of the program. Each may be empty when the
// program is built without it; each throws std::exception with a readable
// message on failure.
struct WormcalcServices {
    // Coefficients of the store beside the executable (db1.mdb).
    std::function<TCoefficientTable()> defaultCoefficients;
    // The thirteen texts of a design file.
    std::function<DesignInputs(const std::string& path)> readDesignFile;
    // Writes a parameter sheet from its template to `path`, with the note of
    // the errors among `findings` when there are any.
    std::function<void(SheetKind, const DesignInputs&, const TWormDesign&, const std::vector<Finding>& findings,
                       const std::string& path)>
        writeSheet;
    // Writes a drawing or the report of a calculated design; `designFile` is
    // the design file the texts came from, empty when none.
    std::function<void(const DrawingRequest&, const CalculatedDesign&, const std::string& designFile)> writeDrawing;
    // Writes a solid of a calculated design as STEP through the solids module
    // (loaded only then); throws with the reason, a fit over its tolerance
    // naming the deviation, and leaves nothing written.
    std::function<void(const SolidRequest&, const TWormDesign&)> writeSolid;
    // Writes the thirteen texts as a design file, as the window's save under
    // a new name does (".cqb" appended unless `path` ends in it).
    std::function<void(const DesignInputs&, const std::string& path)> writeDesign;
    // The thirteen texts of a design file read whole from a stream
    // (standard input, for the design file "-").
    std::function<DesignInputs(std::istream& in)> readDesignStream;
    // Called once, before anything is written, when --language asks for
    // English: the catalogue's translation, in which every text of the
    // outputs and of the sheets, drawings and report is then written.
    std::function<Translate(Language)> useLanguage;
};

// Whether the arguments ask for an SVG or PDF drawing or the report: those
// are painted, and need a QGuiApplication where the rest needs none.
bool WormcalcPaints(const std::vector<std::string>& arguments);

// Runs wormcalc with the arguments after the program name, numbers read and
// shown with `decimalSeparator`; returns the exit status: 0 success, 1 a
// calculation (or suggestion, export) failed or the output could not be
// written, 2 a usage error of the tool itself. Every diagnostic on `err`
// begins with "wormcalc: ".
int RunWormcalc(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                const WormcalcServices& services, char decimalSeparator);

}  // namespace wormgear
