// Entry of wormcalc: wires the coefficient store, the design-file reader and
// writer, the sheet writer and the drawings into the command-line calculator. It links no
// widget library and no Qt Gui: the store needs Qt Core and Qt SQL only, the
// DXF drawings no Qt at all; the SVG and PDF drawings and the report are
// painted by the module beside the program (cli/painting.h), loaded only for a
// run that paints.
#include <QCoreApplication>
#include <QDate>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/painting.h"
#include "cli/wormcalc.h"
#include "designfile/design_file.h"
#include "drawing/dxf_writer.h"
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
    const std::string directory = wormgear::ProgramDirectory();
    // SVG and PDF are painted, and painting needs fonts, which the painting
    // module's QGuiApplication brings; any other run makes do with Qt Core
    // (Qt SQL needs its plugins found).
    const wormgear::PaintingModule* painting = nullptr;
    std::unique_ptr<QCoreApplication> application;
    if (wormgear::WormcalcPaints(arguments)) {
        try {
            painting = &wormgear::LoadPainting(directory);
        } catch (const wormgear::PaintingMissing& e) {
            std::cerr << "wormcalc: " << e.what() << '\n';
            return 1;
        }
        application.reset(painting->makeApplication(argc, argv));
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    const char separator = wormgear::UserDecimalSeparator();

    wormgear::WormcalcServices services;
    // Chinese unless --language asks for English; then every text comes
    // from the English catalogue beside the program (its .qm).
    wormgear::Language language = wormgear::Language::Chinese;
    wormgear::Translate translate;
    services.useLanguage = [&](wormgear::Language chosen) {
        language = chosen;
        if (chosen != wormgear::Language::English) return wormgear::Translate();
        if (!wormgear::InstallTranslations(*application, chosen, wormgear::FromLocalPath(directory)))
            throw std::runtime_error(std::string("the English texts (") + wormgear::kEnglishTranslationFile +
                                     ") are missing beside the program");
        translate = wormgear::InterfaceTranslation();
        return translate;
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
    services.writeSheet = [&directory, &language, &translate, separator](
                              wormgear::SheetKind kind, const wormgear::DesignInputs& inputs,
                              const wormgear::TWormDesign& design, const std::vector<wormgear::Finding>& findings,
                              const std::string& path) {
        wormgear::WriteSheet(kind, inputs, design, separator,
                             wormgear::ProgramFilePath(directory, wormgear::TemplateName(kind, language)), path,
                             translate, findings);
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
    services.writeDrawing = [&directory, &translate, &language, &particulars, painting, separator](
                                const wormgear::DrawingRequest& request, const wormgear::CalculatedDesign& design,
                                const std::string& designFile) {
        const wormgear::TitleBlock title{std::filesystem::path(designFile).filename().string(),
                                         QDate::currentDate().toString(Qt::ISODate).toStdString(),
                                         wormgear::ProgramNameAndVersion()};
        // The report names each coefficient's rule and shipped value as the
        // store beside the program holds them; without the store they are
        // unknown, and the drawings have no tolerances.
        wormgear::ReportContent content{design, title, {}, {}, particulars, {}};
        try {
            const wormgear::CoefficientLoad store = wormgear::LoadCoefficients(wormgear::FromLocalPath(directory),
                                                                               separator);
            content.rules = store.rules;
            content.shipped = store.shipped;
            content.tolerances = wormgear::LoadTolerances(wormgear::FromLocalPath(directory), separator);
        } catch (const wormgear::CoefficientStoreError&) {
        }
        const wormgear::FileFormat format = *wormgear::FormatOfPath(request.path);
        // WormcalcPaints loaded the module for every request but a DXF drawing.
        if (format != wormgear::FileFormat::Dxf && !painting) throw std::logic_error("no painting module loaded");
        if (request.kind) {
            const wormgear::drawing::Sheet sheet = wormgear::BuildDrawing(
                *request.kind, design, title, wormgear::ShopOf(content, translate), content.tolerances, translate);
            if (format == wormgear::FileFormat::Dxf) {
                wormgear::ReplaceFileAtomically(request.path, wormgear::DxfDocument(sheet));
            } else {
                painting->saveSheet(sheet, format, request.path);
            }
            return;
        }
        painting->saveReport(content, request.path, translate);
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
