#pragma once
// The photo-finish review window. Built so far: its load as the program's start needs it, its layout,
// the timing-method commands and Exit. Opening capture files, showing fields and the results come with
// the review; until then the picture area and "Open File" say so.
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"

#include <QMenu>  // Menu_item::Menu needs the whole class

#include <string>

class QGroupBox;
class QLabel;
class QMenuBar;

class Frm_kanot_2 : public ui::Form {
public:
    static Frm_kanot_2& Instance() { return ui::Instance_Of<Frm_kanot_2>(); }
    Frm_kanot_2();
    ~Frm_kanot_2() override;

    // Field time by frame count, or by the frames' time stamps: checks the one item, unchecks the other
    // and stores "Settings" / "timing".
    void Set_Timing_Framecount();
    void Set_Timing_Frametimestamp();

    void item_open_Click();
    void item_exit_Click();

    QMenuBar* Menu_bar;
    ui::Menu_item menu_form;
    ui::Menu_item item_open;
    ui::Menu_item item_exit;
    ui::Menu_item menu_settings;
    ui::Menu_item item_timing_calculation;
    ui::Menu_item item_timing_framecount;
    ui::Menu_item item_timing_frametimestamp;

    // The command line as the program was started, without the program and its --development switch:
    // the capture file to open. Opening it comes with the review.
    std::string Command_Line;

    QLabel* Picture_large;
    QGroupBox* Frame_Controls;
    QGroupBox* frm_File_data;
    QGroupBox* Frm_time;
    QGroupBox* Frm_play;
    QGroupBox* Frm_options;
    QLabel* Shape_circle;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
};
