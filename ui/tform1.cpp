// The main window: its layout, the handlers of its controls and menu, and the
// start-up steps that belong to it (creation step, show step, closing).
#include "ui/tform1.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "calc/suggestions.h"
#include "dialogs/window_font.h"
#include "dialogs/window_place.h"
#include "drawing/drawing_commands.h"
#include "drawing/meshing_window.h"
#include "export/export_command.h"
#include "export/progress_dialog.h"
#include "files/qt_path.h"
#include "particulars/particulars_dialog.h"
#include "settings/coefficient_editor.h"
#include "settings/coefficient_store.h"
#include "settings/settings_files.h"
#include "settings/tolerance_editor.h"
#include "settings/tolerance_store.h"
#include "translations/error_text.h"
#include "translations/interface_language.h"
#include "ui/application.h"
#include "ui/checks_window.h"

namespace wormgear {

namespace {

// Client area of the window, in pixels at 96 dots per inch.
constexpr int kClientWidth = 836;
constexpr int kClientHeight = 560;

// Where the result lines of the English interface start in their panels.
constexpr int kEnglishLineX = 8;

// The background, the system colour of the active caption gradient as the
// classic Windows scheme sets it.
const QColor kBackground(185, 209, 234);

// One input row, in the order of DesignFields(): field, caption label and
// caption. The default texts are DefaultInputs in the user's notation.
struct InputRow {
    const char* edit;
    const char* label;
    const char* caption;
};
const InputRow kInputRows[kDesignFieldCount] = {
    {"Edit1", "Label1", QT_TRANSLATE_NOOP("wormgear::TForm1", "中  心  距：")},
    {"Edit2", "Label2", QT_TRANSLATE_NOOP("wormgear::TForm1", "速        比：")},
    {"Edit3", "Label3", QT_TRANSLATE_NOOP("wormgear::TForm1", "齿        数：")},
    {"Edit4", "Label4", QT_TRANSLATE_NOOP("wormgear::TForm1", "蜗杆头数：")},
    {"Edit5", "Label5", QT_TRANSLATE_NOOP("wormgear::TForm1", "主  基  圆：")},
    {"Edit6", "Label6", QT_TRANSLATE_NOOP("wormgear::TForm1", "E           值：")},
    {"Edit7", "Label7", QT_TRANSLATE_NOOP("wormgear::TForm1", "杆分度圆：")},
    {"Edit8", "Label15", QT_TRANSLATE_NOOP("wormgear::TForm1", "侧         隙：")},
    {"Edit9", "Label30", QT_TRANSLATE_NOOP("wormgear::TForm1", "蜗杆精度：")},
    {"Edit10", "Label31", QT_TRANSLATE_NOOP("wormgear::TForm1", "滚刀精度：")},
    {"Edit11", "Label36", QT_TRANSLATE_NOOP("wormgear::TForm1", "入口修缘：")},
    {"Edit12", "Label37", QT_TRANSLATE_NOOP("wormgear::TForm1", "出口修缘：")},
    {"Edit13", "Label38", QT_TRANSLATE_NOOP("wormgear::TForm1", "磨齿增量：")},
};

// The hint texts; a line ending in \t ends with one tab character.
const char* const kMemo1Lines[] = {QT_TRANSLATE_NOOP("wormgear::TForm1", "系数：0.63～0.67,小"),
                                   QT_TRANSLATE_NOOP("wormgear::TForm1", "传动比时取小值")};
const char* const kMemo2Lines[] = {
    QT_TRANSLATE_NOOP("wormgear::TForm1", "齿顶圆弧偏"), QT_TRANSLATE_NOOP("wormgear::TForm1", "心。速比>10 "),
    QT_TRANSLATE_NOOP("wormgear::TForm1", "取0，速"), QT_TRANSLATE_NOOP("wormgear::TForm1", "比<10取0.1a至0"),
    QT_TRANSLATE_NOOP("wormgear::TForm1", ".3a")};
const char* const kMemo3Lines[] = {QT_TRANSLATE_NOOP("wormgear::TForm1", "系数取0.6～0.78之"),
                                   QT_TRANSLATE_NOOP("wormgear::TForm1", "间")};
const char* const kMemo4Lines[] = {
    QT_TRANSLATE_NOOP("wormgear::TForm1", "A≥80～200\t"),   QT_TRANSLATE_NOOP("wormgear::TForm1", "Cn=0.15～0.5"),
    QT_TRANSLATE_NOOP("wormgear::TForm1", "A≥200～315\t"),  QT_TRANSLATE_NOOP("wormgear::TForm1", "Cn=0.35～0.8\t"),
    QT_TRANSLATE_NOOP("wormgear::TForm1", "A≥315～630\t"),  QT_TRANSLATE_NOOP("wormgear::TForm1", "Cn=0.6～1.5"),
    QT_TRANSLATE_NOOP("wormgear::TForm1", "A≥600～800\t"),  QT_TRANSLATE_NOOP("wormgear::TForm1", "Cn=0.8～2\t"),
    QT_TRANSLATE_NOOP("wormgear::TForm1", "A≥800～1000\t"), QT_TRANSLATE_NOOP("wormgear::TForm1", "Cn=1～1.25")};

template <std::size_t N>
QString HintText(const char* const (&lines)[N]) {
    QStringList text;
    for (const char* line : lines) text << QCoreApplication::translate("wormgear::TForm1", line);
    return text.join(QLatin1Char('\n'));
}

const char* const kNoticeCaption = QT_TRANSLATE_NOOP("wormgear::TForm1", "提示");

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);  // results and notices are shown literally
    label->setGeometry(geometry);
    return label;
}

void MakeRed(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::StrongFocus);
    // A focused button takes Enter itself, as Button1 does as the default button.
    button->setAutoDefault(true);
    return button;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                         bool verticalScrollBar) {
    auto* memo = new QPlainTextEdit(text, parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setGeometry(geometry);
    memo->setTabChangesFocus(true);
    memo->setVerticalScrollBarPolicy(verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->hide();
    return memo;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QString programDirectory, char decimalSeparator, QStringList arguments,
               OnlineServices online, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      programDirectory_(std::move(programDirectory)),
      separator_(decimalSeparator),
      language_(InstalledLanguage()),
      arguments_(std::move(arguments)),
      online_(std::move(online)) {
    buildWindow();
    connectHandlers();
    FormCreate();
    // The export progress dialog and the coefficient editor live hidden from
    // now on until the program ends.
    form2_ = std::make_unique<TForm2>(this);
    form5_ = std::make_unique<TForm5>(
        programDirectory_, separator_, dialogs_, [this] { FormShow(); }, this);
}

TForm1::~TForm1() = default;

// ---------------------------------------------------------------- layout

void TForm1::buildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("QELM蜗杆副设计V7.6"));
    setFont(WindowFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    buildInputs(client);
    buildAssistance(client);
    buildPanels(client);
    buildButtons(client);
    buildMenu();
    buildStatusLine();
    setTabOrder();

    // Single border: no resizing and no maximize button; minimize and close stay.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The client area keeps its size: the window grows by the menu and the status line.
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void TForm1::buildInputs(QWidget* client) {
    QLineEdit** edits[kDesignFieldCount] = {&Edit1, &Edit2, &Edit3,  &Edit4,  &Edit5,  &Edit6, &Edit7,
                                            &Edit8, &Edit9, &Edit10, &Edit11, &Edit12, &Edit13};
    QLabel** labels[kDesignFieldCount] = {&Label1,  &Label2,  &Label3,  &Label4,  &Label5,  &Label6, &Label7,
                                          &Label15, &Label30, &Label31, &Label36, &Label37, &Label38};
    const DesignInputs defaults = DefaultInputs(separator_);
    for (int row = 0; row < kDesignFieldCount; ++row) {
        const InputRow& input = kInputRows[row];
        *labels[row] = MakeLabel(client, input.label, tr(input.caption), QRect(16, 32 + 40 * row, 80, 13));
        auto* edit = new QLineEdit(QString::fromStdString(defaults.*DesignFields()[row].text), client);
        edit->setObjectName(QString::fromLatin1(input.edit));
        edit->setGeometry(96, 24 + 40 * row, 121, 21);
        *edits[row] = edit;
        edits_[row] = edit;
    }
}

void TForm1::buildAssistance(QWidget* client) {
    Label46 = MakeLabel(client, "Label46", QStringLiteral("0.65"), QRect(96, 208, 121, 13));
    Label47 = MakeLabel(client, "Label47", QStringLiteral("0.76"), QRect(96, 288, 121, 13));
    Label46->setFont(ReadoutFont());
    Label47->setFont(ReadoutFont());

    const QString arrow = QStringLiteral("→");
    Button2 = MakeButton(client, "Button2", arrow, QRect(224, 187, 17, 17));
    Button3 = MakeButton(client, "Button3", arrow, QRect(224, 226, 17, 17));
    Button4 = MakeButton(client, "Button4", arrow, QRect(224, 266, 17, 17));
    Button5 = MakeButton(client, "Button5", arrow, QRect(224, 306, 17, 17));

    Memo1 = MakeMemo(client, "Memo1", HintText(kMemo1Lines), QRect(248, 184, 113, 41), false);
    Memo2 = MakeMemo(client, "Memo2", HintText(kMemo2Lines), QRect(248, 224, 113, 33), true);
    Memo3 = MakeMemo(client, "Memo3", HintText(kMemo3Lines), QRect(248, 264, 113, 33), false);
    Memo4 = MakeMemo(client, "Memo4", HintText(kMemo4Lines), QRect(248, 304, 113, 145), false);

    Label50 = MakeLabel(client, "Label50", tr("注意：计算法则已被修改..."), QRect(16, 8, 177, 13));
    MakeRed(Label50);
    Label50->hide();
    Label32 = MakeLabel(client, "Label32", QString(), QRect(395, 0, 441, 17));
    MakeRed(Label32);
    Label32->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TForm1::buildPanels(QWidget* client) {
    // Where each panel stands and how far its lines are indented: the
    // window's own layout, in the order of Panels().
    struct PanelPlace {
        QGroupBox** box;
        QRect geometry;
        int lineX;
    };
    const PanelPlace places[] = {
        {&GroupBox1, QRect(384, 24, 217, 497), 24},
        {&GroupBox2, QRect(608, 24, 217, 193), 32},
        {&GroupBox3, QRect(608, 224, 217, 169), 40},
        {&GroupBox4, QRect(608, 400, 217, 121), 40},
    };
    // The label members by the names the result lines carry.
    const std::map<std::string, QLabel**> members = {
        {"Label23", &Label23}, {"Label24", &Label24}, {"Label8", &Label8},   {"Label10", &Label10},
        {"Label9", &Label9},   {"Label11", &Label11}, {"Label12", &Label12}, {"Label13", &Label13},
        {"Label14", &Label14}, {"Label16", &Label16}, {"Label17", &Label17}, {"Label25", &Label25},
        {"Label26", &Label26}, {"Label27", &Label27}, {"Label28", &Label28}, {"Label48", &Label48},
        {"Label43", &Label43}, {"Label18", &Label18}, {"Label19", &Label19}, {"Label20", &Label20},
        {"Label21", &Label21}, {"Label22", &Label22}, {"Label29", &Label29}, {"Label49", &Label49},
        {"Label33", &Label33}, {"Label35", &Label35}, {"Label34", &Label34}, {"Label44", &Label44},
        {"Label45", &Label45}, {"Label40", &Label40}, {"Label41", &Label41}, {"Label42", &Label42},
        {"Label51", &Label51}, {"Label52", &Label52}};
    for (std::size_t p = 0; p < Panels().size(); ++p) {
        const PanelDescription& panel = Panels()[p];
        const PanelPlace& place = places[p];
        auto* box = new QGroupBox(QString::fromStdString(PanelCaption(panel, InterfaceTranslation())), client);
        box->setObjectName(QString::fromLatin1(panel.name));
        box->setGeometry(place.geometry);
        *place.box = box;
        for (int n = 0; n < panel.count; ++n) {
            const ResultDescription& result =
                Results()[static_cast<std::size_t>(panel.first) + static_cast<std::size_t>(n)];
            // Lines 24 pixels apart from 24 below the top; the fourth wheel line at 98.
            const int y = result.id == ResultId::WheelMeasuredThickness ? 98 : 24 + 24 * n;
            // English names are longer than the Chinese ones: their lines
            // start near the panel's edge so that the longest fits whole.
            const int x = language_ == Language::English ? std::min(place.lineX, kEnglishLineX) : place.lineX;
            const int width = place.geometry.width() - x - 4;
            QLabel* label = MakeLabel(box, result.label, QString(), QRect(x, y, width, 13));
            *members.at(result.label) = label;
            resultLabels_[result.label] = label;
        }
    }
    // The round-to-integer box stands on the enveloped-teeth line, right of its text.
    Label26->resize(144 - 24 - 4, 13);
    CheckBox1 = new QCheckBox(tr("取整数"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(144, Label26->y() - 2, 65, 17);
    CheckBox1->hide();
    CheckBox1->installEventFilter(this);
}

void TForm1::buildButtons(QWidget* client) {
    Button1 = MakeButton(client, "Button1", tr("计   算"), QRect(248, 456, 129, 65));
    Button1->setDefault(true);
    Button6 = MakeButton(client, "Button6", tr("导出蜗杆参数表"), QRect(248, 528, 129, 25));
    Button13 = MakeButton(client, "Button13", tr("导出蜗轮参数表"), QRect(392, 528, 129, 25));
    Button11 = MakeButton(client, "Button11", tr("导出滚刀参数表"), QRect(536, 528, 129, 25));
    Button10 = MakeButton(client, "Button10", tr("关    闭"), QRect(680, 528, 129, 25));
    for (QPushButton* button : {Button6, Button13, Button11}) button->setEnabled(false);
}

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto item = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    N1 = bar->addMenu(tr("执行"));
    N1->setObjectName(QStringLiteral("N1"));
    N11 = item(N1, "N11", tr("打开"));
    N12 = item(N1, "N12", QStringLiteral("-----------"));  // an ordinary item, not a separator
    N2 = item(N1, "N2", tr("计算"));
    N3 = item(N1, "N3", tr("导出蜗杆参数"));
    N14 = item(N1, "N14", tr("导出蜗轮参数"));
    N4 = item(N1, "N4", tr("导出滚刀参数"));
    N5 = item(N1, "N5", tr("保存"));
    N17 = item(N1, "N17", tr("另存用户设置"));
    N6 = item(N1, "N6", tr("退出"));
    // The keys desktop programs use, shown beside the items; they work from
    // anywhere in the window, an input box included.
    N11->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    N2->setShortcut(QKeySequence(Qt::Key_F9));
    N5->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    N7 = bar->addMenu(tr("设置"));
    N7->setObjectName(QStringLiteral("N7"));
    N13 = item(N7, "N13", tr("计算法则参数设置"));
    N15 = item(N7, "N15", tr("还原默认设置"));
    N16 = item(N7, "N16", tr("加载用户设置"));
    N31 = item(N7, "N31", tr("公差表…"));
    df1 = bar->addMenu(tr("维护"));
    df1->setObjectName(QStringLiteral("df1"));
    N18 = item(df1, "N18", tr("软件升级"));
    N19 = bar->addMenu(tr("工具"));
    N19->setObjectName(QStringLiteral("N19"));
    N20 = item(N19, "N20", tr("蜗杆图"));
    N21 = item(N19, "N21", tr("蜗轮图"));
    N22 = item(N19, "N22", tr("滚刀图"));
    N23 = item(N19, "N23", tr("计算书"));
    N29 = item(N19, "N29", tr("啮合分析"));
    N24 = item(N19, "N24", tr("设计检查"));
    N25 = item(N19, "N25", tr("方案表"));
    N30 = item(N19, "N30", tr("图样资料…"));
    // Each language by its own name, whatever the interface's.
    N26 = df1->addMenu(tr("语言"));
    N26->setObjectName(QStringLiteral("N26"));
    N26->menuAction()->setObjectName(QStringLiteral("N26"));
    N27 = item(N26, "N27", QStringLiteral("中文"));
    N28 = item(N26, "N28", QStringLiteral("English"));
    auto* languages = new QActionGroup(N26);
    for (QAction* choice : {N27, N28}) {
        choice->setCheckable(true);
        languages->addAction(choice);
    }
    (language_ == Language::English ? N28 : N27)->setChecked(true);
}

void TForm1::buildStatusLine() {
    QStatusBar* line = statusBar();
    line->setObjectName(QStringLiteral("StatusBar"));
    line->setSizeGripEnabled(false);  // the window keeps its size
    ChecksLine = new QLabel(line);
    ChecksLine->setObjectName(QStringLiteral("ChecksLine"));
    ChecksLine->setTextFormat(Qt::PlainText);
    ChecksLine->setMinimumWidth(1);  // a long text is cut, it does not widen the window
    ChecksButton = new QToolButton(line);
    ChecksButton->setObjectName(QStringLiteral("ChecksButton"));
    ChecksButton->setText(tr("详细…"));
    ChecksButton->setAutoRaise(true);
    ChecksButton->setFocusPolicy(Qt::NoFocus);  // outside the keyboard order of the window
    ChecksButton->hide();
    line->addWidget(ChecksLine, 1);
    line->addPermanentWidget(ChecksButton);
}

void TForm1::setTabOrder() {
    // Labels, group boxes and hidden boxes take no focus; the rest in this order.
    QWidget* const order[] = {Button1,   Edit1,  Edit2,  Edit3,   Edit4,    Edit5,    Edit6,    Edit7,   Edit8,
                              CheckBox1, Edit9,  Edit10, Button2, Button4,  Button5,  Memo1,    Memo3,   Memo4,
                              Button6,   Edit11, Edit12, Edit13,  Button10, Button11, Button13, Button3, Memo2};
    for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void TForm1::connectHandlers() {
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    // Enter in an input box presses the default button.
    for (QLineEdit* edit : edits_) connect(edit, &QLineEdit::returnPressed, this, [this] { Button1Click(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit5, &QLineEdit::textChanged, this, [this] { Edit5Change(); });
    connect(Edit7, &QLineEdit::textChanged, this, [this] { Edit7Change(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    connect(Button11, &QPushButton::clicked, this, [this] { Button11Click(); });
    connect(Button13, &QPushButton::clicked, this, [this] { Button13Click(); });
    connect(Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
    connect(N11, &QAction::triggered, this, [this] { N11Click(); });
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(N3, &QAction::triggered, this, [this] { N3Click(); });
    connect(N14, &QAction::triggered, this, [this] { N14Click(); });
    connect(N4, &QAction::triggered, this, [this] { N4Click(); });
    connect(N5, &QAction::triggered, this, [this] { N5Click(); });
    connect(N17, &QAction::triggered, this, [this] { N17Click(); });
    connect(N6, &QAction::triggered, this, [this] { N6Click(); });
    connect(N13, &QAction::triggered, this, [this] { N13Click(); });
    connect(N15, &QAction::triggered, this, [this] { N15Click(); });
    connect(N16, &QAction::triggered, this, [this] { N16Click(); });
    connect(N18, &QAction::triggered, this, [this] { N18Click(); });
    connect(N20, &QAction::triggered, this, [this] { N20Click(); });
    connect(N21, &QAction::triggered, this, [this] { N21Click(); });
    connect(N22, &QAction::triggered, this, [this] { N22Click(); });
    connect(N23, &QAction::triggered, this, [this] { N23Click(); });
    connect(N29, &QAction::triggered, this, [this] { N29Click(); });
    connect(N24, &QAction::triggered, this, [this] { N24Click(); });
    connect(N25, &QAction::triggered, this, [this] { N25Click(); });
    connect(N30, &QAction::triggered, this, [this] { N30Click(); });
    connect(N31, &QAction::triggered, this, [this] { N31Click(); });
    connect(ChecksButton, &QToolButton::clicked, this, [this] { N24Click(); });
    connect(N27, &QAction::triggered, this, [this] { N27Click(); });
    connect(N28, &QAction::triggered, this, [this] { N28Click(); });
    // N12 has no action.
}

// ---------------------------------------------------------------- start-up and closing

void TForm1::FormCreate() {
    fileState_.DesignSaved = true;
    Button1->setFocus();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    // A design named on the command line: its open shows the window first, which
    // loads the coefficients before the design is calculated.
    if (!arguments_.isEmpty() && !arguments_.first().isEmpty()) N11Click();
    if (ended_) return;
    // The notice line: asked for now, shown when it arrives.
    if (online_.fetchNoticeLine)
        online_.fetchNoticeLine(programDirectory_, this, [this](const QString& line) { showNotice(line); });
}

void TForm1::showNotice(const QString& line) {
    if (ended_) return;
    // The label is right-aligned: a notice wider than it would lose its start;
    // it loses its end instead, marked with an ellipsis.
    Label32->setText(Label32->fontMetrics().elidedText(line, Qt::ElideRight, Label32->contentsRect().width()));
}

void TForm1::showNewVersionMessage() {
    // One box at a time: a second check that ends while the box is open says
    // nothing new.
    if (ended_ || versionMessageOpen_) return;
    versionMessageOpen_ = true;
    dialogs_.message(ApplicationTitle(), online_.newVersionMessage);
    versionMessageOpen_ = false;
}

bool TForm1::FormShow() {
    try {
        const CoefficientLoad load = LoadCoefficients(programDirectory_, separator_);
        coefficients_ = load.table;
        coefficientRules_ = load.rules;
        shippedCoefficients_ = load.shipped;
        coefficientsLoaded_ = true;
        Label50->setVisible(load.rulesModified);
        loadTolerances();
        // The version check: the installed version is read now, the published
        // one arrives later and the window goes on meanwhile.
        if (online_.checkVersion) online_.checkVersion(programDirectory_, this, [this] { showNewVersionMessage(); });
        return true;
    } catch (const CoefficientStoreError& error) {
        const QString detail = FileDetail(ShownWorkingDatabasePath(programDirectory_), QString::fromUtf8(error.what()));
        // A reload that finds the file locked by another program keeps the
        // table it has: the lock passes, and nothing is lost meanwhile.
        if (error.kind() == CoefficientStoreError::Kind::Busy && coefficientsLoaded_) {
            dialogs_.message(ApplicationTitle(),
                             MessageWithDetail(tr("计算法则参数未能重新读取，仍使用原来的参数。"), detail));
            return true;
        }
        dialogs_.message(
            tr(kNoticeCaption),
            MessageWithDetail(QCoreApplication::translate("wormgear::Settings", kDataInitFailedMessage), detail));
        close();
        return false;
    } catch (...) {
        // Whatever failed, the program cannot work without its data.
        dialogs_.message(tr(kNoticeCaption), QCoreApplication::translate("wormgear::Settings", kDataInitFailedMessage));
        close();
        return false;
    }
}

void TForm1::setVisible(bool visible) {
    if (visible && ended_) return;
    if (visible && !showStepDone_) {
        showStepDone_ = true;
        if (!FormShow()) return;
    }
    QMainWindow::setVisible(visible);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The window system's close (the title-bar close box, Alt+F4) asks the
    // Close button's question; a save on Yes that fails keeps the program
    // running. The program's own closes (关闭 and the upgrade after their
    // question, 退出, a failed start) come here without one.
    if (event->spontaneous() && !ended_) {
        bool mayClose = false;
        try {
            mayClose = AskBeforeLeaving(*this, fileState_, dialogs_, programDirectory_);
        } catch (const std::exception& error) {
            ShowUncaughtError(dialogs_, error);
        }
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    event->accept();
    if (!ended_) {
        ended_ = true;
        emit programEnded();
    }
}

void TForm1::N6Click() { close(); }

void TForm1::Button10Click() {
    guarded([this] { CloseWithQuestion(*this, fileState_, dialogs_, programDirectory_); });
}

void TForm1::openDrawing(std::optional<DrawingKind> kind) {
    guarded([this, kind] {
        if (calculated_ && !mayMakeDespiteErrors()) return;
        OpenDrawingPreview(this, kind, calculated_, fileState_.CurrentDesignFile, dialogs_);
    });
}

void TForm1::N29Click() {
    guarded([this] { OpenMeshingWindow(this, calculated_, fileState_.CurrentDesignFile, dialogs_); });
}

void TForm1::N18Click() {
    guarded([this] {
        // A missing updater is said before anything is asked, and the
        // program goes on with the design on screen.
        if (online_.updaterProblem) {
            const QString problem = online_.updaterProblem(programDirectory_);
            if (!problem.isEmpty()) {
                dialogs_.message(ApplicationTitle(), problem);
                return;
            }
        }
        if (!AskBeforeLeaving(*this, fileState_, dialogs_, programDirectory_)) return;
        if (online_.startUpdater) {
            const QString problem = online_.startUpdater(programDirectory_);
            if (!problem.isEmpty()) {
                dialogs_.message(ApplicationTitle(), problem);
                return;
            }
        }
        close();
    });
}

void TForm1::chooseLanguage(Language language) {
    guarded([this, language] {
        try {
            StoreLanguage(programDirectory_, language);
        } catch (const std::exception& error) {
            (language_ == Language::English ? N28 : N27)->setChecked(true);
            dialogs_.message(ApplicationTitle(), MessageWithDetail(tr("语言设置未能保存。"), ErrorText(error)));
            return;
        }
        // The texts already shown stay until the next start, which shows them
        // all in the chosen language at once.
        if (language != language_)
            dialogs_.message(ApplicationTitle(),
                             language == Language::English
                                 ? QStringLiteral("The interface will be in English from the next start.")
                                 : QStringLiteral("下次启动时界面将使用中文。"));
    });
}

// ---------------------------------------------------------------- calculation

DesignInputs TForm1::designInputs() const {
    DesignInputs inputs;
    // The fields stand in the order of DesignFields(): Edit1 the centre
    // distance ... Edit13 the grinding increment.
    for (int row = 0; row < kDesignFieldCount; ++row)
        inputs.*DesignFields()[row].text = edits_[row]->text().toStdString();
    return inputs;
}

void TForm1::showResults(bool shown) {
    for (QGroupBox* panel : {GroupBox1, GroupBox2, GroupBox3, GroupBox4}) panel->setVisible(shown);
    CheckBox1->setVisible(shown);
    for (QPushButton* button : {Button6, Button11, Button13}) button->setEnabled(shown);
}

void TForm1::Button1Click() {
    if (ended_) return;
    guarded([this] {
        // Hiding the check box or disabling a button moves the focus away
        // from it; it comes back with the results.
        QWidget* focused = focusWidget();
        showResults(false);
        calculated_.reset();
        const DesignInputs inputs = designInputs();
        const CalculationOutcome outcome = Calculate(inputs, CheckBox1->isChecked(), coefficients_, separator_,
                                                     design_);
        design_ = outcome.design;
        // Lines written before a failure stay, as the calculation left them.
        const Translate translate = InterfaceTranslation();
        for (const ResultLine& line : outcome.lines)
            if (QLabel* label = resultLabel(line.label()))
                label->setText(QString::fromStdString(ResultLineText(line, translate)));
        // The checks explain the outcome; they change nothing of it.
        try {
            CheckDesign(inputs, coefficients_, outcome, separator_, findings_);
        } catch (const std::exception&) {
            findings_.clear();  // no explanation rather than no calculation
        }
        showChecks(outcome);
        if (!outcome.succeeded()) {
            followCalculation();  // the previews now show what no longer holds
            // The calculation's own message first, the causes beneath it.
            dialogs_.message(ApplicationTitle(),
                             MessageWithDetail(FailureHeadline(outcome), CausesText(findings_, separator_)));
            return;
        }
        showResults(true);
        if (focused && focused != focusWidget() && focused->isVisible() && focused->isEnabled()) focused->setFocus();
        fileState_.DesignSaved = false;
        if (auto calculated = CalculatedDesign::From(inputs, CheckBox1->isChecked(), coefficients_, outcome,
                                                     separator_)) {
            calculated_ = ReportContent{std::move(*calculated), {},           coefficientRules_,
                                        shippedCoefficients_,   particulars_, tolerances_};
        }
        followCalculation();
    });
}

void TForm1::followCalculation() { FollowCalculation(this, calculated_, fileState_.CurrentDesignFile); }

void TForm1::CheckBox1Click() { Button1Click(); }

void TForm1::showChecks(const CalculationOutcome& outcome) {
    checkedOnce_ = true;
    checkedSucceeded_ = outcome.succeeded();
    const QString summary = ChecksSummary(findings_, separator_);
    const Finding* worst = Worst(findings_);
    QPalette palette = ChecksLine->palette();
    palette.setColor(QPalette::WindowText, !worst                                   ? palette.color(QPalette::Text)
                                           : worst->severity() == Severity::Error   ? QColor(Qt::red)
                                           : worst->severity() == Severity::Warning ? QColor(160, 82, 0)
                                                                                    : palette.color(QPalette::Text));
    ChecksLine->setPalette(palette);
    ChecksButton->setVisible(worst != nullptr);
    // A long message is cut at its end, marked with an ellipsis; the tooltip holds it whole.
    const int room = statusBar()->contentsRect().width() - (worst ? ChecksButton->sizeHint().width() : 0) - 16;
    ChecksLine->setText(ChecksLine->fontMetrics().elidedText(summary, Qt::ElideRight, room));
    ChecksLine->setToolTip(summary);
    if (checksWindow_) checksWindow_->showFindings(findings_, checkedSucceeded_, separator_);
}

void TForm1::N24Click() {
    guarded([this] {
        if (!checksWindow_) {
            checksWindow_ = std::make_unique<TChecksWindow>(this);
            if (checkedOnce_) checksWindow_->showFindings(findings_, checkedSucceeded_, separator_);
            PlaceWindow(*checksWindow_, this, checksWindow_->size());
        }
        checksWindow_->show();
        checksWindow_->raise();
        checksWindow_->activateWindow();
    });
}

void TForm1::N25Click() {
    guarded([this] {
        if (!solutionsWindow_) {
            solutionsWindow_ = std::make_unique<TSolutionsWindow>(*this, dialogs_, separator_, this);
            PlaceWindow(*solutionsWindow_, this, solutionsWindow_->size());
        }
        solutionsWindow_->show();
        solutionsWindow_->raise();
        solutionsWindow_->activateWindow();
    });
}

void TForm1::takeOver(const DesignInputs& texts, bool roundEnvelopedTeeth) {
    if (ended_) return;
    guarded([&] {
        // The design on screen is about to be replaced, as by an open.
        if (!AskBeforeLeaving(*this, fileState_, dialogs_, programDirectory_)) return;
        DesignInputs shown = designInputs();
        for (const DesignFieldDescription& field : DesignFields())
            if (field.calculated) shown.*field.text = texts.*field.text;
        CheckBox1->setChecked(roundEnvelopedTeeth);  // no click: the calculation below is the one
        ShowDesignTexts(*this, shown);
        raise();
        activateWindow();
    });
}

QLabel* TForm1::resultLabel(const std::string& name) const {
    const auto found = resultLabels_.find(name);
    return found == resultLabels_.end() ? nullptr : found->second;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the check box presses the default button.
    if (watched == CheckBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button1Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- input suggestions and hints

void TForm1::setEditText(QLineEdit* edit, const std::string& text) {
    // QLineEdit::setText emits textChanged only when the text differs.
    edit->setText(QString::fromStdString(text));
}

void TForm1::reportInputError() {
    dialogs_.message(ApplicationTitle(), QCoreApplication::translate(kCalculationContext, kSuggestionMessage));
}

void TForm1::Edit1Change() {
    try {
        if (Edit1->text().isEmpty()) return;
        const std::string centreDistance = Edit1->text().toStdString();
        setEditText(Edit5, ProposeMainBaseDiameter(centreDistance, separator_));
        setEditText(Edit7, ProposeWormPitchDiameter(centreDistance, coefficients_[Coefficient::PitchDiameterExponent],
                                                    separator_));
    } catch (const std::exception&) {
        reportInputError();
    }
}

void TForm1::Edit5Change() {
    try {
        if (Edit5->text().isEmpty()) return;
        Label46->setText(QString::fromStdString(
            MainBaseDiameterShare(Edit5->text().toStdString(), Edit1->text().toStdString(), separator_)));
    } catch (const std::exception&) {
        reportInputError();
    }
}

void TForm1::Edit7Change() {
    try {
        if (Edit7->text().isEmpty()) return;
        Label47->setText(QString::fromStdString(
            WormPitchDiameterFactor(Edit7->text().toStdString(), Edit1->text().toStdString(),
                                    coefficients_[Coefficient::PitchDiameterExponent], separator_)));
    } catch (const std::exception&) {
        reportInputError();
    }
}

void TForm1::Button2Click() { Memo1->show(); }
void TForm1::Button3Click() { Memo2->show(); }
void TForm1::Button4Click() { Memo3->show(); }
void TForm1::Button5Click() { Memo4->show(); }

// ---------------------------------------------------------------- sheets, design files, settings

void TForm1::Button6Click() {
    guarded([this] { exportSheet(SheetKind::Worm); });
}

void TForm1::Button11Click() {
    guarded([this] { exportSheet(SheetKind::Hob); });
}

void TForm1::Button13Click() {
    guarded([this] { exportSheet(SheetKind::Wheel); });
}

bool TForm1::mayMakeDespiteErrors() {
    return MayMakeDespiteErrors(dialogs_, findings_, separator_, InterfaceTranslation());
}

void TForm1::exportSheet(SheetKind kind) {
    if (!mayMakeDespiteErrors()) return;
    ExportSheet(kind, designInputs(), design_, separator_, programDirectory_, dialogs_, *form2_, findings_);
}

void TForm1::N11Click() {
    guarded([this] {
        const QString named = fileState_.CurrentDesignFile;
        OpenDesign(*this, fileState_, dialogs_, arguments_, separator_, programDirectory_);
        // The previews' title blocks name the design file, which the open
        // records after its calculation.
        if (fileState_.CurrentDesignFile != named) followCalculation();
    });
}

void TForm1::N5Click() {
    guarded([this] {
        const QString named = fileState_.CurrentDesignFile;
        SaveDesign(*this, fileState_, dialogs_, programDirectory_);
        if (fileState_.CurrentDesignFile != named) followCalculation();
    });
}

void TForm1::N30Click() {
    guarded([this] {
        const QString file = fileState_.CurrentDesignFile;
        const std::optional<TWormDesign> design = calculated_ ? std::optional<TWormDesign>(calculated_->design.design)
                                                              : std::nullopt;
        const auto edited = EditParticulars(
            this, particulars_, design, file.isEmpty() ? QString() : QFileInfo(file).fileName(), separator_, dialogs_);
        if (!edited || *edited == particulars_) return;
        setParticulars(*edited);
        fileState_.DesignSaved = false;  // the particulars are part of the design file
    });
}

void TForm1::N31Click() {
    guarded([this] {
        TToleranceEditor editor(
            programDirectory_, separator_, dialogs_, [this] { loadTolerances(); }, this);
        editor.exec();
    });
}

void TForm1::setParticulars(const Particulars& particulars) {
    particulars_ = particulars;
    if (calculated_) {
        calculated_->particulars = particulars_;
        followCalculation();
    }
}

void TForm1::loadTolerances() {
    try {
        tolerances_ = LoadTolerances(programDirectory_, separator_);
    } catch (const CoefficientStoreError& error) {
        // The coefficients are read; only the drawings' tolerances go missing.
        tolerances_ = {};
        dialogs_.message(ApplicationTitle(), MessageWithDetail(tr("公差表未能读取，图样上的公差将空缺。"),
                                                               FileDetail(ShownWorkingDatabasePath(programDirectory_),
                                                                          QString::fromUtf8(error.what()))));
    }
    if (calculated_) {
        calculated_->tolerances = tolerances_;
        followCalculation();
    }
}

void TForm1::N13Click() {
    guarded([this] { form5_->exec(); });
}

void TForm1::N15Click() {
    guarded([this] {
        if (RestoreDefaultSettings(dialogs_, programDirectory_, separator_)) FormShow();
    });
}

void TForm1::N16Click() {
    guarded([this] {
        if (LoadUserSettings(dialogs_, programDirectory_, separator_)) FormShow();
    });
}

void TForm1::N17Click() {
    guarded([this] { SaveUserSettings(dialogs_, programDirectory_); });
}

// ---------------------------------------------------------------- DesignWindow

QString TForm1::fieldText(int row) const { return edits_.at(row - 1)->text(); }

void TForm1::setFieldText(int row, const QString& text) {
    // A window that has closed for good (its show step failed during a
    // command-line open) takes no more texts, so no message follows its end.
    if (ended_) return;
    edits_.at(row - 1)->setText(text);
}

void TForm1::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowUncaughtError(dialogs_, error);
    }
}

}  // namespace wormgear
