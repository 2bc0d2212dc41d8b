// Fuzzes the whole calculation from arbitrary texts: the input is split at
// newlines into the nine field texts; the first byte sets the round-to-integer
// box. Never a crash, never "nan" or "inf" in a result line; a run into a kept
// outcome writes the same lines as a fresh one; the design checks explain
// every failure with an error and render every text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"
#include "calc/suggestions.h"
#include "calc/testing/worked_example.h"
#include "translations/testing/english.h"

using namespace wormgear;

static void CheckText(const std::string& text) {
    if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool round = data[0] & 1;
    std::vector<std::string> fields(9);
    std::size_t field = 0;
    for (std::size_t n = 1; n < size && field < fields.size(); ++n) {
        if (data[n] == '\n') ++field;
        else fields[field] += static_cast<char>(data[n]);
    }
    // The nine texts the calculation reads, in their order (the ninth is the
    // grinding increment, which comes after the four texts it does not read).
    DesignInputs texts;
    std::size_t next = 0;
    for (const DesignFieldDescription& description : DesignFields()) {
        if (description.calculated) texts.*description.text = fields[next++];
    }
    const CalculationOutcome out = Calculate(texts, round, WorkedExampleCoefficients(), '.');
    for (const auto& line : out.lines) CheckText(line.text);
    CheckText(out.design.GeneratingPlaneAngleText);

    static CalculationOutcome kept;  // holds the lines of the input before
    CalculateInto(kept, texts, round, WorkedExampleCoefficients(), '.');
    if (kept.failure != out.failure || kept.failedAt != out.failedAt || kept.lines.size() != out.lines.size()) {
        std::abort();
    }
    for (std::size_t n = 0; n < out.lines.size(); ++n) {
        if (kept.lines[n].id != out.lines[n].id || kept.lines[n].text != out.lines[n].text) std::abort();
    }

    const std::vector<Finding> findings = CheckDesign(texts, WorkedExampleCoefficients(), out, '.');
    if (!out.succeeded() && (findings.empty() || findings.front().severity() != Severity::Error)) std::abort();
    for (const Finding& finding : findings) {
        for (const Translate& translate : {Translate(), English()}) {
            FindingMessage(finding, translate, '.');
            FindingSuggestion(finding, translate, '.');
        }
    }

    using Attempt = std::string (*)(const std::string& a, const std::string& b);
    const Attempt attempts[] = {
        [](const std::string& a, const std::string& b) { return MainBaseDiameterShare(b, a, '.'); },
        [](const std::string& a, const std::string& b) { return WormPitchDiameterFactor(b, a, 0.875, '.'); },
        [](const std::string& a, const std::string&) {
            return ProposeWormPitchDiameter(a, 0.875, '.') + ProposeMainBaseDiameter(a, '.');
        },
    };
    for (const Attempt attempt : attempts) {
        try {
            CheckText(attempt(fields[0], fields[4]));
        } catch (const NumericError&) {
        }
    }
    return 0;
}
