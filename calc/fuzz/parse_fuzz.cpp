// Fuzzes the text readers and the number text: never a crash, never an
// exception other than the typed numeric errors, never "nan" or "inf".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calc/numeric.h"

using namespace wormgear;

static void CheckText(const std::string& text) {
    if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const Extended value = ParseReal(text, '.');
        CheckText(FormatReal(value, '.'));
        const Real stored = ToReal(value);
        CheckText(FormatReal(stored, '.'));
        CheckText(FormatReal(DecimalRound(stored, -3), '.'));
    } catch (const NumericError&) {
    }
    try {
        CheckText(FormatInteger(ParseInteger(text)));
    } catch (const NumericError&) {
    }
    if (size >= sizeof(long double)) {
        long double raw;
        __builtin_memcpy(&raw, data, sizeof raw);
        try {
            CheckText(FormatReal(raw, '.'));
        } catch (const NumericError&) {
        }
    }
    return 0;
}
