#pragma once
// The JPEG statistics of the live capture: the largest, smallest and mean JPEG, the number of frames
// compressed and the measured frame rate. The capture console shows and hides it; while it is visible it
// reads the capture device's statistics five times a second.
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"

#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

class QLabel;

class Form_Vantorel_HDMI_debug : public ui::Form {
public:
    struct Statistics {
        int32_t largest = 0;
        int32_t smallest = 0;
        int32_t compressions = 0;
        double total_bytes = 0;
        double fps = 0;
    };

    static Form_Vantorel_HDMI_debug& Instance() { return ui::Instance_Of<Form_Vantorel_HDMI_debug>(); }
    Form_Vantorel_HDMI_debug();

    // Sets the five value labels; the mean is 0 before the first compression.
    void Show_Statistics(const Statistics& statistics);
    // The capture device's statistics, none while there is no device (the labels keep their values).
    using Statistics_source = std::function<std::optional<Statistics>()>;
    void Feed_From(Statistics_source source);

    void Command_form_to_Clipboard_Click();

    QLabel* Label_version;
    QLabel* Label_max_dircomp_size;
    QLabel* Label_min_dircomp_size;
    QLabel* Label_Average_JPG_size;
    QLabel* Label_num_direct_comp;
    QLabel* Label_fps;
    ui::Command_button* Command_form_to_Clipboard;

protected:
    void Form_Load() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Poll();

    Statistics_source source_;
    QTimer poll_timer_;
};
