// The review window's menu tree, its own commands (capture, exit, about, stretch, full screen, size and
// position, monitor height, taskbar, wheel hook), the heat data commands and the display options.
#include "Frm_kanot_2.h"

#include "Module_Vantorel_overlay.h"
#include "diagnostics/Form_KD3_Timing.h"
#include "diagnostics/Form_calibrate.h"
#include "diagnostics/Frm_export.h"
#include "diagnostics/Timing_self_tests.h"
#include "platform/ui/Dialog_service.h"
#include "platform/ui/Picture_box.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"
#include "results/Frm_results.h"
#include "shell/Module_Vantorel.h"
#include "shell/Module_dependant.h"
#include "shell/Non_dependant.h"
#include "shell/Program_commands.h"
#include "shell/mTrace.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QSlider>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <limits>
#include <sstream>

using namespace Module_Vantorel;

void Frm_kanot_2::Build_Menus() {
    // One item: kept by its control name; a handler makes it a command; a shortcut as the menus show it.
    auto add = [this](const ui::Menu_item& parent, const std::string& name, const std::string& caption,
                      std::function<void()> handler = {}, const char* shortcut = nullptr, bool submenu = false) {
        ui::Menu_item item(parent, caption, submenu);
        if (handler) item.On_Click(std::move(handler));
        if (shortcut) item.Action()->setShortcut(QKeySequence(shortcut));
        Menu_items[name] = item;
        return item;
    };
    auto bar = [this](const std::string& name, const std::string& caption) {
        ui::Menu_item menu(Menu_bar, caption);
        Menu_items[name] = menu;
        return menu;
    };
    auto check = [](ui::Menu_item item) {
        item.Set_Checked(false);
        return item;
    };

    menu_form = bar("menu_form", "Form");
    QObject::connect(menu_form.Menu(), &QMenu::aboutToShow, this, [this] { menu_form_Click(); });
    item_open = add(menu_form, "item_open", "Open File", [this] { item_open_Click(); }, "Ctrl+O");
    item_Open_Newest_Root = add(menu_form, "item_Open_Newest_Root", "Open Newest File", {}, nullptr, true);
    for (int16_t i = 0; i < 4; ++i) {
        // Made with a caption of its own first: an item made as "-" is a separator that no click reaches.
        item_Open_Newest.push_back(add(item_Open_Newest_Root, "item_Open_Newest(" + std::to_string(i) + ")", " ",
                                       [this, i] { item_Open_Newest_Click(i); }));
        item_Open_Newest.back().Set_Caption("-");
        item_Open_Newest.back().Set_Visible(false);
    }
    QObject::connect(item_Open_Newest_Root.Menu(), &QMenu::aboutToShow, this, [this] { item_Open_Newest_Root_Click(); });
    item_open_last = add(menu_form, "item_open_last", "Open last Finished heat", [this] { item_open_last_Click(); }, "Ctrl+L");
    item_close = add(menu_form, "item_close", "Close File", [this] { item_close_Click(); }, "Ctrl+F4");
    item_zoom = check(add(menu_form, "item_zoom", "Zoom", [this] { item_Zoom_Click(); }, "Ctrl+Z"));
    Menu_x_extension = add(menu_form, "Menu_x_extension", "X-Stretch", {}, nullptr, true);
    int16_t index = 0;
    for (const char* caption : {"1/1", "1/1,5", "1/2"}) {
        Item_extension.push_back(check(add(Menu_x_extension, "Item_extension(" + std::to_string(index) + ")", caption,
                                           [this, index] { Item_extension_Click(index); })));
        ++index;
    }
    Item_extension[0].Set_Checked(true);
    item_play = add(menu_form, "item_play", "Play", [this] { Cmd_play_Click(); }, "Ctrl+P");
    add(menu_form, "item_video_capture", "Video Capture", [this] { item_video_capture_Click(); }, "Ctrl+K");
    item_auto_detect = check(add(menu_form, "item_auto_detect", "Auto detect", [this] { item_auto_detect_Click(); }));
    item_exit = add(menu_form, "item_exit", "Exit", [this] { item_exit_Click(); }, "Ctrl+X");

    menu_settings = bar("menu_settings", "Settings");
    add(menu_settings, "item_ange_match", "Give event name", [this] { Enter_Event_name(); });
    add(menu_settings, "item_select_logo_file", "Select Logo file", [this] { item_select_logo_file_Click(); });
    item_timing_calculation = add(menu_settings, "item_timing_calculation", "Timing calculation method", {}, nullptr, true);
    item_timing_framecount = add(item_timing_calculation, "item_timing_framecount", "Frame count", [this] {
        Set_Timing_Framecount();
        Slider_play_Scroll();
    });
    item_timing_frametimestamp = add(item_timing_calculation, "item_timing_frametimestamp", "Frame timestamp", [this] {
        Set_Timing_Frametimestamp();
        Slider_play_Scroll();
    });
    item_use_size = check(add(menu_settings, "item_use_size", "Use this size/position", [this] { item_use_size_Click(); }));
    item_dock_results = check(add(menu_settings, "item_dock_results", "Dock Results form", [this] { item_dock_results_Click(); }));
    item_lane_line_length = add(menu_settings, "item_lane_line_length", "Lane line length", [this] { item_lane_line_length_Click(); });
    item_handle_mousewheel = check(add(menu_settings, "item_handle_mousewheel", "Handle Mouse wheel events",
                                       [this] { item_handle_mousewheel_Click(); }));

    ui::Menu_item menu_diagnostics = bar("menu_diagnostics", "Diagnostics");
    add(menu_diagnostics, "item_timing_analyze", "File timing analyze",
        [this] { Form_KD3_Timing::Timing_Analyze(Replay_File, Lbl_Frame_size->text().toStdString()); });

    menu_Extras = bar("menu_Extras", "Extras");
    item_display_sample_data = check(add(menu_Extras, "item_display_sample_data", "Display sample data",
                                         [this] { item_display_sample_data_Click(); }));
    item_file_properties = add(menu_Extras, "item_file_properties", "File properties", [this] { item_file_properties_Click(); });
    item_check_timing = check(add(menu_Extras, "item_check_timing", "Check_Timing", [this] { Check_Timing = item_check_timing.Checked(); }));
    add(menu_Extras, "item_misbehave", "Misbehave (trapped)", [this] { item_misbehave_Click(); });
    add(menu_Extras, "item_misbehave_uncaptured", "Misbehave (untrapped)", [this] { item_misbehave_uncaptured_Click(); });
    add(menu_Extras, "item_take_height", "Take max Height", [this] { item_take_height_Click(); });

    menu_debug = bar("menu_debug", "Debug");
    add(menu_debug, "item_wheelhook", "WheelHook", [this] { item_wheelhook_Click(); });
    add(menu_debug, "item_whellUnhook", "WheelUnhook", [this] { item_whellUnhook_Click(); });
    add(menu_debug, "item_induce_crash", "Induce_crash", [this] { item_induce_crash_Click(); });
    add(menu_debug, "item_activate_trace", "Activate trace", [] { mTrace::Trace_Reconnect(); });
    add(menu_debug, "item_do_trace", "Do trace", [] { mTrace::Trace("This is a trace!..."); });
    item_test_auto_lanes = add(menu_debug, "item_test_auto_lanes", "Test auto lanes", [this] { item_test_auto_lanes_Click(); });
    item_auto_for_frame =
        check(add(menu_debug, "item_auto_for_frame", "Test Auto for frame", [this] { item_auto_for_frame_Click(); }));
    add(menu_debug, "item_run_auto_detect", "Auto Detect");
    item_setup_auto = add(menu_debug, "item_setup_auto", "Setup_auto", [this] { item_setup_auto_Click(); });
    add(menu_debug, "item_computer_model", "Computer_model", [this] { item_computer_model_Click(); });
    add(menu_debug, "item_display_jpeg_bench", "Display Jpeg Bench", [this] { item_display_jpeg_bench_Click(); });
    item_display_HSL = check(add(menu_debug, "item_display_HSL", "Display HSL",
                                 [] {}));
    item_Test_Line = add(menu_debug, "item_Test_Line", "Test_line", [this] { item_Test_Line_Click(); });
    add(menu_debug, "item_Goal_HSL", "Goal_HSL", [] {});
    // The self-tests step this window through its fields; setting the slider to its present value shows
    // nothing of itself, so that field is shown directly.
    auto show_field = [this](int32_t v) {
        if (Slider_play->value() == v)
            Slider_play_Scroll();
        else
            Slider_play->setValue(v);
    };
    const Timing_self_tests::Field_stepper stepper{
        [this] { return Slider_play->minimum(); }, [this] { return Slider_play->maximum(); }, show_field,
        [this] { return Get_Elapsed_HDMI_events_mill(); }, [this] { return Get_Elapsed_Rounded_mill(); },
        [this] { return Shown_Field_Time; }};
    add(menu_debug, "item_timing_method", "Timing_method_analyze", [stepper] { Timing_self_tests::Timing_Method_Analyze(stepper); });
    add(menu_debug, "item_timing_increment_analyze", "Timing Increment analyze",
        [stepper] { Timing_self_tests::Timing_Increment_analyze(stepper); });
    add(menu_debug, "item_dump_xml_header", "Dump_XML_header", [this] { item_dump_xml_header_Click(); });
    add(menu_debug, "item_sizes", "Sizes", [this] { item_sizes_Click(); });
    add(menu_debug, "item_run_intro", "Run intro", [this] { Run_Intro(); });
    add(menu_debug, "item_test_trace", "Test tracing", [] { mTrace::Trace("Test a trace ************"); });
    item_rotated = check(add(menu_debug, "item_rotated", "Rotated", [this] { item_rotated_Click(); }));
    add(menu_debug, "item_load_new_result", "Load new result form");
    add(menu_debug, "item_test_direct_write", "Test Direct write");
    add(menu_debug, "item_analyze_file", "Analyze file");
    item_taskbar = check(add(menu_debug, "item_taskbar", "Taskbar", [this] { item_taskbar_Click(); }));
    add(menu_debug, "item_debug_stop", "Debug_Stop", [] {});
    add(menu_debug, "item_display_positions", "Display positions", [this] { item_display_positions_Click(); });
    add(menu_debug, "item_test_copy", "Test Copy", [this] { File_Copy(); });
    item_export_form = check(add(menu_debug, "item_export_form", "Export form", [this, show_field] {
        vb::Trap(Is_Compiled, "item_export_form_Click of Form frm_kanot_2", [&] {
            Frm_export& export_window = Frm_export::Instance();
            export_window.Review = {[this] { return static_cast<int32_t>(Slider_play->value()); }, show_field,
                                    [this] { return Replay_File.File_name(); }, [this] { return Picture_large->grab().toImage(); },
                                    [this] { Set_Focus(); }};
            if (item_export_form.Checked())
                export_window.Show(ui::vbModeless);
            else
                export_window.Hide();
        });
    }));
    add(menu_debug, "item_test_XML", "Test XML");
    ui::Menu_item set_rotated = add(menu_debug, "item_set_rotated", "Set rotated", {}, nullptr, true);
    add(set_rotated, "item_rot_true", "True", [this] { item_rot_true_Click(); });
    add(set_rotated, "item_rot_false", "False", [this] { item_rot_false_Click(); });
    add(menu_debug, "item_update_event", "Update event name", [this] { Set_File_Event_name("Give event name", false); });
    add(menu_debug, "item_play_deinterlaced", "Play deinterlaced", [this] { item_play_deinterlaced_Click(); });
    add(menu_debug, "item_assert_false", "Assert False", [] {});
    add(menu_debug, "item_show_frame", "Show frame", [this] { item_show_frame_Click(); });
    add(menu_debug, "item_hide_large_icture", "Hide large_picture", [this] { item_hide_large_picture_Click(); });
    add(menu_debug, "item_rename_file", "Rename File", [this] { item_rename_file_Click(); });
    add(menu_debug, "item_large", "plarge");
    item_disp_xy = check(add(menu_debug, "item_disp_xy", "Display X,Y", [] {}));
    add(menu_debug, "item_step_forward", "Step forward", [this] { item_step_forward_Click(); });
    add(menu_debug, "item_read_lanemarks", "Read lanemarks");
    add(menu_debug, "item_clear_ranks", "Clear ranks");
    add(menu_debug, "item_load_ranks", "Load ranks");
    add(menu_debug, "item_test_array", "Test array");
    add(menu_debug, "item_refresh", "Refresh", [this] { item_refresh_Click(); });
    item_fullscreen = check(add(menu_debug, "item_fullscreen", "Fullscreen", [this] { item_fullscreen_Click(); }));
    add(menu_debug, "item_save_jpeg", "Save JPEG");
    add(menu_debug, "item_browse_for_folder", "Browse for folder", [this] { item_browse_for_folder_Click(); });

    menu_help = bar("menu_help", "Help");
    QObject::connect(menu_help.Menu(), &QMenu::aboutToShow, this, [this] { menu_help_click(); });
    add(menu_help, "item_about", "About", [this] { item_about_Click(); }, "Ctrl+A");

    menu_specials = bar("menu_specials", "Specials");
    add(menu_specials, "item_rename_ini", "Rename ini file", [this] { item_rename_ini_Click(); });
    add(menu_specials, "item_printer_test", "printer test", [this] { item_printer_test_Click(); });
    add(menu_specials, "item_set_lanenums", "Set lanenums", [this] { item_set_lanenums_Click(); });
    add(menu_specials, "item_save_lanes", "Save lanes", [] {});
    add(menu_specials, "itemLocalheatstart", "Set Local heat start", [this] { itemLocalheatstart_Click(); });
    add(menu_specials, "item_heat_start", "Set Heat start", [this] { item_heat_start_Click(); });
    add(menu_specials, "item_set_heat_id", "Set heat ID", [this] { item_set_heat_id_Click(); });
    add(menu_specials, "item_set_event", "Set event", [this] { Set_File_Event_name("Event", true); });
    add(menu_specials, "item_calibrate", "Calibrate clock", [] { Form_calibrate::Instance().Show(ui::vbModeless); });
    add(menu_specials, "item_timer_test", "Timer test");
    add(menu_specials, "item_set_event_name", "Set event name", [this] { Set_File_Event_name("Event name?", true); });
    add(menu_specials, "item_Delete_File", "Delete file", [this] { item_Delete_File_Click(); });
    add(menu_specials, "item_disk_perf", "Disk performance", [this] { item_disk_perf_Click(); });

    menu_Result = bar("menu_Result", "Result");
    menu_Result.Set_Visible(false);
    item_set_time = add(menu_Result, "item_set_time", "Set time", [this] { item_set_time_Click(); });
    item_set_disq = add(menu_Result, "item_set_disq", "Disqualified", [this] { item_set_disq_Click(); });
    item_set_did_not_finish = add(menu_Result, "item_set_did_not_finish", "Did not finish", [this] { item_set_did_not_finish_Click(); });
    item_set_did_not_start = add(menu_Result, "item_set_did_not_start", "Did not start", [this] { item_set_did_not_start_Click(); });
    item_set_time_plus = add(menu_Result, "item_set_time_plus", "Set time + 1/100", [this] { item_set_time_plus_Click(); });
    item_clear_lane = add(menu_Result, "item_clear_lane", "Clear this lane", [this] { item_clear_lane_Click(); });
}

void Frm_kanot_2::menu_form_Click() {
    if (Non_dependant::Alt_Down()) {
        menu_Extras.Set_Visible(!menu_Extras.Visible());
        menu_debug.Set_Visible(!menu_debug.Visible());
    }
    // The submenu opens only when it has a visible entry, so its entries are filled before it is offered.
    item_Open_Newest_Root_Click();
}

void Frm_kanot_2::item_Open_Newest_Root_Click() { Update_Recent_Files(); }

void Frm_kanot_2::menu_help_click() {
    if (Non_dependant::Ctrl_Down()) menu_specials.Set_Visible(true);
}

void Frm_kanot_2::item_video_capture_Click() {
    Module_dependant::Trace_String("item_video_capture_Click");
    item_close_Click();
    Hide();
    Frm_results::Instance().Hide();
    Program_commands::Show_capture_console();
}

void Frm_kanot_2::item_about_Click() { Program_commands::Do_about(); }

void Frm_kanot_2::Item_extension_Click(int16_t Index) {
    for (ui::Menu_item& item : Item_extension) item.Set_Checked(false);
    ui::Menu_item& chosen = Item_extension.at(static_cast<size_t>(Index));
    chosen.Set_Checked(true);
    const std::string caption = chosen.Caption();
    std::string factor = caption.substr(caption.find('/') + 1);
    std::replace(factor.begin(), factor.end(), ',', '.');
    X_Stretch = static_cast<float>(vb::CDbl(factor));
    Form_Resize();
}

void Frm_kanot_2::item_fullscreen_Click() {
    vb::Trap(Is_Compiled, "item_fullscreen_Click of Form frm_kanot_2", [this] {
        if (item_fullscreen.Checked()) {
            Program_commands::SetFormFullScreen(*this);
        } else {
            const bool was_visible = isVisible();
            setWindowFlag(Qt::FramelessWindowHint, false);
            WindowState(ui::vbNormal);
            if (was_visible) show();
            Arrange_Frames();
        }
    });
}

void Frm_kanot_2::item_use_size_Click() {
    if (!item_use_size.Checked()) return;
    auto text = [](int32_t twips) { return vb::CStr(static_cast<double>(static_cast<float>(twips))); };
    Non_dependant::Write_Ini("Settings", "lastformpos", text(Top()) + "," + text(Left()) + "," + text(Height()),
                             Ini_file_path);
}

void Frm_kanot_2::item_take_height_Click() {
    QScreen* monitor = QGuiApplication::screenAt(frameGeometry().center());
    if (!monitor) monitor = QGuiApplication::primaryScreen();
    if (!monitor) return;
    const QRect area = monitor->geometry();
    ui::MsgBox(std::to_string(area.top()) + "," + std::to_string(area.top() + area.height()) + "," +
               std::to_string(area.height()));
    Move(area.left() * ui::Twips_Per_Pixel_X(), area.top() * ui::Twips_Per_Pixel_Y(), Width(),
         area.height() * ui::Twips_Per_Pixel_Y());
}

void Frm_kanot_2::item_taskbar_Click() {
    vb::Trap(Is_Compiled, "item_taskbar_Click of Form frm_kanot_2",
             [this] { Non_dependant::Taskbar_Visible(item_taskbar.Checked()); });
}

void Frm_kanot_2::Load_Options_from_ini() {
    vb::Trap(Is_Compiled, "Load_options of Form frm_kanot_2", [this] {
        // Only the text "Checked" checks a box; the keys as the live preview writes them hold "True" or "False".
        auto checked = [](const char* key, const char* fallback) {
            return Non_dependant::Read_Ini("Canoe", key, Ini_file_path, fallback) == "Checked";
        };
        Chk_Show_lanemarks->setChecked(checked("ShowLanes", "Checked"));
        Chk_Flip_Lanemarks->setChecked(checked("FlipLanes", "UnChecked"));
        Chk_Show_Goalline->setChecked(checked("ShowGoalline", "Checked"));
    });
}

void Frm_kanot_2::Set_Camera_Counters_High() { Camera_Counters = {99, 99}; }

void Frm_kanot_2::item_wheelhook_Click() { Module1::Hook_Mouse_Wheel(this, this); }

void Frm_kanot_2::item_whellUnhook_Click() { Module1::Unhook_Mouse_Wheel(); }

void Frm_kanot_2::Chk_Option_Click(QCheckBox* box) {
    vb::Trap(Is_Compiled, "Chk_MouseUp of Form frm_kanot_2", [this, box] {
        if (box == Chk_Show_Goalline) Draw_Goalline = box->isChecked();
        if (box == Chk_Show_lanemarks) Draw_Lanemarks = box->isChecked();
        if (box == Chk_invert_goalline) {
            Invert_Goalline = box->isChecked();
            SliderPlay_Focus();
        }
        if (Zoom_Mode)
            Refresh_picture();
        else
            New_Graphics();
    });
}

// ---- heat data ----

void Frm_kanot_2::Enter_Event_name() {
    vb::Trap(Is_Compiled, "Enter_Event_name of Form frm_kanot_2", [this] {
        std::optional<std::string> answer = ui::InputBox_Answer("Enter event name!", "Vantorel event name", Event_Name);
        if (!answer) return;
        Event_Name = *answer;
        Non_dependant::Write_Ini("Canoe", "event_name", Event_Name, Ini_file_path);
        Update_Form_Caption();
    });
}

void Frm_kanot_2::Set_File_Event_name(const std::string& prompt, bool rewrite_header) {
    if (!File_open()) {
        ui::MsgBox("No file open!");
        return;
    }
    std::optional<std::string> answer = ui::InputBox_Answer(prompt);
    if (!answer) return;
    Replay_File.Event_name(*answer);
    if (rewrite_header) Replay_File.Write_XML_Header();
}

void Frm_kanot_2::item_set_heat_id_Click() {
    if (!File_open()) {
        ui::MsgBox("No file open!");
        return;
    }
    std::optional<std::string> answer = ui::InputBox_Answer("Give Heat ID!");
    if (!answer) return;
    Replay_File.Heat_ID(1, *answer);
    Replay_File.Write_XML_Header();
}

void Frm_kanot_2::item_set_lanenums_Click() {
    if (!File_open()) {
        ui::MsgBox("No file open!");
        return;
    }
    std::optional<std::string> answer = ui::InputBox_Answer("Lane numbers");
    if (!answer) return;
    const std::string trimmed = vb::Trim(*answer);
    const double value = vb::Is_Numeric(trimmed) ? vb::CDbl(trimmed) : -1;
    if (value < 0 || value > std::numeric_limits<int16_t>::max() || value != static_cast<double>(static_cast<int32_t>(value))) {
        ui::MsgBox("\"" + *answer + "\" is no number of lanes. Enter a whole number from 0 to 32767.", ui::vbExclamation,
                   "Lane numbers");
        return;
    }
    Replay_File.Lane_count(static_cast<int16_t>(value));
}

void Frm_kanot_2::itemLocalheatstart_Click() {
    vb::Trap(Is_Compiled, "itemLocalheatstart_Click of Form frm_kanot_2", [this] {
        if (!File_open()) {
            ui::MsgBox("No file open!");
            return;
        }
        Replay_File.Start_local_mill(1, 38793000);
        Replay_File.Write_XML_Header();
    });
}

void Frm_kanot_2::item_heat_start_Click() {
    if (!File_open()) {
        ui::MsgBox("No file open!");
        return;
    }
    Replay_File.Start_PC_mill(1, Replay_File.Old_HeatStart());
    Replay_File.Write_XML_Header();
}
