// The export progress window: a bordered panel with a fixed text and a
// cancel button that hides it.
#include "export/progress_dialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "dialogs/window_font.h"

namespace wormgear {

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(tr("导出文件"));
    setModal(false);
    setFont(WindowFont());
    setFixedSize(305, 105);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 305, 105);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);

    Panel1Caption = new QLabel(tr("正在保存，请稍候............."), Panel1);
    Panel1Caption->setObjectName(QStringLiteral("Panel1Caption"));
    Panel1Caption->setGeometry(Panel1->rect());
    Panel1Caption->setAlignment(Qt::AlignCenter);

    Button1 = new QPushButton(tr("取  消"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(192, 64, 75, 25);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
}

void TForm2::Button1Click() { close(); }

void TForm2::showEvent(QShowEvent* event) {
    // Centred on the screen each time it appears.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

}  // namespace wormgear
