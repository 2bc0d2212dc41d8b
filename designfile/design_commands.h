// The window's design-file commands: saving the thirteen input texts, opening
// them again (from the menu or once from the command line), and the
// unsaved-data question of the Close button. The window hands these commands
// what they need through DesignWindow; they never include the window.
#pragma once

#include <QString>
#include <QStringList>

#include "calc/fields.h"
#include "dialogs/dialogs.h"
#include "particulars/particulars.h"

namespace wormgear {

// What the design-file commands need of the main window.
class DesignWindow {
 public:
    virtual ~DesignWindow() = default;
    // Rows 1..13 are the fields in the order of DesignFields().
    virtual QString fieldText(int row) const = 0;
    // The decimal separator the field texts are written with (the user's).
    virtual char decimalSeparator() const = 0;
    // Sets the text as typing would: the change handlers run when it differs.
    virtual void setFieldText(int row, const QString& text) = 0;
    // Button1Click.
    virtual void calculate() = 0;
    // Makes the window visible (its show step runs on the first showing).
    virtual void showWindow() = 0;
    // Closes the main window, which ends the program.
    virtual void closeWindow() = 0;
    // The particulars kept with the design (title block, drawing numbers,
    // materials, 技术要求, body dimensions): saved below the thirteen texts
    // and replaced by an open. A window without them keeps none.
    virtual Particulars particulars() const { return {}; }
    virtual void setParticulars(const Particulars&) {}
};

// Program-wide state of the design-file commands, owned by the main window.
struct DesignFileState {
    bool DesignSaved = true;
    QString CurrentDesignFile;
    bool CommandLineOpenDone = false;
};

// N5Click: writes the thirteen texts and the particulars into CurrentDesignFile, or into a new
// file from the template "111.xls" under a chosen name with ".cqb" appended
// unless it ends so already (DesignFileName). A CurrentDesignFile in another
// format than OOXML is kept as "NAME.bak" before its first rewrite; one whose
// name promises another format ("gear.ods", "old.xls") is left as it is and
// the design, with the rest of that file's sheet, is saved like a new one,
// the dialog proposing the same name with ".cqb" beside it (SavesInPlace).
// When CurrentDesignFile can no longer be opened (deleted, damaged), the
// texts go into a fresh design file from the template at that path (when its
// name takes a design, else as for a new one): they are all a design file
// holds. Particulars that CheckParticulars refuses (a text too long for its
// place) are refused before anything is opened or written, with the message
// naming the entry and its limit. Returns false when the save failed (its
// message has been shown, with the file and the reason beneath it).
bool SaveDesign(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QString& programDirectory);

// Puts a design on screen as an open does: the thirteen texts into the
// fields in row order (the proposals that the centre distance makes for the
// base circle and the pitch diameter are then replaced by the given texts),
// then Calculate. The open and the take-over from a table of solutions both
// come this way.
void ShowDesignTexts(DesignWindow& window, const DesignInputs& inputs);

// N11Click: takes the file from `arguments` (the command-line arguments after
// the program name) the first time, else from the open dialog (design files,
// or any file: LibreOffice saves .ods and .xlsx under their own names); hands
// the window the file's particulars (all defaults for a file without them),
// fills the fields, calculates, and records the file. Particulars a save
// would refuse are kept as read, and a message names the first of them. A file chosen in the dialog while
// a calculated design is unsaved first gets the Close button's question
// (AskBeforeLeaving): a save on Yes that fails keeps the design and opens
// nothing.
void OpenDesign(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QStringList& arguments,
                char decimalSeparator, const QString& programDirectory);

// The design-file path formed from the command line: the first four arguments
// joined with blanks, trimmed; empty when the first argument is empty.
QString CommandLineDesignPath(const QStringList& arguments);

// The unsaved-data question of the Close button, for every way out of the
// program that asks it (and for 打开, before the design on screen is replaced):
// when a calculated design is unsaved, asks whether to save and saves on Yes.
// True when the design may be given up (nothing unsaved, No, or the save
// completed or was cancelled in its dialog); false when a save on Yes failed,
// so the design stays on screen. A save that cannot even close its workbook
// throws, as SaveDesign does.
bool AskBeforeLeaving(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QString& programDirectory);

// Button10Click: asks about unsaved data, saves on Yes, then closes the window
// (unless a save on Yes failed: then the design stays on screen).
void CloseWithQuestion(DesignWindow& window, DesignFileState& state, Dialogs& dialogs, const QString& programDirectory);

}  // namespace wormgear
