#pragma once
// The results window of the heat open in the review window, docked to its right edge: the result rows
// the review window writes, the event name and heat ID, and the heat's start correction. Export and
// printing panels come with their own commands; until then they say so.
#include "Correction_repeat.h"
#include "platform/ui/Control_array.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menu_item.h"
#include "platform/ui/Timer.h"

#include <QMenu>  // Menu_item::Menu needs the whole class

#include <memory>

class Export_panel;
class QGroupBox;
class QRadioButton;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
namespace ui {
class Picture_box;
}
namespace printer {
class Page_image;
}

class Frm_results : public ui::Form {
public:
    static Frm_results& Instance() { return ui::Instance_Of<Frm_results>(); }
    Frm_results();
    ~Frm_results() override;

    // Empties the twelve result rows and the capture time.
    void Clear_Results();
    // After the file closed: no heat label or correction, no correction step chosen, every start box "00".
    void Clear_Heat_Data();
    // Shows the goal field of place Index + 1 in the review window.
    void GoTo_Field(int16_t Index);

    void Display_Original_Start_Time();
    void Display_Compensate_Mill();
    void Display_Corrected_Start_Time();
    // The correction into heat 1's header, which the file takes at once.
    void Update_File_With_Time_Correction();
    void Deselect_Correction_Items();

    // The operator's actions, as the controls' events call them.
    void Lbl_hms_correction_Click(int16_t Index);
    void Lbl_hms_correction_RightDown();
    void Cmd_time_MouseDown(int16_t Index);
    void Cmd_time_MouseUp();
    // Focus leaving a held button ends the repeat as a release does.
    void Cmd_time_LostFocus();
    void Lbl_result_rank_MouseDown(int16_t Index);
    void Lbl_result_rank_MouseMove(int16_t Index);
    void item_clear_all_results_Click();

    // ---- printing ----
    // The print target from the preview choice: the page picture, or the printer when there is one.
    void Handle_Preview();
    void Opt_printer_Click(int16_t Index);
    // The page furniture on the print target: frame, logos or event name, file block and footer; sets
    // Header_Bottom and the review window's footer position. False after an error: the printout stops.
    bool Print_Static_Content();
    // The result sheet, with the picture series below the list when asked, and the end of the printout.
    void Print_Results(bool with_pictures);
    // The developer menu's page furniture alone, and the results window beside the review window.
    void item_printer_test_Click();
    void item_test_position_Click();

    // The repeat's waits; the window's own timer unless a test gives another (nullptr: the timer).
    void Set_Repeat_Wait(Correction_repeat::Wait* wait);
    const Correction_repeat& Repeat() const { return *repeat_; }
    int32_t Correction_Step() const { return correction_step_; }

    int32_t orig_Start_Local_Time = 0;
    int32_t Corrected_Start_Local_Time = 0;
    int32_t Y_Pos_After_Results = 0;

    QMenuBar* Menu_bar;
    ui::Menu_item menu_form, item_print_results, item_print, item_print_series, item_export_results, item_hide,
        item_clear_all_results, item_exit;
    ui::Menu_item menu_debug, item_do_preview, item_printer_test, item_maped_drive, item_test_position,
        item_load_results;

    QLabel* lbl_event_name;
    QLabel* LBL_XID;
    QLabel* Lbl_heat;
    QLabel* lbl_result_header;
    ui::Control_array<QLabel> Lbl_result_rank;
    ui::Control_array<QLabel> Lbl_result_lane;
    ui::Control_array<QLabel> Lbl_result_time;
    ui::Control_array<QLabel> Lbl_result_delta_time;
    QGroupBox* Frm_create_time;
    QLabel* Lbl_capture_time;

    QGroupBox* Frm_time_select;
    QLabel* Lbl_time;
    QGroupBox* Frm_orig_time;
    QGroupBox* Frm_correction;
    QGroupBox* Frm_Corrected_time;
    ui::Control_array<QLabel> Lbl_hms;
    ui::Control_array<QLabel> Lbl_hms_correction;
    ui::Control_array<QLabel> Lbl_hms_corrected;
    QLabel* Lbl_Minus;
    ui::Control_array<QPushButton> Cmd_time;

    QGroupBox* Frm_printer;
    // 0 "Preview", 1 the printer (or "PDF file" without one).
    ui::Control_array<QRadioButton> Opt_printer;
    // The preview's page, Printer_Width x Printer_Height twips.
    std::unique_ptr<printer::Page_image> Picture_preview;
    // Hidden scratch box in which the heat ID's font, and the page header's event name, are fitted.
    ui::Picture_box* Pict_temp;
    // The scratch in which the page header and file block are composed, light grey.
    std::unique_ptr<printer::Page_image> Pict_temp_page;
    // A hidden text box; nothing uses it.
    QLineEdit* Text_temp;
    // The results export area and its message.
    std::unique_ptr<Export_panel> Export;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int16_t& cancel, int16_t unload_mode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Timer_wait : public Correction_repeat::Wait {
    public:
        void Start(int32_t milliseconds, std::function<void()> done) override;
        void Stop() override;

    private:
        ui::Timer timer_;
    };

    void Step_Correction(int32_t step);
    // The heat's file would not take a change (read-only, being recorded, or rewritten by another window
    // since it was opened here): says so plainly, before anything changes.
    bool Change_Refused();
    void Show_Parts(ui::Control_array<QLabel>& boxes, int32_t mill);
    bool Place_Has_Time(int16_t Index) const;

    int32_t correction_step_ = 0;
    std::string held_file_;
    Timer_wait timer_wait_;
    Correction_repeat::Wait* wait_ = &timer_wait_;
    std::unique_ptr<Correction_repeat> repeat_;
};
