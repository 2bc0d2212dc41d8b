// The main window: thirteen design inputs, the four result panels, the
// command buttons and the menu. It owns the program-wide state (design record,
// coefficient table, design-file state) and only moves texts in and out: the
// calculation, the proposals and every file command live in their libraries.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QToolButton>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "calc/checks.h"
#include "calc/design.h"
#include "designfile/design_commands.h"
#include "dialogs/dialogs.h"
#include "drawing/report.h"
#include "export/sheets.h"
#include "particulars/particulars.h"
#include "particulars/tolerances.h"
#include "solutions/solutions_window.h"
#include "ui/online_services.h"

namespace wormgear {

class TForm2;
class TForm5;
class TChecksWindow;

class TForm1 : public QMainWindow, public DesignWindow, public SolutionsHost {
    Q_OBJECT

 public:
    // `programDirectory` ends with a separator; every file the window reads or
    // writes without asking lies there. Numbers are read and shown with
    // `decimalSeparator`, the user's. `arguments` are the command-line
    // arguments after the program name (a design file to open at start).
    // The creation step FormCreate runs here.
    TForm1(Dialogs& dialogs, QString programDirectory, char decimalSeparator, QStringList arguments,
           OnlineServices online = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    // Inputs, rows 0..12, and their caption labels.
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11, *Edit12,
        *Edit13;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label15, *Label30, *Label31, *Label36,
        *Label37, *Label38;
    // Coefficient read-outs under Edit5 and Edit7, and the two red notices.
    QLabel *Label46, *Label47, *Label50, *Label32;
    // Hint buttons and hint boxes.
    QPushButton *Button2, *Button3, *Button4, *Button5;
    QPlainTextEdit *Memo1, *Memo2, *Memo3, *Memo4;
    // Result panels and their lines.
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4;
    QLabel *Label23, *Label24, *Label8, *Label10, *Label9, *Label11, *Label12, *Label13, *Label14, *Label16, *Label17,
        *Label25, *Label26, *Label27, *Label28, *Label48, *Label43;
    QLabel *Label18, *Label19, *Label20, *Label21, *Label22, *Label29, *Label49;
    QLabel *Label33, *Label35, *Label34, *Label44, *Label45, *Label40;
    QLabel *Label41, *Label42, *Label51, *Label52;
    QCheckBox* CheckBox1;
    // Command buttons.
    QPushButton *Button1, *Button6, *Button13, *Button11, *Button10;
    // Main menu.
    QMenu *N1, *N7, *df1, *N19;
    QAction *N11, *N12, *N2, *N3, *N14, *N4, *N5, *N17, *N6, *N13, *N15, *N16, *N18;
    // The tools menu: the drawings, the report and the meshing analysis (N29);
    // the design checks and the table of solutions.
    QAction *N20, *N21, *N22, *N23, *N24, *N25, *N29;
    // 工具 → 图样资料… (the particulars of the design) and 设置 → 公差表…
    QAction *N30, *N31;
    // The status line below the client area: the design checks of the last
    // calculation, and the button that opens them in full.
    QLabel* ChecksLine;
    QToolButton* ChecksButton;
    // 维护 → 语言: the interface language, 中文 or English.
    QMenu* N26;
    QAction *N27, *N28;

    // Handlers, named after their control and event.
    void FormCreate();
    // The show step: loads the coefficient table, then starts the version
    // check (the installed version is read here; the published one arrives
    // later), in one guarded block. On any failure the box "数据初始化失败，程序将关闭"
    // is shown (with the file and the reason beneath it) and the program ends;
    // a reload that finds db1.mdb locked by another program says so and keeps
    // the table it has. Returns whether the program goes on. Also run as a
    // reload.
    bool FormShow();
    void Button1Click();
    void N2Click() { Button1Click(); }
    void CheckBox1Click();
    void Edit1Change();
    void Edit5Change();
    void Edit7Change();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void N3Click() { Button6Click(); }
    void Button11Click();
    void N4Click() { Button11Click(); }
    void Button13Click();
    void N14Click() { Button13Click(); }
    void Button10Click();
    void N6Click();
    void N11Click();
    void N5Click();
    void N13Click();
    void N15Click();
    void N16Click();
    void N17Click();
    // The upgrade: says so when the updater is missing; asks the Close
    // button's unsaved-data question; starts the updater and ends the program.
    void N18Click();
    void N20Click() { openDrawing(DrawingKind::Worm); }
    void N21Click() { openDrawing(DrawingKind::Wheel); }
    void N22Click() { openDrawing(DrawingKind::Hob); }
    void N23Click() { openDrawing(std::nullopt); }
    // The meshing analysis of the last successful calculation, in its window.
    void N29Click();
    // The design checks of the last calculation in full, in their window.
    void N24Click();
    // The table of solutions around the design on screen.
    void N25Click();
    // The language for the next start, remembered; the window says so.
    void N27Click() { chooseLanguage(Language::Chinese); }
    void N28Click() { chooseLanguage(Language::English); }
    // The particulars of the design on screen in their dialog; a change
    // marks the design unsaved and reaches the open previews.
    void N30Click();
    // The tolerance table of db1.mdb in its editor; a save reads it again.
    void N31Click();

    // Program-wide state.
    const TWormDesign& design() const { return design_; }
    const TCoefficientTable& coefficients() const { return coefficients_; }
    const DesignFileState& designFileState() const { return fileState_; }
    bool designSaved() const { return fileState_.DesignSaved; }
    // True once the main window has closed: the program is ending.
    bool hasEnded() const { return ended_; }
    // The result label of that name ("Label23"), or nullptr.
    QLabel* resultLabel(const std::string& name) const;
    TForm2* form2() const { return form2_.get(); }
    TForm5* form5() const { return form5_.get(); }
    // The design checks of the last calculation, the worst first.
    const std::vector<Finding>& findings() const { return findings_; }
    // The windows of N24 and N25, once opened.
    TChecksWindow* checksWindow() const { return checksWindow_.get(); }
    TSolutionsWindow* solutionsWindow() const { return solutionsWindow_.get(); }
    // The language of this window's texts: the one installed when it was made.
    Language language() const { return language_; }

    // DesignWindow, for the design-file commands.
    QString fieldText(int row) const override;
    char decimalSeparator() const override { return separator_; }
    void setFieldText(int row, const QString& text) override;
    void calculate() override { Button1Click(); }
    void showWindow() override { show(); }
    void closeWindow() override { close(); }
    Particulars particulars() const override { return particulars_; }
    void setParticulars(const Particulars& particulars) override;
    // The tolerance table as last read from db1.mdb (empty when it has none
    // or could not be read).
    const ToleranceTable& tolerances() const { return tolerances_; }

    // SolutionsHost, for the table of solutions.
    DesignInputs hostInputs() const override { return designInputs(); }
    TCoefficientTable hostCoefficients() const override { return coefficients_; }
    bool hostRoundsEnvelopedTeeth() const override { return CheckBox1->isChecked(); }
    // Asks the unsaved-data question as an open does, then puts the design's
    // calculated texts (the other four stay as they are) into the fields and
    // calculates, with 取整数 as the table was calculated.
    void takeOver(const DesignInputs& texts, bool roundEnvelopedTeeth) override;

    // The first showing runs the show step before the window comes up; when it
    // fails the window never appears.
    void setVisible(bool visible) override;

 signals:
    // The main window has closed (by any path): the program ends.
    void programEnded();

 protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

 private:
    void buildWindow();
    void buildInputs(QWidget* client);
    void buildAssistance(QWidget* client);
    void buildPanels(QWidget* client);
    void buildButtons(QWidget* client);
    void buildMenu();
    void buildStatusLine();
    void setTabOrder();
    void connectHandlers();

    // The thirteen texts of the fields.
    DesignInputs designInputs() const;
    // Button6Click, Button11Click, Button13Click: the sheet with the window's texts.
    void exportSheet(SheetKind kind);
    // Before a sheet, drawing or report of a design whose checks found an
    // error: the errors and the question whether to make it anyway, marked.
    bool mayMakeDespiteErrors();
    // Panels, CheckBox1 and the export buttons: shown and enabled together.
    void showResults(bool shown);
    // Writes a text as typing would: the change handler runs only when it differs.
    static void setEditText(QLineEdit* edit, const std::string& text);
    // Reports a failed proposal: one message per failing handler.
    void reportInputError();
    // The notice line in Label32, elided at its end when it is too wide.
    void showNotice(const QString& line);
    // The box of a published version that differs from the installed one.
    void showNewVersionMessage();
    // The preview of a drawing, or of the report without a kind.
    void openDrawing(std::optional<DrawingKind> kind);
    // The open previews after a calculation: the last successful design, or
    // marked out of date.
    void followCalculation();
    // The design checks of a calculation: the status line, and the checks
    // window when it is open.
    void showChecks(const CalculationOutcome& outcome);
    void chooseLanguage(Language language);
    // Reads the tolerance table again; a table that cannot be read leaves
    // none, and says so.
    void loadTolerances();
    // Runs a command; an error it does not catch itself is shown with its own
    // text and the program goes on.
    void guarded(const std::function<void()>& command);

    Dialogs& dialogs_;
    const QString programDirectory_;
    const char separator_;
    const Language language_;
    const QStringList arguments_;
    const OnlineServices online_;

    TWormDesign design_;
    TCoefficientTable coefficients_;
    // The rule text and shipped value of each coefficient, as loaded with it.
    std::array<std::string, kCoefficientCount> coefficientRules_;
    std::array<std::optional<Real>, kCoefficientCount> shippedCoefficients_;
    // What the drawings and the report are made of: the last calculation,
    // while it is the last and has succeeded.
    std::optional<ReportContent> calculated_;
    DesignFileState fileState_;
    Particulars particulars_;
    ToleranceTable tolerances_;
    bool showStepDone_ = false;
    bool coefficientsLoaded_ = false;
    bool ended_ = false;
    bool versionMessageOpen_ = false;

    std::array<QLineEdit*, kDesignFieldCount> edits_{};
    std::map<std::string, QLabel*> resultLabels_;
    std::vector<Finding> findings_;
    bool checkedOnce_ = false;  // a calculation has been checked
    bool checkedSucceeded_ = false;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TChecksWindow> checksWindow_;
    std::unique_ptr<TSolutionsWindow> solutionsWindow_;
};

}  // namespace wormgear
