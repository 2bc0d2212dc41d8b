// The meshing analysis window.
#include "drawing/meshing_window.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <numbers>

#include "dialogs/window_font.h"
#include "dialogs/window_place.h"
#include "drawing/drawing_commands.h"
#include "drawing/drawing_files.h"
#include "drawing/drawing_texts.h"
#include "drawing/drawings_text.h"
#include "drawing/sheet_painter.h"
#include "files/file_io.h"
#include "files/qt_path.h"
#include "translations/error_text.h"

namespace wormgear {

namespace {

constexpr double kDegrees = 180 / std::numbers::pi;
// The PNG: 8 pixels a paper millimetre, 2376 x 1680 for the A4 sheet.
constexpr double kPngPixelsPerMillimetre = 8;

}  // namespace

QString MeshingRefusal(const ReportContent& content) {
    const CalculatedDesign& d = content.design;
    if (d.hasErrors()) {
        QStringList errors;
        for (const Finding& finding : d.findings) {
            if (finding.severity() != Severity::Error) break;
            errors << QString::fromStdString(FindingMessage(finding, InterfaceTranslation(), d.decimalSeparator));
        }
        return MessageWithDetail(DrawingsText::tr("设计检查发现错误，不做啮合分析："), errors.join(QLatin1Char('\n')));
    }
    // The analysis itself refuses only a worm whose flanks cannot be placed
    // for its throat thickness.
    if (!meshing::FlanksOf(meshing::PairOf(d.design)))
        return DrawingsText::tr("该设计无法做啮合分析：按喉部轴向齿厚无法确定蜗杆齿面。");
    return {};
}

TMeshingWindow::TMeshingWindow(ReportContent content, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), content_(std::move(content)), dialogs_(dialogs), translate_(InterfaceTranslation()) {
    setObjectName(QStringLiteral("MeshingWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(WindowFont());

    AngleSlider = new QSlider(Qt::Horizontal, this);
    AngleSlider->setObjectName(QStringLiteral("AngleSlider"));
    AngleSlider->setRange(0, kSteps - 1);
    AngleLabel = new QLabel(this);
    AngleLabel->setObjectName(QStringLiteral("AngleLabel"));
    const auto button = [this](const char* objectName, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(objectName));
        return b;
    };
    PlayButton = button("PlayButton", DrawingsText::tr("播放"));
    PlayButton->setCheckable(true);
    SavePngButton = button("SavePngButton", DrawingsText::tr("保存为 PNG"));
    SaveSvgButton = button("SaveSvgButton", DrawingsText::tr("保存为 SVG"));
    SavePdfButton = button("SavePdfButton", DrawingsText::tr("保存为 PDF"));
    OutOfDateLabel = new QLabel(DrawingsText::tr("最近一次计算未能完成：这里仍是上一次成功计算的结果，不能保存。"),
                                this);
    OutOfDateLabel->setObjectName(QStringLiteral("OutOfDateLabel"));
    OutOfDateLabel->setWordWrap(true);
    QPalette warning = OutOfDateLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(176, 0, 0));
    OutOfDateLabel->setPalette(warning);
    OutOfDateLabel->hide();
    Canvas = new PreviewCanvas({}, this);

    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {SavePngButton, SaveSvgButton, SavePdfButton}) tools->addWidget(b);
    tools->addStretch();
    auto* angle = new QHBoxLayout;
    angle->addWidget(PlayButton);
    angle->addWidget(AngleSlider, 1);
    angle->addWidget(AngleLabel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(OutOfDateLabel);
    layout->addWidget(Canvas, 1);
    layout->addLayout(angle);

    connect(AngleSlider, &QSlider::valueChanged, this, [this](int step) { showStep(step); });
    // 25 steps a second: one pitch of the wheel in about three seconds.
    timer_.setInterval(40);
    connect(&timer_, &QTimer::timeout, this, [this] { AngleSlider->setValue((AngleSlider->value() + 1) % kSteps); });
    connect(PlayButton, &QPushButton::toggled, this, [this](bool on) { on ? timer_.start() : timer_.stop(); });
    connect(SavePngButton, &QPushButton::clicked, this, [this] { save(Picture::Png); });
    connect(SaveSvgButton, &QPushButton::clicked, this, [this] { save(Picture::Svg); });
    connect(SavePdfButton, &QPushButton::clicked, this, [this] { save(Picture::Pdf); });
    analyse();
    resize(1100, 800);
}

TMeshingWindow::~TMeshingWindow() = default;

void TMeshingWindow::analyse() {
    const TWormDesign& d = content_.design.design;
    analysis_ = meshing::AnalyseMeshing(d, {});
    const meshing::PairGeometry pair = meshing::PairOf(d);
    const auto flanks = meshing::FlanksOf(pair);
    mesh_ = std::make_unique<meshing::Mesh>(pair, flanks->upper, analysis_->wormSpeed);
    const QString design = QString::fromStdString(content_.title.design);
    QString title = DrawingsText::tr(texts::kMeshing);
    if (!design.isEmpty()) title += QStringLiteral(" — ") + design;
    setWindowTitle(title);
    redraw();
}

void TMeshingWindow::showStep(int) { redraw(); }

void TMeshingWindow::redraw() {
    const double phi2 = mesh_->pair().angularPitch() * AngleSlider->value() / kSteps;
    AngleLabel->setText(QStringLiteral("φ2 = %1°").arg(phi2 * kDegrees, 0, 'f', 2));
    sheet_ = BuildMeshingSheet(content_.design, *analysis_, ContactAt(*mesh_, phi2), content_.title, translate_);
    Canvas->setPages({{QSizeF(sheet_.width, sheet_.height),
                       [this](QPainter& painter, const QRectF& target) { PaintSheet(painter, sheet_, target); }}});
}

void TMeshingWindow::save(Picture picture) {
    if (outOfDate_) {
        dialogs_.message(ApplicationTitle(), DrawingsText::tr("图样已过期，未保存也未打印：请先计算成功。"));
        return;
    }
    const char* extension = picture == Picture::Png ? "png" : picture == Picture::Svg ? "svg" : "pdf";
    QString proposed = DrawingsText::tr(texts::kMeshing);
    if (!content_.title.design.empty())
        proposed = QFileInfo(QString::fromStdString(content_.title.design)).completeBaseName() + QLatin1Char('-') +
                   proposed;
    const std::optional<QString> chosen = dialogs_.saveFileName(QStringLiteral("*.") + QLatin1String(extension),
                                                                proposed);
    if (!chosen || chosen->isEmpty()) return;
    const QString path = WithExtension(*chosen, std::string(".") + extension);
    try {
        if (picture == Picture::Png) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            RenderSheet(sheet_, kPngPixelsPerMillimetre).save(&buffer, "PNG");
            ReplaceFileAtomically(LocalPath(path), bytes.toStdString());
        } else {
            SaveSheet(sheet_, picture == Picture::Svg ? FileFormat::Svg : FileFormat::Pdf, LocalPath(path));
        }
    } catch (const std::exception& error) {
        dialogs_.message(ApplicationTitle(), DrawingsText::tr("文件未能保存：%1").arg(ErrorText(error)));
    }
}

void TMeshingWindow::showContent(ReportContent content) {
    // A design the analysis refuses leaves the window out of date.
    if (!MeshingRefusal(content).isEmpty()) {
        markOutOfDate();
        return;
    }
    content_ = std::move(content);
    outOfDate_ = false;
    OutOfDateLabel->hide();
    Canvas->setDimmed(false);
    for (QPushButton* b : {SavePngButton, SaveSvgButton, SavePdfButton}) b->setEnabled(true);
    analyse();
}

void TMeshingWindow::markOutOfDate() {
    if (outOfDate_) return;
    outOfDate_ = true;
    setWindowTitle(DrawingsText::tr("%1（已过期）").arg(windowTitle()));
    OutOfDateLabel->show();
    Canvas->setDimmed(true);
    for (QPushButton* b : {SavePngButton, SaveSvgButton, SavePdfButton}) b->setEnabled(false);
}

TMeshingWindow* OpenMeshingWindow(QWidget* parent, const std::optional<ReportContent>& calculated,
                                  const QString& designFile, Dialogs& dialogs) {
    if (!calculated) {
        dialogs.message(ApplicationTitle(), NotCalculatedMessage());
        return nullptr;
    }
    ReportContent content = PreviewContent(*calculated, designFile);
    if (const QString refusal = MeshingRefusal(content); !refusal.isEmpty()) {
        dialogs.message(ApplicationTitle(), refusal);
        return nullptr;
    }
    auto* window = new TMeshingWindow(std::move(content), dialogs, parent);
    PlaceWindow(*window, parent, window->size());
    window->show();
    return window;
}

}  // namespace wormgear
