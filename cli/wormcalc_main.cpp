// Entry of wormcalc: wires the coefficient store, the design-file reader and
// the sheet writer into the command-line calculator. It links no widget
// library: the store needs Qt Core and Qt SQL only, the rest no Qt at all.
#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/wormcalc.h"
#include "designfile/design_file.h"
#include "export/sheets.h"
#include "files/program_files.h"
#include "files/qt_path.h"
#include "settings/coefficient_store.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    QCoreApplication application(argc, argv);  // Qt SQL needs its plugins found
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string directory = wormgear::ProgramDirectory();
    const char separator = wormgear::UserDecimalSeparator();

    wormgear::WormcalcServices services;
    services.defaultCoefficients = [&directory, separator] {
        return wormgear::LoadCoefficients(wormgear::FromLocalPath(directory), separator).table;
    };
    services.readDesignFile = [separator](const std::string& path) {
        return wormgear::ReadDesignFile(path, separator);
    };
    services.writeSheet = [&directory, separator](wormgear::SheetKind kind, const wormgear::DesignInputs& inputs,
                                                  const wormgear::TWormDesign& design, const std::string& path) {
        wormgear::WriteSheet(kind, inputs, design, separator,
                             wormgear::ProgramFilePath(directory, wormgear::TemplateName(kind)), path);
    };
    return wormgear::RunWormcalc(arguments, std::cin, std::cout, std::cerr, services, separator);
}
