// The preview of a drawing or of the calculation report: the pages as they
// will be printed, zoomed with the wheel or the buttons and moved by
// dragging, with 保存为 DXF / SVG / PDF and 打印. It follows the main window's
// calculations: each successful one rebuilds its pages from the new design
// (the zoom and place the user chose kept); a failed one leaves the last
// pages marked out of date, greyed, with saving and printing refused until
// the next successful calculation, so no file ever carries numbers the main
// window no longer shows.
#pragma once

#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <optional>

#include "dialogs/dialogs.h"
#include "drawing/report.h"

namespace wormgear {

// The pages, painted at any zoom, one under the other.
class PreviewCanvas : public QWidget {
    Q_OBJECT

 public:
    struct Page {
        QSizeF paper;  // mm
        std::function<void(QPainter&, const QRectF&)> paint;
    };
    explicit PreviewCanvas(std::vector<Page> pages, QWidget* parent = nullptr);
    // New pages; the zoom and place stay where the user put them, and follow
    // the window's size where the user has not.
    void setPages(std::vector<Page> pages);
    // Pages shown greyed, as a record of what no longer holds.
    void setDimmed(bool dimmed);
    bool dimmed() const { return dimmed_; }

    // Pixels per paper millimetre.
    double zoom() const { return zoom_; }
    QPointF offset() const { return offset_; }
    // Zooms by `factor` keeping the paper point under `anchor` (widget pixels) in place.
    void zoomBy(double factor, QPointF anchor);
    // The first page's width (the whole page for a single one) fills the window.
    void fit();
    void moveBy(QPointF pixels);

 protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

 private:
    std::vector<Page> pages_;
    double zoom_ = 1;
    QPointF offset_;  // where the first page's corner stands, pixels
    std::optional<QPointF> dragFrom_;
    // Until the user zooms or moves the pages, they follow the window's size.
    bool followWindow_ = true;
    bool dimmed_ = false;
};

class TDrawingPreview : public QWidget {
    Q_OBJECT

 public:
    // One drawing of the design (`kind`), or the report without one.
    TDrawingPreview(std::optional<DrawingKind> kind, ReportContent content, Dialogs& dialogs,
                    QWidget* parent = nullptr);

    QPushButton *SaveDxfButton, *SaveSvgButton, *SavePdfButton, *PrintButton;
    QPushButton *ZoomInButton, *ZoomOutButton, *FitButton;
    // Above the pages while they are out of date: why, and what brings them back.
    QLabel* OutOfDateLabel;
    PreviewCanvas* Canvas;

    // The pages of a new calculation of the design; no longer out of date.
    void showContent(ReportContent content);
    // The last calculation failed: the pages stay, greyed and marked, and
    // nothing is saved or printed until showContent.
    void markOutOfDate();
    bool isOutOfDate() const { return outOfDate_; }

    // The save buttons: the save dialog, then the file; a failure gets its
    // message, and so does a save of pages out of date, which writes nothing.
    void save(FileFormat format);
    // The print button: the printer is chosen (by default with the print
    // dialog), then every page is printed; refused like a save while out of date.
    void printPages();
    // Tests choose a printer without a dialog.
    void setPrinterChooser(std::function<bool(QPrinter&)> choose) { choosePrinter_ = std::move(choose); }

    bool isReport() const { return !kind_; }
    const std::vector<ReportPage>& pages() const { return document_.pages; }
    const drawing::Sheet& sheet() const;

 private:
    // The document, the title and the canvas's pages from content_.
    void build();
    // Says why nothing is written while the pages are out of date; true then.
    bool refusedAsOutOfDate();
    std::vector<PreviewCanvas::Page> canvasPages();
    std::size_t pageCount() const;
    QSizeF pageSize(std::size_t page) const;
    void paintPage(QPainter& painter, std::size_t page, const QRectF& target) const;

    std::optional<DrawingKind> kind_;
    ReportContent content_;
    Dialogs& dialogs_;
    Translate translate_;
    ReportDocument document_;  // the report's pages, or the drawing alone in document_.drawings
    std::function<bool(QPrinter&)> choosePrinter_;
    bool outOfDate_ = false;
    // The design shown had no error, or the designer said to make it anyway
    // (when the preview opened, or at a save or print since).
    bool errorsAccepted_ = true;
};

}  // namespace wormgear
