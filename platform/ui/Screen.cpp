#include "Screen.h"

#include <QGuiApplication>
#include <QClipboard>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>

#include <algorithm>

namespace ui {

namespace {
const QScreen* Primary() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
}
int32_t Twips_For_Dpi(double dpi) { return dpi > 0 ? static_cast<int32_t>(1440.0 / dpi + 0.5) : 15; }
}  // namespace

int32_t Twips_Per_Pixel_X() {
    const QScreen* s = Primary();
    return s ? Twips_For_Dpi(s->logicalDotsPerInchX()) : 15;
}

int32_t Twips_Per_Pixel_Y() {
    const QScreen* s = Primary();
    return s ? Twips_For_Dpi(s->logicalDotsPerInchY()) : 15;
}

int32_t Screen_Width_Twips() {
    const QScreen* s = Primary();
    int32_t px = s ? s->virtualGeometry().x() + s->virtualGeometry().width() : 1024;
    return px * Twips_Per_Pixel_X();
}

int32_t Screen_Height_Twips() {
    const QScreen* s = Primary();
    int32_t px = s ? s->virtualGeometry().y() + s->virtualGeometry().height() : 768;
    return px * Twips_Per_Pixel_Y();
}

int32_t Panel_State() {
    const QScreen* s = Primary();
    if (!s) return -1;
    return s->availableGeometry() != s->geometry() ? 2 : 1;
}

void Cover_Panels(bool cover) {
    static QPointer<QWindow> covering;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (!cover) {
        if (covering) covering->setWindowStates(covering->windowStates() & ~Qt::WindowFullScreen);
        covering = nullptr;
        return;
    }
    if (covering) return;
    QWindow* window = QGuiApplication::focusWindow();
    if (!window || !window->isVisible())
        for (QWindow* top : QGuiApplication::topLevelWindows())
            if (top->isVisible() && top->type() != Qt::Popup && top->type() != Qt::ToolTip) {
                window = top;
                break;
            }
    if (!window || (window->windowStates() & Qt::WindowFullScreen)) return;
    window->setWindowStates(window->windowStates() | Qt::WindowFullScreen);
    covering = window;
}

void Keep_Screen_Awake() {
    // xdg-screensaver speaks to whatever screen saver the desktop runs; without it there is nothing to do.
    static const QString tool = QStandardPaths::findExecutable("xdg-screensaver");
    if (!tool.isEmpty()) QProcess::startDetached(tool, {"reset"});
}

QRect Fit_On_Area(const QRect& frame, const QRect& available) {
    if (available.isEmpty()) return frame;
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() - fitted.height() + 1));
    return fitted;
}

QRect Beside(const QRect& frame, const QRect& other, const QRect& available) {
    QRect placed(QPoint(available.left(), available.top()), frame.size());
    if (other.right() + 1 + frame.width() <= available.right() + 1)
        placed.moveLeft(other.right() + 1);
    else if (other.left() - frame.width() >= available.left())
        placed.moveLeft(other.left() - frame.width());
    else
        placed.moveLeft(available.right() + 1 - frame.width());
    return Fit_On_Area(placed, available);
}

QRect Available_Area_Of(const QRect& frame) {
    if (!Primary()) return {};
    const QScreen* best = QGuiApplication::primaryScreen();
    int64_t most = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shared = screen->geometry().intersected(frame);
        const int64_t area = int64_t{shared.width()} * shared.height();
        if (area > most) most = area, best = screen;
    }
    return best->availableGeometry();
}

bool Copy_Active_Window_Image() {
    QWindow* window = Primary() ? QGuiApplication::focusWindow() : nullptr;
    if (!window || !window->screen()) return false;
    QPixmap image = window->screen()->grabWindow(window->winId());
    if (image.isNull()) return false;
    QGuiApplication::clipboard()->setPixmap(image);
    return true;
}

}  // namespace ui
