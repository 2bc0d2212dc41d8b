// STEP AP214 through an XCAF document, written to a private temporary folder
// (the writer takes a file name only) and read back as bytes; the caller
// puts them in place atomically.
#include "solids/step_file.h"

#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_PrinterOStream.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <TDataStd_Name.hxx>
#include <TDocStd_Document.hxx>
#include <TopLoc_Location.hxx>
#include <XCAFApp_Application.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <unistd.h>

namespace wormgear::solids {

namespace {

// The writer's settings are process-wide; one STEP file at a time.
std::mutex writing;

void Name(const TDF_Label& label, const std::string& name) {
    TDataStd_Name::Set(label, TCollection_ExtendedString(name.c_str(), true));
}

// A folder only this process writes in, removed with what it holds.
class PrivateFolder {
 public:
    PrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wormgear-step-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::string& path() const { return path_; }

 private:
    std::string path_;
};

}  // namespace

std::optional<std::string> StepBytes(const std::vector<StepPart>& parts, const std::string& assembly,
                                     std::string* error) {
    const auto fail = [&](const std::string& why) -> std::optional<std::string> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (parts.empty()) return fail("no solid to write");
    const std::lock_guard<std::mutex> lock(writing);
    // The writer reports its statistics on standard output, which carries
    // wormcalc's results: no printer.
    Message::DefaultMessenger()->RemovePrinters(STANDARD_TYPE(Message_PrinterOStream));
    Handle(XCAFApp_Application) application = XCAFApp_Application::GetApplication();
    Handle(TDocStd_Document) document;
    application->NewDocument("MDTV-XCAF", document);
    Handle(XCAFDoc_ShapeTool) shapes = XCAFDoc_DocumentTool::ShapeTool(document->Main());
    if (assembly.empty()) {
        Name(shapes->AddShape(parts.front().shape, false), parts.front().name);
    } else {
        const TDF_Label top = shapes->NewShape();
        Name(top, assembly);
        for (const StepPart& part : parts) {
            const TDF_Label label = shapes->AddShape(part.shape, false);
            Name(label, part.name);
            const TDF_Label component = shapes->AddComponent(top, label, TopLoc_Location(part.placement));
            Name(component, part.name);
        }
        shapes->UpdateAssemblies();
    }
    Interface_Static::SetCVal("write.step.schema", "AP214IS");
    Interface_Static::SetCVal("write.step.unit", "MM");
    Interface_Static::SetCVal("write.step.product.name",
                              assembly.empty() ? parts.front().name.c_str() : assembly.c_str());
    STEPCAFControl_Writer writer;
    writer.SetNameMode(true);
    if (!writer.Transfer(document, STEPControl_AsIs)) {
        application->Close(document);
        return fail("the solids could not be transferred to STEP");
    }
    const PrivateFolder folder;
    if (folder.path().empty()) {
        application->Close(document);
        return fail("no temporary folder for the STEP file");
    }
    const std::string file = folder.path() + "/solid.step";
    const IFSelect_ReturnStatus status = writer.Write(file.c_str());
    application->Close(document);
    if (status != IFSelect_RetDone) return fail("the STEP file could not be written");
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return fail("the STEP file could not be read back");
    return bytes;
}

}  // namespace wormgear::solids
