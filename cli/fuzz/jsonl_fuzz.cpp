// Fuzzes wormcalc's readers of untrusted text: the first byte chooses the
// --jsonl object reader (the rest is the batch input) or --coefficients (the
// rest is the list). Never a crash; a batch gives one JSON line per
// non-blank input line, the output is UTF-8 whatever the input held, and the
// exit status is 0, 1 or 2.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "calc/text.h"
#include "cli/wormcalc.h"

using namespace wormgear;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    WormcalcServices services;
    services.defaultCoefficients = [] {
        // The shipped coefficient set.
        return TCoefficientTable{{0.875, 1.2, 0.7, 0.45, 0, 0.55, 2, 0.5, 0.2, 0.2, 0.45, 1, 0.5, 1, 0.9}};
    };
    std::istringstream in(data[0] == 'c' ? std::string() : rest);
    std::ostringstream out, err;
    std::vector<std::string> arguments;
    if (data[0] == 'c') {
        arguments = {"--centre-distance",
                     "200",
                     "--speed-ratio",
                     "25",
                     "--teeth",
                     "50",
                     "--starts",
                     "2",
                     "--base-diameter",
                     "130",
                     "--pitch-diameter",
                     "78",
                     "--json",
                     "--coefficients",
                     rest};
    } else {
        arguments = {"--jsonl"};
    }
    const int status = RunWormcalc(arguments, in, out, err, services, '.');
    if (status < 0 || status > 2) std::abort();
    if (!IsValidUtf8(out.str())) std::abort();
    if (data[0] != 'c') {
        std::size_t inputs = 0, outputs = 0;
        std::istringstream lines(rest);
        for (std::string line; std::getline(lines, line);)
            if (line.find_first_not_of(" \t\r") != std::string::npos) ++inputs;
        for (char c : out.str())
            if (c == '\n') ++outputs;
        if (inputs != outputs) std::abort();
    }
    return 0;
}
