#include "Form.h"

#include "Screen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace ui {

namespace {
struct Entry {
    Form* form;
    std::type_index type;
};
std::vector<Entry>& Registry() {
    static std::vector<Entry> registry;
    return registry;
}
int32_t X_Twips(int px) { return px * Twips_Per_Pixel_X(); }
int32_t Y_Twips(int px) { return px * Twips_Per_Pixel_Y(); }
int X_Px(int32_t twips) { return twips / Twips_Per_Pixel_X(); }
int Y_Px(int32_t twips) { return twips / Twips_Per_Pixel_Y(); }
}  // namespace

Form::Form(std::string name) : QWidget(nullptr), name_(std::move(name)) {
    setObjectName(QString::fromStdString(name_));
    framing_timer_.setInterval(50);
    QObject::connect(&framing_timer_, &QTimer::timeout, this, [this] { Framing_Check(); });
}

Form::~Form() {
    auto& r = Registry();
    r.erase(std::remove_if(r.begin(), r.end(), [this](const Entry& e) { return e.form == this; }), r.end());
}

void Form::Load(std::type_index type) {
    Registry().push_back({this, type});
    loaded_ = true;
    Form_Load();
}

Form* Form::Loaded_Of(std::type_index type) {
    for (const Entry& e : Registry())
        if (e.type == type && e.form->loaded_) return e.form;
    return nullptr;
}

void Form::Show(int16_t modal) {
    if (modal != vbModal) {
        show();
        return;
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    QEventLoop loop;
    modal_loop_ = &loop;
    loop.exec();
    modal_loop_ = nullptr;
    setWindowModality(Qt::NonModal);
}

void Form::Hide() { hide(); }

int16_t Form::WindowState() const {
    const Qt::WindowStates states = windowState();
    if (states & Qt::WindowMinimized) return vbMinimized;
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen)) return vbMaximized;
    return vbNormal;
}

void Form::WindowState(int16_t state) {
    switch (state) {
    case vbMinimized: setWindowState(windowState() | Qt::WindowMinimized); break;
    case vbMaximized: setWindowState(Qt::WindowMaximized); break;
    default: setWindowState(Qt::WindowNoState); break;
    }
}

std::string Form::Caption() const { return windowTitle().toStdString(); }
void Form::Set_Caption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

int32_t Form::Left() const { return X_Twips(frameGeometry().x()); }
int32_t Form::Top() const { return Y_Twips(frameGeometry().y()); }
int32_t Form::Width() const { return X_Twips(frameGeometry().width()); }
int32_t Form::Height() const { return Y_Twips(frameGeometry().height()); }
int32_t Form::Scale_Width() const { return X_Twips(width()); }
int32_t Form::Scale_Height() const { return Y_Twips(height()); }

void Form::Move(int32_t left, int32_t top) { Place_Frame({X_Px(left), Y_Px(top)}); }

void Form::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    // Until the window manager has framed the window, frame and client are the same size.
    int frame_w = frameGeometry().width() - this->width();
    int frame_h = frameGeometry().height() - this->height();
    Place_Frame({X_Px(left), Y_Px(top)});
    resize(std::max(0, X_Px(width) - frame_w), std::max(0, Y_Px(height) - frame_h));
}

void Form::Place_Frame(const QPoint& frame_top_left) {
    // A window that has its native handle but no frame yet would take the point for its client area,
    // and the window manager would then put the title bar above it: say it is the frame's.
    if (windowHandle() && !isVisible()) windowHandle()->setFramePosition(frame_top_left);
    else move(frame_top_left);
}

void Form::Keep_On_Screen() {
    const QRect frame = frameGeometry();
    const QRect fitted = Fit_On_Area(frame, Available_Area_Of(frame));
    if (fitted == frame) return;
    if (fitted.size() != frame.size())
        resize(std::max(0, width() - (frame.width() - fitted.width())),
               std::max(0, height() - (frame.height() - fitted.height())));
    move(fitted.topLeft());
}

void Form::Centre_On(const QWidget* owner) {
    QRect frame = frameGeometry();
    frame.moveCenter((owner ? owner->frameGeometry() : Available_Area_Of(frame)).center());
    move(Fit_On_Area(frame, Available_Area_Of(frame)).topLeft());
}

void Form::Set_Top_Most(bool top_most) {
    if (Top_Most() == top_most) return;
    // Changing window flags hides a shown window; bring it back where it was.
    bool shown = isVisible();
    QPoint place = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, top_most);
    move(place);
    if (shown) show();
}

bool Form::Top_Most() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

bool Form::Ask_Unload(int16_t unload_mode) {
    int16_t cancel = 0;
    Form_QueryUnload(cancel, unload_mode);
    if (cancel != 0) return false;
    Form_Unload(cancel);
    return cancel == 0;
}

void Form::Remove() {
    loaded_ = false;
    auto& r = Registry();
    r.erase(std::remove_if(r.begin(), r.end(), [this](const Entry& e) { return e.form == this; }), r.end());
    hide();
    // The caller may be one of this window's own handlers: delete once it has returned.
    deleteLater();
}

bool Form::Unload(int16_t unload_mode) {
    if (!loaded_) return true;
    if (!Ask_Unload(unload_mode)) return false;
    Remove();
    return true;
}

void Form::closeEvent(QCloseEvent* event) {
    if (!loaded_ || Ask_Unload(vbFormControlMenu)) {
        event->accept();
        if (loaded_) Remove();
    } else {
        event->ignore();
    }
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (loaded_) Form_Resize();
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (modal_loop_) modal_loop_->quit();
}

bool Form::event(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Show) Watch_Framing();
    bool handled = QWidget::event(event);  // a deferred delete may have deleted this window
    if (type == QEvent::WindowActivate && loaded_) Form_Activate();
    return handled;
}

QMargins Form::Frame_Margins() const {
    const QRect frame = frameGeometry(), client = geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

void Form::Watch_Framing() {
    // The window manager frames a window some time after it is shown, without telling the window, and the
    // frame may then reach past the screen (a window sized to the screen before it had one). Once the
    // frame appears the window is kept on the screen, title bar and all; without a window manager none
    // appears and nothing is moved. Later moves are the user's own.
    unframed_margins_ = Frame_Margins();
    framing_checks_left_ = 20;
    framing_timer_.start();
}

void Form::Framing_Check() {
    if (!isVisible() || --framing_checks_left_ <= 0) return framing_timer_.stop();
    if (Frame_Margins() == unframed_margins_) return;
    framing_timer_.stop();
    Keep_On_Screen();
}

std::vector<Form*> Loaded_Forms() {
    std::vector<Form*> forms;
    for (const auto& e : Registry()) forms.push_back(e.form);
    return forms;
}

bool Is_Loaded(const std::string& name) {
    for (const auto& e : Registry())
        if (e.form->Name() == name) return true;
    return false;
}

void Destroy_All_Forms() {
    while (!Registry().empty()) delete Registry().back().form;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace ui
