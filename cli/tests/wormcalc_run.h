// wormcalc run in-process for its tests: the exit status and both outputs of
// RunWormcalc, and the worked example's texts as options.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/wormcalc.h"
#include "translations/testing/english.h"

namespace wormgear {

// The coefficients of the worked example, as --coefficients takes them.
inline constexpr const char* kExampleCoefficients = "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9";

struct WormcalcResult {
    int status;
    std::string out, err;
};

// wormcalc with `args`, `input` on its standard input, and numbers read and
// shown with `separator`. Unless the services say otherwise, --language en
// takes the English of the source tree's catalogue.
inline WormcalcResult Wormcalc(const std::vector<std::string>& args, const std::string& input = "",
                               const WormcalcServices& services = {}, char separator = '.') {
    std::istringstream in(input);
    std::ostringstream out, err;
    WormcalcServices given = services;
    if (!given.useLanguage) given.useLanguage = [](Language) { return English(); };
    const int status = RunWormcalc(args, in, out, err, given, separator);
    return {status, out.str(), err.str()};
}

// The worked example's texts (A 200, i 25, z2 50, z1 2, Db 130, d1 78) and
// coefficients, then `extra`, which may override them.
inline std::vector<std::string> Example(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--centre-distance", "200",
                                     "--speed-ratio",     "25",
                                     "--teeth",           "50",
                                     "--starts",          "2",
                                     "--base-diameter",   "130",
                                     "--pitch-diameter",  "78",
                                     "--coefficients",    kExampleCoefficients};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

}  // namespace wormgear
