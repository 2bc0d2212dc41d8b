// The calculation report as a PDF: A4 pages painted by the sheets' one
// painter routine, fonts embedded, archivable as PDF/A-3b with the design
// attached as JSON (PDF/A-1 allows no attachment; PDF/A-3 is PDF/A-2, the
// successor of PDF/A-1, that does).
#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <string>

#include "drawing/report.h"

namespace wormgear {

// One page into `target`: a text page as it is, a drawing page with its
// drawing scaled into the page's drawing area.
void PaintReportPage(QPainter& painter, const ReportDocument& document, std::size_t page, const QRectF& target);

// The whole report, with the design's JSON attached as "design.json".
QByteArray ReportPdf(const ReportContent& content, const Translate& translate = {});

// Adds a file to a PDF written in Qt's PDF/A-1b mode by an incremental
// update, as PDF/A-3 asks: an embedded file stream with its type and date, a
// /Filespec dictionary whose /AFRelationship ties it to the PDF, the
// catalog's /AF and /Names, and the metadata's part number 3. `modified` is
// a PDF date ("D:20240501120000Z"). Throws std::runtime_error when the PDF is
// not laid out as Qt writes it.
std::string AttachToArchivalPdf(const std::string& pdf, const std::string& name, const std::string& mimeSubtype,
                                const std::string& data, const std::string& description, const std::string& modified);

}  // namespace wormgear
