// The one painter routine of the sheets: the preview, the SVG and PDF files,
// the report's pages, printing and the pictures of the tests all paint a
// sheet through PaintSheet. Lines keep their widths and dash patterns in
// paper millimetres; texts their capital height.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "drawing/sheet.h"

namespace wormgear {

// WenQuanYi Micro Hei for the Chinese glyphs, DejaVu Sans for the diameter
// sign it lacks.
QFont DrawingFont();

// The page of a paper size in millimetres, without margins: A3 and A4 by
// their standard sizes, landscape when wider than high.
QPageLayout PaperLayout(double width, double height);

// Paints the paper (white, the sheet's size) into `target`, keeping its
// proportions and centring it there.
void PaintSheet(QPainter& painter, const drawing::Sheet& sheet, const QRectF& target);

// The sheet as a picture, `pixelsPerMillimetre` of paper.
QImage RenderSheet(const drawing::Sheet& sheet, double pixelsPerMillimetre);

// The sheet as SVG (paper size in millimetres) and as a one-page vector PDF
// of the sheet's paper size with its fonts embedded.
QByteArray SheetSvg(const drawing::Sheet& sheet);
QByteArray SheetPdf(const drawing::Sheet& sheet);

}  // namespace wormgear
