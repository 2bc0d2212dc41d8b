// Painting a sheet with QPainter, and the SVG, PDF and picture outputs.
#include "drawing/sheet_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <numbers>

#include "drawing/drawings.h"
#include "drawing/pdf_update.h"
#include "drawing/sheet_builder.h"

namespace wormgear {

namespace {

using namespace drawing;

// The reference size the glyphs are laid out at before they are scaled to
// their height on paper.
constexpr int kReferencePixels = 64;

// Sheet model coordinates (y up, model units) to paper millimetres (y down).
QTransform ModelToPaper(const Sheet& sheet) {
    const double k = 1 / sheet.scale;
    return QTransform(k, 0, 0, -k, 0, sheet.height);
}

// Qt's SVG generator writes a dash pattern times the pen's width only when
// the width rounds to a whole unit, and as it is below that: a centre line's
// 0.25 mm pen at 1:1.5 (0.375 model units) drew its 12 mm dashes 32 mm long.
// `svg` gives it the pattern it then writes in model units.
QPen PenOf(Layer layer, double scale, bool svg) {
    const LayerDescription& d = LayerOf(layer);
    QPen pen(Qt::black);
    pen.setWidthF(d.width * scale);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Dash patterns in paper millimetres, as the DXF line types have them,
    // given to Qt in pen widths.
    const double unit = svg && pen.width() == 0 ? 1 / scale : d.width;
    const auto pattern = [&](std::initializer_list<double> millimetres) {
        QList<qreal> dashes;
        for (double mm : millimetres) dashes << mm / unit;
        pen.setDashPattern(dashes);
    };
    if (d.style == LineStyle::Centre) pattern({12, 3, 0.5, 3});
    if (d.style == LineStyle::Hidden) pattern({4, 1.5});
    return pen;
}

QPointF Q(Point p) { return {p.x, p.y}; }

// Qt turns angles clockwise in model coordinates seen with y up: the angles
// of an arc are given negated.
void AddArc(QPainterPath& path, Point centre, double radius, double start, double sweep) {
    const QRectF box(centre.x - radius, centre.y - radius, 2 * radius, 2 * radius);
    path.arcTo(box, -start, -sweep);
}

QPainterPath OutlinePath(const PolylineEntity& outline) {
    QPainterPath path;
    const auto& v = outline.vertices;
    if (v.empty()) return path;
    path.moveTo(Q(v.front().at));
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Point a = v[i].at, b = v[(i + 1) % v.size()].at;
        if (const auto arc = ArcOfBulge(a, b, v[i].bulge)) {
            const double sweep = 4 * std::atan(v[i].bulge) * 180 / std::numbers::pi;
            AddArc(path, arc->centre, arc->radius, AngleOf(a - arc->centre), sweep);
        } else {
            path.lineTo(Q(b));
        }
    }
    path.closeSubpath();
    return path;
}

void PaintGraphics(QPainter& painter, const Graphics& g, const Sheet& sheet, const QTransform& paperToDevice) {
    const QTransform modelToDevice = ModelToPaper(sheet) * paperToDevice;
    painter.setTransform(modelToDevice);
    const bool svg = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::SVG;
    const auto pen = [&](Layer layer) { return PenOf(layer, sheet.scale, svg); };
    painter.setBrush(Qt::NoBrush);
    for (const PolylineEntity& outline : g.outlines) {
        painter.setPen(pen(outline.layer));
        painter.drawPath(OutlinePath(outline));
    }
    for (const LineEntity& line : g.lines) {
        painter.setPen(pen(line.layer));
        painter.drawLine(Q(line.a), Q(line.b));
    }
    for (const CircleEntity& circle : g.circles) {
        painter.setPen(pen(circle.layer));
        painter.drawEllipse(Q(circle.centre), circle.radius, circle.radius);
    }
    for (const ArcEntity& arc : g.arcs) {
        painter.setPen(pen(arc.layer));
        QPainterPath path;
        double sweep = std::fmod(arc.end - arc.start, 360.0);
        if (sweep <= 0) sweep += 360;
        path.arcMoveTo(QRectF(arc.centre.x - arc.radius, arc.centre.y - arc.radius, 2 * arc.radius, 2 * arc.radius),
                       -arc.start);
        AddArc(path, arc.centre, arc.radius, arc.start, sweep);
        painter.drawPath(path);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const TriangleEntity& t : g.triangles) {
        const QPointF corners[] = {Q(t.a), Q(t.b), Q(t.c)};
        painter.drawPolygon(corners, 3);
    }

    // Texts upright on paper, from their anchor.
    QFont font = DrawingFont();
    font.setPixelSize(kReferencePixels);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double capHeight = metrics.capHeight() > 0 ? metrics.capHeight() : 0.7 * kReferencePixels;
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    const QTransform toPaper = ModelToPaper(sheet);
    for (const TextEntity& text : g.texts) {
        const QString string = QString::fromStdString(text.text);
        const double k = (text.height / sheet.scale) / capHeight;  // paper mm per reference pixel
        double width = metrics.horizontalAdvance(string) * k * text.widthFactor;
        double squeeze = text.widthFactor;
        if (text.room > 0 && width > text.room / sheet.scale) {
            squeeze *= (text.room / sheet.scale) / width;
            width = text.room / sheet.scale;
        }
        QTransform t;
        const QPointF at = toPaper.map(Q(text.at));
        t.translate(at.x(), at.y());
        t.rotate(-text.rotation);
        t.scale(k * squeeze, k);
        painter.setTransform(t * paperToDevice);
        // Paper drawings are black; only the mark of a design with errors is red, as in CAD.
        painter.setPen(text.layer == Layer::Warning ? QColor(200, 0, 0) : QColor(Qt::black));
        const double x = text.h == HAlign::Left     ? 0
                         : text.h == HAlign::Centre ? -width / 2 / (k * squeeze)
                                                    : -width / (k * squeeze);
        const double y = text.v == VAlign::Baseline ? 0 : text.v == VAlign::Middle ? capHeight / 2 : capHeight;
        painter.drawText(QPointF(x, y), string);
    }
}

}  // namespace

QPageLayout PaperLayout(double width, double height) {
    const double shortSide = std::min(width, height), longSide = std::max(width, height);
    // The standard sizes by their ids, so that readers name them A3 and A4.
    QPageSize size(QSizeF(shortSide, longSide), QPageSize::Millimeter);
    if (shortSide == 297 && longSide == 420) size = QPageSize(QPageSize::A3);
    if (shortSide == 210 && longSide == 297) size = QPageSize(QPageSize::A4);
    return QPageLayout(size, width > height ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

QFont DrawingFont() {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    font.setStyleStrategy(QFont::PreferOutline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void PaintSheet(QPainter& painter, const Sheet& sheet, const QRectF& target) {
    if (!(sheet.width > 0) || !(sheet.height > 0) || !(sheet.scale > 0)) return;
    painter.save();
    const double k = std::min(target.width() / sheet.width, target.height() / sheet.height);
    QTransform paperToDevice;
    paperToDevice.translate(target.x() + (target.width() - sheet.width * k) / 2,
                            target.y() + (target.height() - sheet.height * k) / 2);
    paperToDevice.scale(k, k);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(paperToDevice);
    painter.fillRect(QRectF(0, 0, sheet.width, sheet.height), Qt::white);
    PaintGraphics(painter, sheet.graphics, sheet, paperToDevice);
    for (const Dimension& dimension : sheet.dimensions)
        PaintGraphics(painter, dimension.graphics, sheet, paperToDevice);
    painter.restore();
}

QImage RenderSheet(const Sheet& sheet, double pixelsPerMillimetre) {
    QImage image(static_cast<int>(std::lround(sheet.width * pixelsPerMillimetre)),
                 static_cast<int>(std::lround(sheet.height * pixelsPerMillimetre)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintSheet(painter, sheet, QRectF(0, 0, image.width(), image.height()));
    return image;
}

QByteArray SheetSvg(const Sheet& sheet) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // 254 dots per inch: a tenth of a millimetre per dot, so that the paper
    // size comes out in whole millimetres.
    svg.setResolution(254);
    svg.setSize(
        QSize(static_cast<int>(std::lround(sheet.width * 10)), static_cast<int>(std::lround(sheet.height * 10))));
    svg.setViewBox(QRectF(0, 0, sheet.width, sheet.height));
    svg.setTitle(QString::fromStdString(sheet.title));
    svg.setDescription(QString::fromStdString(sheet.subject));
    QPainter painter(&svg);
    PaintSheet(painter, sheet, QRectF(0, 0, sheet.width, sheet.height));
    painter.end();
    return bytes;
}

QByteArray SheetPdf(const Sheet& sheet) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageLayout(PaperLayout(sheet.width, sheet.height));
    pdf.setResolution(1200);
    pdf.setTitle(QString::fromStdString(sheet.title));
    pdf.setCreator(QString::fromStdString(ProgramNameAndVersion()));
    QPainter painter(&pdf);
    PaintSheet(painter, sheet, QRectF(0, 0, pdf.width(), pdf.height()));
    painter.end();
    return QByteArray::fromStdString(WithTaggedFontSubsets(bytes.toStdString()));
}

}  // namespace wormgear
