#pragma once
// The results window of the heat open in the review window, docked to its right edge. Built so far:
// the window with its result rows, event name and heat ID, and Clear_Results. The start correction,
// export and printing panels and the row commands come with the results; until then the window says so.
#include "platform/ui/Control_array.h"
#include "platform/ui/Form.h"

#include <memory>

class Export_panel;
class QLabel;
namespace ui {
class Picture_box;
}

class Frm_results : public ui::Form {
public:
    static Frm_results& Instance() { return ui::Instance_Of<Frm_results>(); }
    Frm_results();
    ~Frm_results() override;

    // Empties the twelve result rows and the capture time.
    void Clear_Results();

    QLabel* lbl_event_name;
    QLabel* LBL_XID;
    QLabel* Lbl_heat;
    QLabel* lbl_result_header;
    ui::Control_array<QLabel> Lbl_result_rank;
    ui::Control_array<QLabel> Lbl_result_lane;
    ui::Control_array<QLabel> Lbl_result_time;
    ui::Control_array<QLabel> Lbl_result_delta_time;
    QLabel* Lbl_capture_time;
    QLabel* Label_not_built;
    // Hidden scratch box in which the heat ID's font is fitted to Lbl_heat.
    ui::Picture_box* Pict_temp;
    // The results export area and its message.
    std::unique_ptr<Export_panel> Export;

protected:
    void Form_Load() override;
};
