// The window of the meshing analysis (工具 → 啮合分析): the plots of
// drawing/meshing_sheet.h for the design of the last successful calculation,
// a slider over one pitch of the wheel angle (and a button that runs it) for
// the contact lines of that instant, and 保存为 PNG / SVG / PDF. It follows
// every calculation as the drawing previews do: the new design, or marked
// out of date after a failed one.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "dialogs/dialogs.h"
#include "drawing/meshing_sheet.h"
#include "drawing/preview_window.h"
#include "drawing/report.h"

namespace wormgear {

class TMeshingWindow : public QWidget {
    Q_OBJECT

 public:
    // The design must have been analysed: MeshingRefusal() says why not.
    TMeshingWindow(ReportContent content, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TMeshingWindow() override;

    QSlider* AngleSlider;
    QLabel* AngleLabel;
    QPushButton *PlayButton, *SavePngButton, *SaveSvgButton, *SavePdfButton;
    QLabel* OutOfDateLabel;
    PreviewCanvas* Canvas;

    // The wheel angle of the slider's step (steps over one pitch).
    static constexpr int kSteps = 72;
    void showStep(int step);
    // The save buttons: the save dialog, then the file.
    enum class Picture { Png, Svg, Pdf };
    void save(Picture picture);

    // A new successful calculation; a failed one.
    void showContent(ReportContent content);
    void markOutOfDate();

    const drawing::Sheet& sheet() const { return sheet_; }
    const meshing::MeshingAnalysis& analysis() const { return *analysis_; }

 private:
    void analyse();
    void redraw();

    ReportContent content_;
    Dialogs& dialogs_;
    Translate translate_;
    std::optional<meshing::MeshingAnalysis> analysis_;
    std::unique_ptr<meshing::Mesh> mesh_;
    drawing::Sheet sheet_;
    QTimer timer_;
    bool outOfDate_ = false;
};

// Why a design gets no meshing analysis: it has error findings (their
// messages), or its flanks cannot be placed; empty when it can be analysed.
QString MeshingRefusal(const ReportContent& content);

// Opens the window over `parent` for the last successful calculation, or says
// why there is none.
TMeshingWindow* OpenMeshingWindow(QWidget* parent, const std::optional<ReportContent>& calculated,
                                  const QString& designFile, Dialogs& dialogs);

}  // namespace wormgear
