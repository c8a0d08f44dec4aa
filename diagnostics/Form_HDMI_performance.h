#pragma once
// The frame-arrival monitor: frames received since the counters were reset against one every 40 ms,
// the difference as lost frames, and every frame interval as a column of a scrolling plot with lines at
// 40 and 80 ms. The capture console shows it, feeds it while it is visible and hides it.
#include "Frame_arrival_counter.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"

#include <QImage>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QMenuBar;

class Form_HDMI_performance : public ui::Form {
public:
    static Form_HDMI_performance& Instance() { return ui::Instance_Of<Form_HDMI_performance>(); }
    Form_HDMI_performance();

    void Plot_Delta(int32_t Delta);
    void Reset_Counters();
    // One processed frame; LastMill is not used.
    void HDMI_event(int32_t LastMill, int32_t Delta);
    void Show_Properties(const std::string& Text);
    void HDMI_Dimensions(const std::string& Text);
    void Draw_lines();
    void Plot_Lines();

    // Where the frames come from: a reading of the capture device, none while there is no device. The
    // window reads it every 10 ms while it is visible and reports every new frame to HDMI_event.
    using Frame_source = std::function<std::optional<Frame_arrival_poll::Reading>()>;
    void Feed_From(Frame_source source);
    // What "Hide  Form" does: the console's Hide_HDMI_performance (which unchecks its menu item); the
    // window only hides itself when no one has set it.
    std::function<void()> Hide_HDMI_performance;

    void Command_copy_to_clipboard_Click();
    void Command_Print_Form_Click();
    void Command_Hide_Me_Click();
    void Label_frames_lost_Click();
    void Random_Delta_Click();

    QLabel* Picture_Delta_Scroll;
    QLabel* Picture_Scale;
    QGroupBox* Frame_performance;
    QLabel* Label_header;
    QLabel* Label_Frames_received;
    QLabel* Label_frames_Calculated;
    QLabel* Label_frames_lost;
    QLabel* Label_prop;
    QLabel* Label_HDMI_dimensions;
    QLabel* Label_Windows_version;
    QLabel* Lbl_PC_info;
    ui::Command_button* Command_copy_to_clipboard;
    ui::Command_button* Command_Print_Form;
    ui::Command_button* Command_Hide_Me;
    QMenuBar* Menu_bar;
    ui::Menu_item Menu_form, item_copy, item_print, Menu_debug, item_random_delta;
    QTimer Timer_delta;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int16_t& cancel) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();
    void Show_Plot();

    Frame_arrival_counter counter_;
    Frame_arrival_poll poll_;
    Frame_source source_;
    QTimer poll_timer_;
    QImage plot_;  // the plot's columns; the box shows it
    int text_width_ = 0;
    int text_height_ = 0;
};
