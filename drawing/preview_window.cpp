// The preview window and its canvas.
#include "drawing/preview_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "dialogs/window_font.h"
#include "drawing/drawing_commands.h"
#include "drawing/drawing_files.h"
#include "drawing/drawing_texts.h"
#include "drawing/drawings_text.h"
#include "drawing/report_writer.h"
#include "drawing/sheet_painter.h"
#include "files/qt_path.h"
#include "translations/error_text.h"

namespace wormgear {

namespace {

// Pixels between pages and around them.
constexpr double kPageGap = 12;
constexpr double kMinZoom = 0.05, kMaxZoom = 200;

const char* Extension(FileFormat format) {
    switch (format) {
        case FileFormat::Dxf: return "dxf";
        case FileFormat::Svg: return "svg";
        case FileFormat::Pdf: return "pdf";
    }
    return "";
}

}  // namespace

// ---------------------------------------------------------------- canvas

PreviewCanvas::PreviewCanvas(std::vector<Page> pages, QWidget* parent) : QWidget(parent), pages_(std::move(pages)) {
    setObjectName(QStringLiteral("Canvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
    setCursor(Qt::OpenHandCursor);
}

void PreviewCanvas::setPages(std::vector<Page> pages) {
    pages_ = std::move(pages);
    if (followWindow_) fit();
    else update();
}

void PreviewCanvas::setDimmed(bool dimmed) {
    dimmed_ = dimmed;
    update();
}

void PreviewCanvas::zoomBy(double factor, QPointF anchor) {
    const double zoom = std::clamp(zoom_ * factor, kMinZoom, kMaxZoom);
    // The paper point under the anchor stays there.
    offset_ = anchor - (anchor - offset_) * (zoom / zoom_);
    zoom_ = zoom;
    followWindow_ = false;
    update();
}

void PreviewCanvas::fit() {
    if (pages_.empty()) return;
    const QSizeF paper = pages_.front().paper;
    const double available = width() - 2 * kPageGap, high = height() - 2 * kPageGap;
    zoom_ = available / paper.width();
    if (pages_.size() == 1) zoom_ = std::min(zoom_, high / paper.height());
    zoom_ = std::clamp(zoom_, kMinZoom, kMaxZoom);
    offset_ = QPointF((width() - paper.width() * zoom_) / 2, kPageGap);
    if (pages_.size() == 1) offset_.setY((height() - paper.height() * zoom_) / 2);
    followWindow_ = true;
    update();
}

void PreviewCanvas::moveBy(QPointF pixels) {
    offset_ += pixels;
    followWindow_ = false;
    update();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(128, 128, 128));
    double y = offset_.y();
    for (const Page& page : pages_) {
        const QRectF target(offset_.x(), y, page.paper.width() * zoom_, page.paper.height() * zoom_);
        if (target.intersects(QRectF(rect()))) {
            painter.fillRect(target.translated(3, 3), QColor(64, 64, 64));
            page.paint(painter, target);
            // Out of date: a grey veil over the paper, the lines still legible.
            if (dimmed_) painter.fillRect(target, QColor(128, 128, 128, 140));
        }
        y += target.height() + kPageGap;
    }
}

void PreviewCanvas::wheelEvent(QWheelEvent* event) {
    zoomBy(std::pow(1.2, event->angleDelta().y() / 120.0), event->position());
    event->accept();
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragFrom_ = event->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void PreviewCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_) return;
    moveBy(event->position() - *dragFrom_);
    dragFrom_ = event->position();
}

void PreviewCanvas::mouseReleaseEvent(QMouseEvent*) {
    dragFrom_.reset();
    setCursor(Qt::OpenHandCursor);
}

void PreviewCanvas::keyPressEvent(QKeyEvent* event) {
    const QPointF middle(width() / 2.0, height() / 2.0);
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal: zoomBy(1.25, middle); break;
        case Qt::Key_Minus: zoomBy(0.8, middle); break;
        case Qt::Key_0: fit(); break;
        case Qt::Key_Left: moveBy({40, 0}); break;
        case Qt::Key_Right: moveBy({-40, 0}); break;
        case Qt::Key_Up: moveBy({0, 40}); break;
        case Qt::Key_Down: moveBy({0, -40}); break;
        default: QWidget::keyPressEvent(event);
    }
}

void PreviewCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (followWindow_) fit();
}

// ---------------------------------------------------------------- window

TDrawingPreview::TDrawingPreview(std::optional<DrawingKind> kind, ReportContent content, Dialogs& dialogs,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window),
      kind_(kind),
      content_(std::move(content)),
      dialogs_(dialogs),
      translate_(InterfaceTranslation()) {
    setObjectName(QStringLiteral("DrawingPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(WindowFont());

    const auto button = [this](const char* objectName, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(objectName));
        return b;
    };
    SaveDxfButton = button("SaveDxfButton", DrawingsText::tr("保存为 DXF"));
    SaveSvgButton = button("SaveSvgButton", DrawingsText::tr("保存为 SVG"));
    SavePdfButton = button("SavePdfButton", DrawingsText::tr("保存为 PDF"));
    PrintButton = button("PrintButton", DrawingsText::tr("打印"));
    ZoomInButton = button("ZoomInButton", DrawingsText::tr("放大"));
    ZoomOutButton = button("ZoomOutButton", DrawingsText::tr("缩小"));
    FitButton = button("FitButton", DrawingsText::tr("适合窗口"));
    // The report is a PDF: DXF and SVG are the drawings' formats.
    SaveDxfButton->setVisible(kind_.has_value());
    SaveSvgButton->setVisible(kind_.has_value());

    OutOfDateLabel = new QLabel(DrawingsText::tr("最近一次计算未能完成：这里仍是上一次成功计算的结果，不能保存或打印。"
                                                 "修正输入并计算成功后，这里会随之更新。"),
                                this);
    OutOfDateLabel->setObjectName(QStringLiteral("OutOfDateLabel"));
    OutOfDateLabel->setWordWrap(true);
    QPalette warning = OutOfDateLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(176, 0, 0));
    OutOfDateLabel->setPalette(warning);
    QFont bold = OutOfDateLabel->font();
    bold.setBold(true);
    OutOfDateLabel->setFont(bold);
    OutOfDateLabel->hide();

    Canvas = new PreviewCanvas({}, this);
    build();

    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {SaveDxfButton, SaveSvgButton, SavePdfButton, PrintButton}) tools->addWidget(b);
    tools->addStretch();
    for (QPushButton* b : {ZoomInButton, ZoomOutButton, FitButton}) tools->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(OutOfDateLabel);
    layout->addWidget(Canvas, 1);

    connect(SaveDxfButton, &QPushButton::clicked, this, [this] { save(FileFormat::Dxf); });
    connect(SaveSvgButton, &QPushButton::clicked, this, [this] { save(FileFormat::Svg); });
    connect(SavePdfButton, &QPushButton::clicked, this, [this] { save(FileFormat::Pdf); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { printPages(); });
    const auto middle = [this] { return QPointF(Canvas->width() / 2.0, Canvas->height() / 2.0); };
    connect(ZoomInButton, &QPushButton::clicked, this, [this, middle] { Canvas->zoomBy(1.25, middle()); });
    connect(ZoomOutButton, &QPushButton::clicked, this, [this, middle] { Canvas->zoomBy(0.8, middle()); });
    connect(FitButton, &QPushButton::clicked, Canvas, &PreviewCanvas::fit);

    choosePrinter_ = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    resize(1000, 720);
}

void TDrawingPreview::build() {
    document_ = {};
    if (kind_) {
        document_.drawings[static_cast<std::size_t>(*kind_)] = BuildDrawing(
            *kind_, content_.design, content_.title, ShopOf(content_, translate_), content_.tolerances, translate_);
    } else {
        document_ = BuildReport(content_, translate_);
    }
    const QString design = QString::fromStdString(content_.title.design);
    QString title = DrawingsText::tr(kind_ ? DrawingName(*kind_) : texts::kReport);
    if (!design.isEmpty()) title += QStringLiteral(" — ") + design;
    if (outOfDate_) title = DrawingsText::tr("%1（已过期）").arg(title);
    setWindowTitle(title);
    Canvas->setPages(canvasPages());
}

std::vector<PreviewCanvas::Page> TDrawingPreview::canvasPages() {
    std::vector<PreviewCanvas::Page> pages;
    for (std::size_t i = 0; i < pageCount(); ++i)
        pages.push_back({pageSize(i), [this, i](QPainter& p, const QRectF& target) { paintPage(p, i, target); }});
    return pages;
}

void TDrawingPreview::showContent(ReportContent content) {
    content_ = std::move(content);
    outOfDate_ = false;
    // A new design with errors was not asked about when the preview opened.
    errorsAccepted_ = !content_.design.hasErrors();
    build();
    OutOfDateLabel->hide();
    Canvas->setDimmed(false);
    for (QPushButton* b : {SaveDxfButton, SaveSvgButton, SavePdfButton, PrintButton}) b->setEnabled(true);
}

void TDrawingPreview::markOutOfDate() {
    if (outOfDate_) return;
    outOfDate_ = true;
    setWindowTitle(DrawingsText::tr("%1（已过期）").arg(windowTitle()));
    OutOfDateLabel->show();
    Canvas->setDimmed(true);
    for (QPushButton* b : {SaveDxfButton, SaveSvgButton, SavePdfButton, PrintButton}) b->setEnabled(false);
}

bool TDrawingPreview::refusedAsOutOfDate() {
    if (outOfDate_) {
        dialogs_.message(ApplicationTitle(), DrawingsText::tr("图样已过期，未保存也未打印：请先计算成功。"));
        return true;
    }
    if (!errorsAccepted_) {
        const CalculatedDesign& d = content_.design;
        if (!MayMakeDespiteErrors(dialogs_, d.findings, d.decimalSeparator, translate_)) return true;
        errorsAccepted_ = true;
    }
    return false;
}

const drawing::Sheet& TDrawingPreview::sheet() const { return document_.drawing(kind_.value_or(DrawingKind::Worm)); }

std::size_t TDrawingPreview::pageCount() const { return kind_ ? 1 : document_.pages.size(); }

QSizeF TDrawingPreview::pageSize(std::size_t page) const {
    const drawing::Sheet& s = kind_ ? sheet() : document_.pages[page].sheet;
    return {s.width, s.height};
}

void TDrawingPreview::paintPage(QPainter& painter, std::size_t page, const QRectF& target) const {
    if (kind_) PaintSheet(painter, sheet(), target);
    else PaintReportPage(painter, document_, page, target);
}

void TDrawingPreview::save(FileFormat format) {
    if (refusedAsOutOfDate()) return;
    const char* extension = Extension(format);
    const std::string design = content_.title.design;
    // "pair-蜗杆图" for the design pair.cqb.
    QString proposed = DrawingsText::tr(kind_ ? DrawingName(*kind_) : texts::kReport);
    if (!design.empty())
        proposed = QFileInfo(QString::fromStdString(design)).completeBaseName() + QLatin1Char('-') + proposed;
    const std::optional<QString> chosen = dialogs_.saveFileName(QStringLiteral("*.") + QLatin1String(extension),
                                                                proposed);
    if (!chosen || chosen->isEmpty()) return;
    // The format is the button's: a name without its extension gets it.
    const QString path = WithExtension(*chosen, std::string(".") + extension);
    try {
        if (kind_) SaveSheet(sheet(), format, LocalPath(path));
        else SaveReport(content_, LocalPath(path), translate_);
    } catch (const std::exception& error) {
        dialogs_.message(ApplicationTitle(), DrawingsText::tr("文件未能保存：%1").arg(ErrorText(error)));
    }
}

void TDrawingPreview::printPages() {
    if (refusedAsOutOfDate()) return;
    QPrinter printer(QPrinter::HighResolution);
    const QSizeF first = pageSize(0);
    printer.setPageLayout(PaperLayout(first.width(), first.height()));
    printer.setDocName(windowTitle());
    if (!choosePrinter_ || !choosePrinter_(printer)) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.message(ApplicationTitle(), DrawingsText::tr("打印机无法开始打印。"));
        return;
    }
    for (std::size_t i = 0; i < pageCount(); ++i) {
        if (i > 0) {
            const QSizeF size = pageSize(i);
            printer.setPageLayout(PaperLayout(size.width(), size.height()));
            printer.newPage();
        }
        const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
        paintPage(painter, i, QRectF(0, 0, paint.width(), paint.height()));
    }
    painter.end();
}

}  // namespace wormgear
