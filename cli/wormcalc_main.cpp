// Entry of wormcalc: wires the coefficient store, the design-file reader and
// writer, the sheet writer and the drawings into the command-line calculator. It links no
// widget library: the store needs Qt Core and Qt SQL only, the drawings Qt Gui
// and Qt Svg, the rest no Qt at all.
#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/wormcalc.h"
#include "designfile/design_file.h"
#include "drawing/drawing_files.h"
#include "drawing/drawings_text.h"
#include "export/sheets.h"
#include "files/file_io.h"
#include "files/program_files.h"
#include "files/qt_path.h"
#include "settings/coefficient_store.h"
#include "settings/tolerance_store.h"
#include "solids/step_module.h"
#include "translations/interface_language.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // SVG and PDF are painted, and painting needs fonts, which a
    // QGuiApplication brings. wormcalc shows no window: unless the user
    // chose a platform it paints offscreen, with or without a display.
    std::unique_ptr<QCoreApplication> application;
    if (wormgear::WormcalcPaints(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt warns on the error stream of a session without a runtime folder.
        wormgear::NameRuntimeFolderWhereUnset();
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);  // Qt SQL needs its plugins found
    }
    const std::string directory = wormgear::ProgramDirectory();
    const char separator = wormgear::UserDecimalSeparator();

    wormgear::WormcalcServices services;
    // Chinese unless --language asks for English; then the drawings' texts
    // come from the English translation beside the program.
    wormgear::Language language = wormgear::Language::Chinese;
    wormgear::Translate translate;
    services.useLanguage = [&](wormgear::Language chosen) {
        language = chosen;
        if (chosen != wormgear::Language::English) return;
        if (!wormgear::InstallTranslations(*application, chosen, wormgear::FromLocalPath(directory)))
            throw std::runtime_error(std::string("the English texts (") + wormgear::kEnglishTranslationFile +
                                     ") are missing beside the program");
        translate = wormgear::DrawingsTranslation();
    };
    services.defaultCoefficients = [&directory, separator] {
        return wormgear::LoadCoefficients(wormgear::FromLocalPath(directory), separator).table;
    };
    // The particulars of the design file read (none without one) go with its
    // texts into --save-design's file and into the drawings and the report.
    wormgear::Particulars particulars;
    services.readDesignFile = [separator, &particulars](const std::string& path) {
        wormgear::DesignFileContent content = wormgear::ReadDesign(path, separator);
        particulars = content.particulars;
        return content.inputs;
    };
    services.readDesignStream = [separator, &particulars](std::istream& in) {
        wormgear::DesignFileContent content = wormgear::ReadDesignFromStream(in, separator);
        particulars = content.particulars;
        return content.inputs;
    };
    services.writeSheet = [&directory, &language, separator](
                              wormgear::SheetKind kind, const wormgear::DesignInputs& inputs,
                              const wormgear::TWormDesign& design, const std::vector<wormgear::Finding>& findings,
                              const std::string& path) {
        wormgear::WriteSheet(kind, inputs, design, separator,
                             wormgear::ProgramFilePath(directory, wormgear::TemplateName(kind, language)), path,
                             language, findings);
    };
    services.writeDesign = [&directory, &particulars, separator](const wormgear::DesignInputs& inputs,
                                                                 const std::string& path) {
        // A new design file from the template, as the window's save under a new name.
        wormgear::Workbook book = wormgear::Workbook::Open(
            wormgear::ProgramFilePath(directory, wormgear::kDesignTemplateName));
        wormgear::PutDesignInputs(book, inputs, separator);
        wormgear::PutParticulars(book, particulars, separator);
        wormgear::SaveDesignAs(book, path);
    };
    services.writeDrawing = [&directory, &translate, &language, &particulars, separator](
                                const wormgear::DrawingRequest& request, const wormgear::CalculatedDesign& design,
                                const std::string& designFile) {
        const wormgear::TitleBlock title{std::filesystem::path(designFile).filename().string(),
                                         QDate::currentDate().toString(Qt::ISODate).toStdString(),
                                         wormgear::ProgramNameAndVersion()};
        if (request.kind) {
            wormgear::SaveSheet(wormgear::BuildDrawing(*request.kind, design, title, translate),
                                *wormgear::FormatOfPath(request.path), request.path);
            return;
        }
        // The report names each coefficient's rule and shipped value as the
        // store beside the program holds them; without the store they are unknown.
        wormgear::ReportContent content{design, title, {}, {}, language, particulars, {}};
        try {
            const wormgear::CoefficientLoad store = wormgear::LoadCoefficients(wormgear::FromLocalPath(directory),
                                                                               separator);
            content.rules = store.rules;
            content.shipped = store.shipped;
            content.tolerances = wormgear::LoadTolerances(wormgear::FromLocalPath(directory), separator);
        } catch (const wormgear::CoefficientStoreError&) {
        }
        wormgear::SaveReport(content, request.path, translate);
    };
    // The solids module is loaded only here, for --step-*: the worm's body
    // as the drawings size it (the design file's particulars, else the
    // defaults), named by the worm's drawing number.
    services.writeSolid = [&directory, &particulars, separator](const wormgear::SolidRequest& request,
                                                                const wormgear::TWormDesign& design) {
        const wormgear::ShopParticulars shop = wormgear::ResolveParticulars(
            particulars, design, "", QDate::currentDate().toString(Qt::ISODate).toStdString(), separator, {});
        wormgear::solids::StepRequest step;
        step.piece = request.modified ? wormgear::solids::StepPiece::ModifiedWorm : wormgear::solids::StepPiece::Worm;
        step.design = design;
        step.worm = wormgear::solids::WormBodyOf(shop.worm);
        step.name = shop.piece(wormgear::Piece::Worm).drawingNumber.text +
                    (request.modified ? " worm (modified)" : " worm");
        const wormgear::solids::StepResult result = wormgear::solids::RunStepModule(directory, step);
        if (!result.error.empty()) throw std::runtime_error(result.error);
        wormgear::ReplaceFileAtomically(request.path, result.bytes);
    };
    return wormgear::RunWormcalc(arguments, std::cin, std::cout, std::cerr, services, separator);
}
