#pragma once
// The base of every window: one instance per window class, loaded on first reference (Form_Load runs
// then, even while the window stays hidden), shown modal or modeless, asked before it closes and
// unloaded by Unload; positions and sizes in twips.
#include <QMargins>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <typeindex>
#include <vector>

class QEventLoop;

namespace ui {

// Why a window is being unloaded, as Form_QueryUnload receives it.
enum : int16_t { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };
enum : int16_t { vbModeless = 0, vbModal = 1 };
// The state of a window as WindowState gives and takes it.
enum : int16_t { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };

class Form : public QWidget {
public:
    // `name` is the window's name: the key of its stored position and of Is_Loaded.
    explicit Form(std::string name);
    ~Form() override;

    const std::string& Name() const { return name_; }

    // Modal runs the events of this window (and of the rest of the program) until it is hidden or unloaded.
    void Show(int16_t modal = vbModeless);
    void Hide();
    bool Visible() const { return isVisible(); }
    // Normal, minimised or maximised; a full-screen window counts as maximised.
    int16_t WindowState() const;
    void WindowState(int16_t state);

    std::string Caption() const;
    void Set_Caption(const std::string& caption);

    // The outer edge of the window in twips; Scale* is the client area.
    int32_t Left() const;
    int32_t Top() const;
    int32_t Width() const;
    int32_t Height() const;
    int32_t Scale_Width() const;
    int32_t Scale_Height() const;
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    void Move(int32_t left, int32_t top);
    // Centred on the owner window's frame, or on the screen without one, wholly on that screen.
    void Centre_On(const QWidget* owner);

    // Above every window that is not top-most itself; place and size stay.
    void Set_Top_Most(bool top_most);
    bool Top_Most() const;

    // Asks Form_QueryUnload and Form_Unload, then removes the window. False when one of them cancelled.
    bool Unload(int16_t unload_mode = vbFormCode);

    // Creates the window and runs its Form_Load; used by Instance_Of.
    template <class T>
    friend T& Instance_Of();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) { (void)cancel, (void)unload_mode; }
    virtual void Form_Unload(int16_t& cancel) { (void)cancel; }

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    // Moves the framed window wholly onto its screen's work area (smaller when it cannot fit), as after
    // showing; for a window that has grown since.
    void Keep_On_Screen();

private:
    void Load(std::type_index type);
    void Place_Frame(const QPoint& frame_top_left);
    QMargins Frame_Margins() const;
    void Watch_Framing();
    void Framing_Check();
    bool Ask_Unload(int16_t unload_mode);
    void Remove();

    static Form* Loaded_Of(std::type_index type);

    std::string name_;
    bool loaded_ = false;
    QEventLoop* modal_loop_ = nullptr;
    QTimer framing_timer_;
    int framing_checks_left_ = 0;
    QMargins unframed_margins_;
};

// The single instance of window class T, loaded now when it is not loaded.
template <class T>
T& Instance_Of() {
    if (Form* loaded = Form::Loaded_Of(typeid(T))) return static_cast<T&>(*loaded);
    T* form = new T();
    form->Load(typeid(T));
    return *form;
}

// The loaded windows in the order they were loaded.
std::vector<Form*> Loaded_Forms();
bool Is_Loaded(const std::string& name);
// Deletes every window still loaded, without asking; for the end of the process.
void Destroy_All_Forms();

}  // namespace ui
