// wormcalc, the command-line calculator: one design (or a batch of them) from
// the same texts the window's fields take, through the same calculation, sheet
// export and design-file reader as the window.
#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "design.h"

namespace wormgear {

// The thirteen input texts, Edit1 .. Edit13, with the window's default texts.
using FieldTexts = std::array<std::string, 13>;
FieldTexts DefaultFieldTexts();

enum class SheetChoice { Worm, Hob, Wheel };

// What wormcalc takes from the rest of the program. Each may be empty when the
// program is built without it; each throws std::exception with a readable
// message on failure.
struct WormcalcServices {
    // Coefficients of the store beside the executable (db1.mdb).
    std::function<TCoefficientTable()> defaultCoefficients;
    // The thirteen texts of a design file.
    std::function<FieldTexts(const std::string& path)> readDesignFile;
    // Writes a parameter sheet from its template to `path`.
    std::function<void(SheetChoice, const FieldTexts&, const TWormDesign&, const std::string& path)> writeSheet;
};

// Runs wormcalc with the arguments after the program name; returns the exit
// status: 0 success, 1 a calculation (or suggestion, export) failed, 2 a usage
// error of the tool itself.
int RunWormcalc(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                std::ostream& err, const WormcalcServices& services);

}  // namespace wormgear
