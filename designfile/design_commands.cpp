// The design-file commands of the window.
#include "designfile/design_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <new>
#include <optional>
#include <stdexcept>

#include "designfile/design_file.h"
#include "export/workbook.h"
#include "files/qt_path.h"
#include "particulars/particulars_text.h"
#include "translations/error_text.h"

namespace wormgear {

namespace {

const QString kDesignFilter = QStringLiteral("*.cqb");

// The one translation context of the design-file commands.
class DesignFilesText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::DesignFiles)
};

QString SaveFailedMessage() { return DesignFilesText::tr("保存过程中发生错误,或者您还没安装EXCEL，保存失败........"); }
QString OpenFailedMessage() { return DesignFilesText::tr("文件打开错误,或者您还没安装EXCEL........."); }
QString UnsavedQuestion() { return DesignFilesText::tr("数据尚未保存，是否保存？"); }
// The open dialog also lists every file: a design LibreOffice saved keeps the
// name LibreOffice gave it ("gear.ods").
QString OpenFilter() {
    return kDesignFilter + QStringLiteral(";;") + DesignFilesText::tr("所有文件") + QStringLiteral(" (*)");
}

// "/home/li/gear.cqb" for "/home/li/gear.ods".
QString DesignNameBeside(const QString& path) {
    const QFileInfo file(path);
    return file.dir().filePath(file.completeBaseName() + QString::fromLatin1(kDesignExtension));
}

// What failed, for the line beneath a command's message: the workbook
// component's sentence names the file and the reason.
QString FailureDetail(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error)) return DesignFilesText::tr("内存不足");
    return ErrorText(error);
}

DesignInputs WindowInputs(const DesignWindow& window) {
    DesignInputs inputs;
    for (int row = 1; row <= kDesignFieldCount; ++row)
        inputs.*DesignFields()[row - 1].text = window.fieldText(row).toStdString();
    return inputs;
}

// Raised by the closing steps of a save that found no workbook to close: they
// stand outside the save's own error handling, so this reaches the program's
// last-resort handler with its own text.
class NoActiveWorkbook : public std::runtime_error {
 public:
    NoActiveWorkbook()
        : std::runtime_error(DesignFilesText::tr("没有打开的工作簿，无法将其标记为已保存并关闭。").toStdString()) {}
};

}  // namespace

bool SaveDesign(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QString& programDirectory) {
    // Refused whole before anything is touched: nothing is cut, and the
    // file on disk stays as it was.
    const Particulars particulars = window.particulars();
    if (const auto problem = CheckParticulars(particulars, window.decimalSeparator())) {
        dialogs.message(ApplicationTitle(),
                        MessageWithDetail(SaveFailedMessage(), ParticularProblemText(*problem, particulars)));
        return false;
    }
    std::optional<Workbook> book;
    bool saved = true;
    try {
        const QString& current = state.CurrentDesignFile;
        // Where the texts go: back into the opened file, afresh at its path,
        // or (nothing opened, or a name of another format) a name chosen.
        enum class Target { InPlace, Fresh, Chosen } target = Target::Chosen;
        if (!current.isEmpty()) {
            try {
                book.emplace(Workbook::Open(LocalPath(current)));
                if (SavesInPlace(*book)) target = Target::InPlace;
            } catch (const WorkbookError&) {
                // Deleted or damaged since it was opened: what it held beyond
                // the thirteen texts is lost, and a fresh design file from the
                // template takes the texts at the same path.
                if (NameTakesDesign(LocalPath(current))) target = Target::Fresh;
            }
        }
        if (!book) book.emplace(Workbook::Open(LocalPath(ProgramFile(programDirectory, kDesignTemplateName))));
        // The texts as typed, unchecked: a design that does not calculate can
        // be saved too.
        PutDesignInputs(*book, WindowInputs(window), window.decimalSeparator());
        PutParticulars(*book, particulars, window.decimalSeparator());
        if (target == Target::InPlace) {
            SaveDesignInPlace(*book);
        } else if (target == Target::Fresh) {
            book->SaveTo(LocalPath(current));
        } else if (const auto chosen = dialogs.saveFileName(
                       kDesignFilter, current.isEmpty() ? QString() : DesignNameBeside(current))) {
            // Picking an existing design overwrites it: "abc.cqb" stays "abc.cqb".
            SaveDesignAs(*book, LocalPath(*chosen));
        }
        state.DesignSaved = true;  // also when the dialog was cancelled
    } catch (const std::exception& error) {
        dialogs.message(ApplicationTitle(), MessageWithDetail(SaveFailedMessage(), FailureDetail(error)));
        saved = false;
    }
    // Closing the workbook stands outside the handler above: without a
    // workbook there is nothing to mark saved and close.
    if (!book) throw NoActiveWorkbook();
    return saved;
}

QString CommandLineDesignPath(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.first().isEmpty()) return QString();
    QStringList firstFour;
    for (int n = 0; n < 4; ++n) firstFour << (n < arguments.size() ? arguments[n] : QString());
    // trimmed() removes blanks and control characters at both ends.
    return firstFour.join(QLatin1Char(' ')).trimmed();
}

void ShowDesignTexts(DesignWindow& window, const DesignInputs& inputs) {
    // Row order matters: the proposals that the centre distance makes for the
    // base circle and the pitch diameter are then replaced by these texts.
    for (int row = 1; row <= kDesignFieldCount; ++row)
        window.setFieldText(row, QString::fromStdString(inputs.*DesignFields()[row - 1].text));
    window.calculate();
}

void OpenDesign(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QStringList& arguments,
                char decimalSeparator, const QString& programDirectory) {
    QString path;
    if (!state.CommandLineOpenDone && !CommandLineDesignPath(arguments).isEmpty()) {
        path = CommandLineDesignPath(arguments);
        // Showing the window loads the coefficients before the design is
        // calculated.
        window.showWindow();
    } else if (const auto chosen = dialogs.openFileName(OpenFilter())) {
        path = *chosen;
        // The design on screen is about to be replaced: an unsaved
        // calculation gets the Close button's question first. A cancelled
        // dialog replaces nothing and asks nothing.
        if (!AskBeforeLeaving(window, state, dialogs, programDirectory)) path.clear();
    }
    if (!path.isEmpty()) {
        try {
            const DesignFileContent content = ReadDesign(LocalPath(path), decimalSeparator);
            // Before the calculation, which hands them to the drawings with the design.
            window.setParticulars(content.particulars);
            ShowDesignTexts(window, content.inputs);
            state.DesignSaved = true;
            state.CurrentDesignFile = path;
            if (const auto problem = CheckParticulars(content.particulars, decimalSeparator)) {
                dialogs.message(
                    ApplicationTitle(),
                    MessageWithDetail(DesignFilesText::tr("文件中的图样资料有误，保存前请在“图样资料”中改正："),
                                      ParticularProblemText(*problem, content.particulars)));
            }
        } catch (const std::exception& error) {
            dialogs.message(ApplicationTitle(), MessageWithDetail(OpenFailedMessage(), FailureDetail(error)));
        }
    }
    state.CommandLineOpenDone = true;
}

bool AskBeforeLeaving(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QString& programDirectory) {
    if (!state.DesignSaved && dialogs.askYesNo(DesignFilesText::tr("Warning"), UnsavedQuestion())) {
        // A save that failed keeps the program open with the design on screen,
        // rather than closing and losing it; a cancelled file dialog counts as
        // a completed save and the program ends.
        return SaveDesign(window, state, dialogs, programDirectory);
    }
    return true;
}

void CloseWithQuestion(DesignWindow& window, DesignFileState& state, Dialogs& dialogs,
                       const QString& programDirectory) {
    if (AskBeforeLeaving(window, state, dialogs, programDirectory)) window.closeWindow();
}

}  // namespace wormgear
