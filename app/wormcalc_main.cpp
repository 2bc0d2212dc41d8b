// Entry of wormcalc: wires the coefficient store, the design-file reader and
// the sheet export of this build into the command-line calculator.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "wormcalc.h"

#if WORMGEAR_HAS_SETTINGS || WORMGEAR_HAS_EXPORT || WORMGEAR_HAS_DESIGNFILE
#include <QCoreApplication>
#endif
#if WORMGEAR_HAS_SETTINGS
#include "coefficient_store.h"
#endif
#if WORMGEAR_HAS_EXPORT
#include "sheet_export.h"
#endif
#if WORMGEAR_HAS_DESIGNFILE
#include "design_files.h"
#endif

namespace {

// The directory of the running executable, with its trailing separator.
std::string ProgramDirectory() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    return exe.parent_path().string() + "/";
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
#if WORMGEAR_HAS_SETTINGS || WORMGEAR_HAS_EXPORT || WORMGEAR_HAS_DESIGNFILE
    QCoreApplication application(argc, argv);  // Qt SQL needs its plugins found
#endif
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    [[maybe_unused]] const std::string directory = ProgramDirectory();
    wormgear::WormcalcServices services;
#if WORMGEAR_HAS_SETTINGS
    services.defaultCoefficients = [directory] {
        return wormgear::LoadCoefficients(QString::fromStdString(directory)).table;
    };
#endif
#if WORMGEAR_HAS_DESIGNFILE
    services.readDesignFile = [](const std::string& path) { return wormgear::ReadDesignFileTexts(path); };
#endif
#if WORMGEAR_HAS_EXPORT
    services.writeSheet = [directory](wormgear::SheetChoice choice, const wormgear::FieldTexts& f,
                                      const wormgear::TWormDesign& design, const std::string& path) {
        const wormgear::SheetKind kind = choice == wormgear::SheetChoice::Worm  ? wormgear::SheetKind::Worm
                                         : choice == wormgear::SheetChoice::Hob ? wormgear::SheetKind::Hob
                                                                                : wormgear::SheetKind::Wheel;
        wormgear::SheetInputTexts texts;
        texts.Edit1 = f[0];
        texts.Edit3 = f[2];
        texts.Edit4 = f[3];
        texts.Edit9 = f[8];
        texts.Edit10 = f[9];
        texts.Edit11 = f[10];
        texts.Edit12 = f[11];
        texts.Edit13 = f[12];
        wormgear::WriteSheet(kind, texts, design, directory + wormgear::TemplateName(kind), path);
    };
#endif
    return wormgear::RunWormcalc(arguments, std::cin, std::cout, std::cerr, services);
}
