// Results given in the review window by keys, presses on the picture and the "Result" menu, kept in the
// heat's file and shown in the results window's rows.
#include "Heat_fixture.h"
#include "Review_fixture.h"
#include "Test_dialogs.h"
#include "platform/gdi/Gdi_draw.h"
#include "platform/ui/Picture_box.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_text.h"
#include "results/Frm_results.h"
#include "review/Frm_kanot_2.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_results.h"
#include "review/Module_Vantorel_results_windows.h"
#include "shell/Module_Vantorel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPixmap>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSlider>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace Module_Vantorel;

using Row = std::array<std::string, 4>;

class Review_results : public Review_fixture {
protected:
    void SetUp() override {
        Review_fixture::SetUp();
        Vantorel_Mode = true;
    }
    void TearDown() override {
        Window().Close_File();
        Window().View_Scale = 0;
        Window().X_Stretch = 1;
        Window().Zoom_Mode = false;
        Vantorel_Mode = false;
        Is_Compiled = false;
        Review_fixture::TearDown();
    }

    Frm_kanot_2& Window() { return Frm_kanot_2::Instance(); }
    Frm_results& Results() { return Frm_results::Instance(); }
    std::string Heat(const std::string& name, Heat_layout layout = {}) {
        if (layout.frames.empty()) layout.frames = Regular_Frames(36, layout.start_tick, layout.start_events);
        const std::string path = heats + "/" + name;
        Write_Heat(path, layout);
        return path;
    }
    static std::string Text(QLabel* label) { return label->text().toStdString(); }
    Row Row_At(int r) {
        Frm_results& f = Results();
        return {Text(&f.Lbl_result_rank(r)), Text(&f.Lbl_result_lane(r)), Text(&f.Lbl_result_time(r)),
                Text(&f.Lbl_result_delta_time(r))};
    }
    std::vector<Row> Rows() {
        std::vector<Row> rows;
        for (int r = 0; r < 12; ++r) rows.push_back(Row_At(r));
        return rows;
    }
    std::vector<std::string> Prompts() { return Test_dialogs::Instance().Shown_Prompts(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(Window().Slider_play, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(Window().Slider_play, &release);
    }
    // A key held (or let go) as the program's key state sees it.
    void Hold(int key, bool down) {
        QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(&Window(), &event);
    }
    void Click(Qt::MouseButton button, QPointF at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, at, button, button, Qt::NoModifier);
        QApplication::sendEvent(Window().Picture_large, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Window().Picture_large, &release);
    }
    void Show_Field(int32_t field) {
        Window().Set_Slider_Value(field);
        Window().Slider_play_Scroll();
    }
    // Picks a command of the next popup menu by its caption, as the operator does with the keyboard;
    // records the captions the menu offered.
    void Pick_In_Popup(const QString& caption) {
        QTimer::singleShot(0, [this, caption] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            popup_captions.clear();
            for (QAction* action : menu->actions()) {
                popup_captions.push_back(action->text().toStdString());
                if (action->text() == caption) menu->setActiveAction(action);
            }
            QKeyEvent enter(QEvent::KeyPress, caption.isEmpty() ? Qt::Key_Escape : Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &enter);
        });
    }
    int32_t Header_Result(const std::string& path, int16_t lane) {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        return store.Heat_time(1, lane);
    }
    std::vector<std::string> popup_captions;
};

TEST_F(Review_results, Digit_keys_give_lanes_the_shown_time_and_the_rows_and_header_follow) {
    Heat_layout twelve;
    twelve.lanes = 12;
    const std::string path = Heat("keys.kd3", twelve);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    EXPECT_EQ(Rows(), std::vector<Row>(12));
    EXPECT_EQ(Text(Results().Lbl_heat), "K1 Final A");
    EXPECT_EQ(Text(Results().lbl_event_name), "nnn");
    EXPECT_EQ(w.Slider_play->value(), 1);

    Show_Field(51);
    Key(Qt::Key_3);
    EXPECT_EQ(Header_Result(path, 3), 1000);
    EXPECT_EQ(w.Replay_File.Heat_Goalfield(1, 3), 51);
    EXPECT_EQ(Row_At(0), (Row{"1", "3", " 00:01,00", "+0,00"}));
    EXPECT_EQ(w.Timed_Result_Count, 1);
    // The first time of the heat is the delta's zero.
    EXPECT_EQ(w.Delta_Reference_Time, 1000);

    Show_Field(46);
    Key(Qt::Key_1, Qt::KeypadModifier);
    Show_Field(60);
    Key(Qt::Key_F11);
    EXPECT_EQ(Rows()[0], (Row{"1", "1", " 00:00,90", "+0,00"}));
    EXPECT_EQ(Rows()[1], (Row{"2", "3", " 00:01,00", "+0,10"}));
    EXPECT_EQ(Rows()[2], (Row{"3", "11", " 00:01,18", "+0,28"}));
    EXPECT_EQ(Rows()[3], Row{});
    EXPECT_EQ(w.Delta_Reference_Time, 1000);  // only the first time sets it
    EXPECT_EQ(Lane_Collection[0].time(), 900);  // the marks of lanes 1, 2, 3
    EXPECT_EQ(Lane_Collection[1].time(), 0);
    EXPECT_EQ(Lane_Collection[2].time(), 1000);

    // A lane with a result asks first; Cancel keeps it.
    Test_dialogs::Instance().Answer(ui::vbCancel);
    Key(Qt::Key_3);
    EXPECT_EQ(Prompts().back(), "Override existing result?\r\nLane 3");
    EXPECT_EQ(Header_Result(path, 3), 1000);

    // Ctrl: the goal field of a place; Alt: of the place a lane holds; none: field 1.
    struct Jump {
        int key;
        Qt::KeyboardModifiers modifiers;
        int32_t field;
    } jumps[] = {{Qt::Key_2, Qt::ControlModifier, 51}, {Qt::Key_1, Qt::AltModifier, 46},
                 {Qt::Key_3, Qt::ControlModifier | Qt::KeypadModifier, 60}, {Qt::Key_0, Qt::ControlModifier, 1},
                 {Qt::Key_2, Qt::AltModifier, 1}};
    for (const Jump& j : jumps) {
        SCOPED_TRACE(j.key);
        Key(j.key, j.modifiers);
        EXPECT_EQ(w.Slider_play->value(), j.field);
        EXPECT_EQ(Text(w.Lbl_frameno), vb::Format(j.field, "0000"));
    }

    // Opened again, the heat shows its rows and stands at the winner's goal field, the delta's zero.
    w.item_close_Click();
    EXPECT_EQ(Rows(), std::vector<Row>(12));
    EXPECT_EQ(Lane_all_Heats_Array[3].Heat_result, 0);
    w.Handle_Open_File(path);
    EXPECT_EQ(Rows()[2], (Row{"3", "11", " 00:01,18", "+0,28"}));
    EXPECT_EQ(w.Slider_play->value(), 46);
    EXPECT_EQ(Text(w.Lbl_delta_time), " 00:00,00");
    // A click on the delta label makes the shown field its zero.
    Show_Field(60);
    EXPECT_EQ(Text(w.Lbl_delta_time), " 00:00,28");
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w.Lbl_delta_time, &release);
    EXPECT_EQ(w.Delta_Reference_Time, 1180);
    EXPECT_EQ(Text(w.Lbl_delta_time), " 00:00,00");
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_results, Keys_of_lanes_the_course_does_not_have_store_nothing) {
    struct Case {
        const char* what;
        int16_t start_lane;
        int key;
        int16_t lane;
        bool stored;
    } cases[] = {
        {"a digit above the last lane", 1, Qt::Key_5, 5, false},
        {"F10 on three lanes", 1, Qt::Key_F10, 10, false},
        {"F12 on three lanes", 1, Qt::Key_F12, 12, false},
        {"0 on lanes from 1", 1, Qt::Key_0, 0, false},
        {"0 on lanes from 0", 0, Qt::Key_0, 0, true},
        {"3 on lanes 0 to 2", 0, Qt::Key_3, 3, false},
        {"the last lane", 1, Qt::Key_3, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Heat_layout layout;
        layout.start_lane = c.start_lane;
        const std::string path = Heat(std::string("course") + std::to_string(&c - cases) + ".kd3", layout);
        Frm_kanot_2& w = Window();
        w.Handle_Open_File(path);
        Show_Field(51);
        Key(c.key);
        EXPECT_EQ(Header_Result(path, c.lane), c.stored ? 1000 : 0);
        EXPECT_EQ(Row_At(0), c.stored ? (Row{"1", std::to_string(c.lane), " 00:01,00", "+0,00"}) : Row{});
        w.Close_File();
    }
    EXPECT_TRUE(Prompts().empty());
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_results, Rows_show_times_corrected_codes_and_twelve_places) {
    struct Given {
        int16_t lane;
        int32_t result;
    };
    struct Case {
        const char* what;
        int32_t correction;
        std::vector<Given> results;
        std::vector<Row> rows;  // then empty rows
        int16_t timed;
    } cases[] = {
        {"four times and a DNS",
         0,
         {{2, 65000}, {5, Did_Not_Start}, {1, 66230}, {3, 64000}, {4, 70000}},
         {{"1", "3", " 01:04,00", "+0,00"},
          {"2", "2", " 01:05,00", "+1,00"},
          {"3", "1", " 01:06,23", "+2,23"},
          {"4", "4", " 01:10,00", "+6,00"},
          {"5", "5", "DNS", ""}},
         4},
        {"a start correction moves the times, not the differences",
         500,
         {{1, 65000}, {2, 66230}},
         {{"1", "1", " 01:04,50", "+0,00"}, {"2", "2", " 01:05,73", "+1,23"}},
         2},
        {"ten million ms or more: place and lane only",
         0,
         {{1, 10000000}, {2, Disqualified}},
         {{"1", "1", "", ""}, {"2", "2", "DSQ", ""}},
         0},
    };
    Frm_kanot_2& w = Window();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Heat("rows" + std::to_string(++n) + ".kd3");
        {
            cls_VideoFile_handler store;
            store.File_name(path);
            store.Open_RGB_File();
            int32_t tick = 0;
            for (const Given& g : c.results)
                ASSERT_EQ(Attach_Result(store, g.lane, g.result, false, g.result, 100, ++tick), Attach_Outcome::Stored);
            store.Heat_Start_Correction(1, c.correction);
        }
        w.Handle_Open_File(path);
        std::vector<Row> rows = c.rows;
        rows.resize(12);
        EXPECT_EQ(Rows(), rows);
        EXPECT_EQ(w.Timed_Result_Count, c.timed);
        EXPECT_EQ(Heat_Start_Correction_Mill, c.correction);
        EXPECT_EQ(Text(Results().Lbl_capture_time), "0");
    }

    // Sixteen results on a course of fifteen marks numbered from 0: twelve rows, every mark its result,
    // and the file keeps all sixteen.
    Heat_layout layout;
    layout.lanes = 15;
    layout.start_lane = 0;
    const std::string path = Heat("sixteen.kd3", layout);
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        for (int16_t lane = 0; lane < 16; ++lane) {
            const int32_t result = lane == 13 ? Did_Not_Start : lane == 14 ? Disqualified : 60000 + 100 * lane;
            ASSERT_EQ(Attach_Result(store, lane, result, false, result, 100 + lane, lane), Attach_Outcome::Stored);
        }
    }
    w.Handle_Open_File(path);
    EXPECT_EQ(Row_At(11), (Row{"12", "11", " 01:01,10", "+1,10"}));
    EXPECT_EQ(w.Timed_Result_Count, 12);
    ASSERT_EQ(Lane_Collection.size(), 15u);
    for (const Cls_lane& mark : Lane_Collection) {
        SCOPED_TRACE(mark.Lane_number());
        const int16_t lane = mark.Lane_number();
        EXPECT_EQ(mark.time(), lane == 13 ? Did_Not_Start : lane == 14 ? Disqualified : 60000 + 100 * lane);
    }
    EXPECT_EQ(Lane_To_Place(15), 14);
    EXPECT_EQ(Go_to_Goal_field(14), 115);
    EXPECT_EQ(Header_Result(path, 12), 61200);

    // Sixteen marks numbered from 1: the last one, lane 16, has its row and takes its time.
    layout.lanes = 16;
    layout.start_lane = 1;
    const std::string from_one = Heat("from_one.kd3", layout);
    {
        cls_VideoFile_handler store;
        store.File_name(from_one);
        store.Open_RGB_File();
        ASSERT_EQ(Attach_Result(store, 16, 0, false, 61000, 120, 1), Attach_Outcome::Stored);
    }
    w.Handle_Open_File(from_one);
    EXPECT_EQ(Row_At(0), (Row{"1", "16", " 01:01,00", "+0,00"}));
    ASSERT_EQ(Lane_Collection.size(), 16u);
    EXPECT_EQ(Lane_Collection.back().Lane_number(), 16);
    EXPECT_EQ(Lane_Collection.back().time(), 61000);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_results, Presses_on_locked_lanes_give_results_jump_and_stamp) {
    Heat_layout layout;
    layout.locked = true;
    const std::string path = Heat("presses.kd3", layout);
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    w.Picture_large->resize(440, 540);
    // Half size and stretched twice across: lane 2's mark at video (40, 200) is drawn at (40, 100).
    w.View_Scale = 0.5f;
    w.X_Stretch = 2;
    const QPointF lane1(40, 50), lane2(40, 100), lane3(40, 150);

    // F held and a left press: the shown time, then the place stamped on the field.
    Show_Field(51);
    Hold(Qt::Key_F, true);
    Click(Qt::LeftButton, lane2);
    Hold(Qt::Key_F, false);
    EXPECT_EQ(Header_Result(path, 2), 1000);
    EXPECT_EQ(w.Slider_play->value(), 51);
    // A left press on a lane with a time goes to its goal field and stamps its place in white.
    auto white = [&] {
        int count = 0;
        for (int y = 432; y < 513; ++y)
            for (int x = 352; x < 427; ++x) count += gdi::GetPixel(w.Picture_large->hDC(), x, y) == 0xFFFFFFu;
        return count;
    };
    Show_Field(9);
    const int plain = white();
    Click(Qt::LeftButton, lane2);
    EXPECT_EQ(w.Slider_play->value(), 51);
    EXPECT_GT(white(), plain + 100);
    // On a lane without a time nothing moves; nor outside the marks or the picture.
    Show_Field(9);
    for (QPointF at : {lane3, QPointF(80, 200), QPointF(-30, 9000)}) Click(Qt::LeftButton, at);
    EXPECT_EQ(w.Slider_play->value(), 9);

    // The right button opens the "Result" menu on the lane pressed.
    Show_Field(60);
    Pick_In_Popup("Set time + 1/100");
    Click(Qt::RightButton, lane1);
    EXPECT_EQ(popup_captions, (std::vector<std::string>{"Set time", "Disqualified", "Did not finish", "Did not start",
                                                        "Set time + 1/100", "Clear this lane"}));
    EXPECT_EQ(Header_Result(path, 1), 1190);
    popup_captions.clear();
    Pick_In_Popup("");
    Click(Qt::RightButton, QPointF(300, 300));
    QApplication::processEvents();
    EXPECT_TRUE(popup_captions.empty());  // no menu off the marks

    // Every command of the menu on the lane of the press, each asking before it replaces a result.
    struct Command {
        ui::Menu_item Frm_kanot_2::*item;
        int32_t stored;
    } commands[] = {{&Frm_kanot_2::item_set_disq, Disqualified},
                    {&Frm_kanot_2::item_set_did_not_start, Did_Not_Start},
                    {&Frm_kanot_2::item_set_did_not_finish, Did_Not_Finish},
                    {&Frm_kanot_2::item_set_time, 1180},
                    {&Frm_kanot_2::item_clear_lane, No_Result}};
    for (const Command& c : commands) {
        SCOPED_TRACE(c.stored);
        Current_Lane = 1;
        Test_dialogs::Instance().Answer(ui::vbOK);
        (w.*c.item).Click();
        EXPECT_EQ(Prompts().back(), "Override existing result?\r\nLane 1");
        EXPECT_EQ(Header_Result(path, 1), c.stored);
    }

    // Escape held: the extra point in whole video pixels, the same in every locale.
    Hold(Qt::Key_Escape, true);
    Click(Qt::LeftButton, QPointF(101.5, 51.3));
    Hold(Qt::Key_Escape, false);
    w.Close_File();
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        EXPECT_EQ(store.Hdr_spare1(), "102,103");
    }

    // With the magnifier on, a left press only moves it.
    w.Handle_Open_File(path);
    w.View_Scale = 0.5f;
    w.X_Stretch = 2;
    w.Zoom_Mode = true;
    Hold(Qt::Key_F, true);
    Click(Qt::LeftButton, lane3);
    Hold(Qt::Key_F, false);
    EXPECT_FLOAT_EQ(w.Zoom_X, 40);
    EXPECT_EQ(Header_Result(path, 3), No_Result);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_results, Unlocked_lanes_only_start_a_drag) {
    const std::string path = Heat("unlocked.kd3");
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    w.View_Scale = 1;
    Show_Field(51);
    const std::vector<uint8_t> before = File_Bytes(path);
    popup_captions.clear();
    Pick_In_Popup("");  // closes a menu that should not open, and records it
    Click(Qt::RightButton, QPointF(40, 300));
    QApplication::processEvents();
    EXPECT_TRUE(popup_captions.empty());
    Hold(Qt::Key_F, true);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(41, 199), QPointF(41, 199), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w.Picture_large, &press);
    Hold(Qt::Key_F, false);
    EXPECT_EQ(Drag_Lane, 2);
    EXPECT_EQ(Drag_Start_X, 40);
    EXPECT_EQ(Drag_Start_Y, 200);
    EXPECT_EQ(Mouse_Down_X, 41);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(41, 199), QPointF(41, 199), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w.Picture_large, &release);
    EXPECT_EQ(Drag_Lane, -1);
    w.Close_File();
    EXPECT_EQ(File_Bytes(path), before);
}

TEST_F(Review_results, Refusals_leave_file_and_rows_as_they_were) {
    Frm_kanot_2& w = Window();
    // No file open: keys and presses do nothing.
    for (auto modifiers : {Qt::NoModifier, Qt::ControlModifier, Qt::AltModifier}) Key(Qt::Key_3, modifiers);
    w.Picture_large_MouseDown(1, 0, 40, 100);
    w.item_set_disq_Click();
    EXPECT_TRUE(Prompts().empty());

    // A read-only heat.
    const std::string path = Heat("readonly.kd3");
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        ASSERT_EQ(Attach_Result(store, 2, 0, false, 61000, 100, 1), Attach_Outcome::Stored);
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::vector<uint8_t> before = File_Bytes(path);
    w.Handle_Open_File(path);
    const std::vector<Row> rows = Rows();
    Show_Field(51);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Key(Qt::Key_3);
    EXPECT_EQ(Prompts().back(), "File is read-only!");
    EXPECT_EQ(Rows(), rows);
    w.Close_File();
    EXPECT_EQ(File_Bytes(path), before);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);

    // A lane beyond the records: the report, and nothing written.
    w.Handle_Open_File(path);
    Is_Compiled = true;
    Current_Lane = 17;
    w.item_set_time_Click();
    Is_Compiled = false;
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("Attach_Time of Form frm_kanot_2: 9", 0), 0u) << reports[0];
    w.Close_File();
    EXPECT_EQ(File_Bytes(path), before);

    // Lane records that are not numbers: reported, no place shown, and no result written over them.
    std::vector<uint8_t> broken = before;
    const std::string text(broken.begin(), broken.begin() + 32016);
    const size_t at = text.find("<heat_time_mill>999999999");  // lane 0's
    ASSERT_NE(at, std::string::npos);
    broken[at + 16] = 'x';
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(broken.data()), static_cast<std::streamsize>(broken.size()));
    }
    reports.clear();
    Is_Compiled = true;
    w.Handle_Open_File(path);
    EXPECT_TRUE(w.Replay_File.File_open());
    EXPECT_EQ(Rows(), std::vector<Row>(12));
    EXPECT_EQ(w.Slider_play->value(), 1);
    Show_Field(51);
    Key(Qt::Key_3);
    Is_Compiled = false;
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].rfind("Complete_Result_Array of Form frm_kanot_2: 13", 0), 0u) << reports[0];
    EXPECT_EQ(reports[1].rfind("Attach_Time of Form frm_kanot_2: 13", 0), 0u) << reports[1];
    w.Close_File();
    EXPECT_EQ(File_Bytes(path), broken);
}

// The operator's keys go to the review window: after a heat opens (which shows the docked results
// window) and after a press on a place in the results window.
TEST_F(Review_results, The_review_window_keeps_the_keys_after_an_open_and_a_press_on_a_place) {
    const std::string path = Heat("focus.kd3");
    Frm_kanot_2& w = Window();
    w.Show();
    QApplication::processEvents();
    w.Handle_Open_File(path);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &w);
    EXPECT_EQ(QApplication::focusWidget(), w.Slider_play);

    Show_Field(51);
    Key(Qt::Key_2);
    Results().activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &Results());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&Results().Lbl_result_rank(0), &press);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &w);
    EXPECT_EQ(QApplication::focusWidget(), w.Slider_play);
    Results().Hide();
    w.Hide();
}

// A heat deleted or moved away while it is open takes no more results: the header would go where
// nobody finds it, and the rows would show a result that is nowhere.
TEST_F(Review_results, A_heat_deleted_or_moved_while_open_takes_no_result) {
    const struct {
        const char* what;
        std::function<void(const std::string&)> away;
    } cases[] = {
        {"deleted", [](const std::string& path) { std::filesystem::remove(path); }},
        {"moved", [](const std::string& path) { std::filesystem::rename(path, path + ".moved"); }},
        {"replaced", [](const std::string& path) {
             std::filesystem::rename(path, path + ".old");
             std::filesystem::copy_file(path + ".old", path);
         }},
    };
    Frm_kanot_2& w = Window();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = Heat(std::string(c.what) + ".kd3");
        w.Handle_Open_File(path);
        Show_Field(51);
        c.away(path);
        reports.clear();
        Is_Compiled = true;
        Key(Qt::Key_3);
        Is_Compiled = false;
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(": 53 The capture file " + path + " was deleted or moved while it was open"),
                  std::string::npos)
            << reports[0];
        EXPECT_EQ(Rows(), std::vector<Row>(12));
        EXPECT_EQ(Lane_Collection[2].time(), 0);
        w.Close_File();
    }
}

// A result of an hour and more shows whole in its row, in a smaller type where it needs one.
TEST_F(Review_results, Times_of_an_hour_and_more_fit_their_row) {
    const std::string path = Heat("hour.kd3");
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        ASSERT_EQ(Attach_Result(store, 1, 0, false, 3600000, 51, 1), Attach_Outcome::Stored);
        ASSERT_EQ(Attach_Result(store, 2, 0, false, 9999990, 52, 2), Attach_Outcome::Stored);
    }
    Window().Handle_Open_File(path);
    EXPECT_EQ(Row_At(1), (Row{"2", "2", " 2:46:39,99", "+1:46:39,99"}));
    for (int r = 0; r < 2; ++r)
        for (QLabel* label : {&Results().Lbl_result_time(r), &Results().Lbl_result_delta_time(r)}) {
            const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
            EXPECT_LE(needed, label->contentsRect().width()) << label->text().toStdString();
        }
    // The column headings stand over their columns.
    std::map<std::string, QLabel*> headings;
    for (QLabel* heading : Results().lbl_result_header->findChildren<QLabel*>()) headings[Text(heading)] = heading;
    const auto right = [](QWidget* w) { return w->mapToGlobal(QPoint(w->width(), 0)).x(); };
    ASSERT_EQ(headings.size(), 3u);
    EXPECT_EQ(right(headings["Lane"]), right(&Results().Lbl_result_lane(0)));
    EXPECT_EQ(right(headings["Time"]), right(&Results().Lbl_result_time(0)));
    EXPECT_EQ(right(headings["Delta"]), right(&Results().Lbl_result_delta_time(0)));
}

// A long event name keeps left of the printer frame and shows whole, in a smaller type on two lines.
TEST_F(Review_results, A_long_event_name_keeps_left_of_the_printer_frame) {
    Window().Handle_Open_File(Heat("event.kd3"));
    const QString name = "Vallentuna Sprint Regatta 2026 - International Canoe Sprint Championships";
    Window().Replay_File.Event_name(name.toStdString());
    Window().Set_Captions();
    QLabel* label = Results().lbl_event_name;
    EXPECT_EQ(label->text(), name);
    EXPECT_EQ(label->toolTip(), name);
    EXPECT_LE(label->geometry().right(), Results().Frm_printer->geometry().left());
    const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, label->contentsRect().width(), 1000),
                                                                   Qt::TextWordWrap, name);
    EXPECT_LE(needed.height(), label->contentsRect().height());
    EXPECT_LE(needed.width(), label->contentsRect().width());
}

// The place stamped in the lower right corner stays whole on a wide picture and on a narrow one.
TEST_F(Review_results, The_place_stamp_stays_inside_wide_and_narrow_pictures) {
    const struct {
        int width, height;
        const char* place;
    } pictures[] = {{1080, 440, "1"}, {440, 1080, "16"}, {440, 400, "12"}};
    Frm_kanot_2& w = Window();
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.place);
        w.Picture_large->resize(p.width, p.height);
        w.Picture_large->Cls();
        w.Print_Place_string(p.place);
        gdi::Device_context* dc = w.Picture_large->hDC();
        int inside = 0, below = 0, beside = 0;
        for (int y = static_cast<int>(0.8 * p.height); y < p.height; ++y)
            for (int x = static_cast<int>(0.75 * p.width); x < p.width; ++x) {
                if (gdi::GetPixel(dc, x, y) != 0xFFFFFFu) continue;
                if (y >= static_cast<int>(0.95 * p.height) + 1) ++below;
                else if (x >= static_cast<int>(0.97 * p.width) + 1) ++beside;
                else ++inside;
            }
        EXPECT_GT(inside, 50);
        EXPECT_EQ(below, 0);
        EXPECT_EQ(beside, 0);
    }
}

TEST_F(Review_results, Clear_all_results_empties_rows_marks_and_header) {
    const std::string path = Heat("clear.kd3");
    Frm_kanot_2& w = Window();
    w.Handle_Open_File(path);
    Show_Field(51);
    Key(Qt::Key_1);
    Key(Qt::Key_2);
    EXPECT_EQ(Row_At(1)[1], "2");
    Clear_All_Results();
    EXPECT_EQ(Rows(), std::vector<Row>(12));
    for (const Cls_lane& mark : Lane_Collection) EXPECT_EQ(mark.time(), 0);
    EXPECT_EQ(Header_Result(path, 1), 0);
    EXPECT_EQ(w.Replay_File.Heat_Clicktime(1, 2), 0);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

TEST_F(Review_results, The_results_window_starts_at_the_right_edge_and_placed_rows_show_the_frame_cursor) {
    Frm_kanot_2& w = Window();
    w.Move(1500, 600);
    if (ui::Is_Loaded("Frm_results")) Results().Unload();
    Frm_results& f = Results();
    EXPECT_EQ(f.Left(), w.Left() + w.Width());
    EXPECT_EQ(f.Top(), 0);
    EXPECT_FALSE(f.Text_temp->isVisibleTo(&f));

    w.Handle_Open_File(Heat("hover.kd3"));
    ASSERT_TRUE(w.Replay_File.File_open());
    Show_Field(41);
    w.Attach_Time(2, 0, false);
    w.Attach_Time(1, Disqualified, false);
    ASSERT_EQ(Row_At(0)[1], "2");
    ASSERT_EQ(Row_At(1)[2], "DSQ");
    const QImage frame = QPixmap(":/cursor/FRAME").toImage();
    ASSERT_FALSE(frame.isNull());
    f.Lbl_result_rank_MouseMove(0);
    EXPECT_EQ(f.Lbl_result_rank(0).cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(f.Lbl_result_rank(0).cursor().pixmap().toImage(), frame);
    // A code has no goal field to go to: the default pointer.
    f.Lbl_result_rank_MouseMove(1);
    EXPECT_EQ(f.Lbl_result_rank(1).cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

}  // namespace
