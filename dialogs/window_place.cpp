// Window places on the screen.
#include "dialogs/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace wormgear {

namespace {

// A rectangle moved into `area` as far as it must; one larger than `area`
// keeps its top-left corner inside, where the title bar is.
QRect MovedInto(QRect frame, const QRect& area) {
    if (frame.right() > area.right()) frame.moveRight(area.right());
    if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
    if (frame.left() < area.left()) frame.moveLeft(area.left());
    if (frame.top() < area.top()) frame.moveTop(area.top());
    return frame;
}

}  // namespace

QRect PlaceFrame(QSize size, const QRect& anchor, const QRect& available) {
    if (!anchor.isValid()) {
        QRect centred(QPoint(), size);
        centred.moveCenter(available.center());
        return MovedInto(centred, available);
    }
    // Beside the anchor, its top edge level with the anchor's, or under it,
    // left-aligned: the anchor stays in view.
    const QRect beside[] = {
        QRect(QPoint(anchor.right() + 1, anchor.top()), size),
        QRect(QPoint(anchor.left() - size.width(), anchor.top()), size),
        QRect(QPoint(anchor.left(), anchor.bottom() + 1), size),
    };
    for (const QRect& place : beside)
        if (available.contains(place)) return place;
    QRect centred(QPoint(), size);
    centred.moveCenter(anchor.center());
    return MovedInto(centred, available);
}

void PlaceWindow(QWidget& window, const QWidget* anchor, QSize wanted) {
    QScreen* screen = anchor ? anchor->screen() : window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window.resize(wanted);
        return;
    }
    const QRect available = screen->availableGeometry();
    // The frame the window system adds: known once the window has been
    // shown, else the anchor's, which the same window system drew.
    const QWidget* framed = window.isVisible() || !anchor ? &window : anchor;
    const QRect outer = framed->frameGeometry(), inner = framed->geometry();
    const QSize frame(outer.width() - inner.width(), outer.height() - inner.height());
    const QSize client = wanted.boundedTo(available.size() - frame).expandedTo(window.minimumSize());
    window.resize(client);
    const QRect anchorFrame = anchor ? anchor->frameGeometry() : QRect();
    const QRect place = PlaceFrame(window.size() + frame, anchorFrame, available);
    window.move(place.topLeft());
}

}  // namespace wormgear
