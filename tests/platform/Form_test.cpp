#include "platform/ui/Application.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Control_array.h"
#include "platform/ui/Form.h"
#include "platform/ui/Key_state.h"
#include "platform/ui/Menu_item.h"
#include "platform/ui/Screen.h"
#include "platform/vb/Error_trap.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>
#include <QLabel>
#include <QMenuBar>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> events;

class Frm_sample : public ui::Form {
public:
    Frm_sample() : ui::Form("Frm_sample") {}
    static Frm_sample& Instance() { return ui::Instance_Of<Frm_sample>(); }
    int16_t refuse = 0;

protected:
    void Form_Load() override { events.push_back("load"); }
    void Form_Activate() override { events.push_back("activate"); }
    void Form_Resize() override { events.push_back("resize"); }
    void Form_QueryUnload(int16_t& cancel, int16_t mode) override {
        events.push_back("query " + std::to_string(mode));
        cancel = refuse;
    }
    void Form_Unload(int16_t&) override { events.push_back("unload"); }
};

class Frm_other : public ui::Form {
public:
    Frm_other() : ui::Form("Frm_other") {}
};

class Form_test : public testing::Test {
protected:
    void SetUp() override { events.clear(); }
    void TearDown() override { ui::Destroy_All_Forms(); }
};

TEST_F(Form_test, first_reference_loads_hidden_once_and_unload_gives_a_fresh_window) {
    Frm_sample& first = Frm_sample::Instance();
    EXPECT_EQ(events, std::vector<std::string>{"load"});
    EXPECT_FALSE(first.Visible());
    EXPECT_TRUE(ui::Is_Loaded("Frm_sample"));
    EXPECT_EQ(&Frm_sample::Instance(), &first);
    EXPECT_EQ(events.size(), 1u);

    ui::Instance_Of<Frm_other>();
    ASSERT_EQ(ui::Loaded_Forms().size(), 2u);
    EXPECT_EQ(ui::Loaded_Forms()[0]->Name(), "Frm_sample");
    EXPECT_EQ(ui::Loaded_Forms()[1]->Name(), "Frm_other");

    first.refuse = 1;
    EXPECT_FALSE(first.Unload());
    EXPECT_TRUE(ui::Is_Loaded("Frm_sample"));
    first.refuse = 0;
    EXPECT_TRUE(first.Unload());
    EXPECT_FALSE(ui::Is_Loaded("Frm_sample"));
    EXPECT_EQ(events, (std::vector<std::string>{"load", "query 1", "query 1", "unload"}));

    events.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Frm_sample::Instance();
    EXPECT_EQ(events, std::vector<std::string>{"load"});
}

TEST_F(Form_test, closing_the_window_asks_with_the_control_menu_mode) {
    Frm_sample& form = Frm_sample::Instance();
    form.Show();
    ASSERT_TRUE(form.Visible());
    form.refuse = 1;
    events.clear();
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(events, std::vector<std::string>{"query 0"});
    form.refuse = 0;
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(ui::Is_Loaded("Frm_sample"));
}

TEST_F(Form_test, a_modal_window_holds_the_caller_until_it_is_hidden) {
    Frm_sample& form = Frm_sample::Instance();
    bool was_modal = false;
    QTimer::singleShot(0, [&] {
        was_modal = form.isModal() && form.Visible();
        form.Hide();
    });
    form.Show(ui::vbModal);
    EXPECT_TRUE(was_modal);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.isModal());
    EXPECT_NE(std::find(events.begin(), events.end(), "activate"), events.end());
}

TEST_F(Form_test, positions_in_twips_and_top_most_keeps_place_and_visibility) {
    Frm_sample& form = Frm_sample::Instance();
    const int32_t tx = ui::Twips_Per_Pixel_X(), ty = ui::Twips_Per_Pixel_Y();
    form.Move(100 * tx, 50 * ty, 300 * tx, 200 * ty);
    form.Show();
    EXPECT_EQ(form.Left(), 100 * tx);
    EXPECT_EQ(form.Top(), 50 * ty);
    EXPECT_EQ(form.Scale_Width(), 300 * tx);
    EXPECT_EQ(form.Scale_Height(), 200 * ty);
    EXPECT_NE(std::find(events.begin(), events.end(), "resize"), events.end());

    form.Set_Caption("Heat 3");
    EXPECT_EQ(form.Caption(), "Heat 3");
    form.Set_Top_Most(true);
    EXPECT_TRUE(form.Top_Most());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.Left(), 100 * tx);
    EXPECT_EQ(form.Top(), 50 * ty);
}

TEST_F(Form_test, control_array_is_indexed_as_loaded_and_raises_340_for_a_gap) {
    Frm_sample& form = Frm_sample::Instance();
    ui::Control_array<QLabel> Lbl_lane;
    for (int i : {1, 2, 5}) Lbl_lane.Load(i, new QLabel(QString::number(i), &form));
    EXPECT_EQ(Lbl_lane.Count(), 3);
    EXPECT_EQ(Lbl_lane.LBound(), 1);
    EXPECT_EQ(Lbl_lane.UBound(), 5);
    EXPECT_EQ(Lbl_lane(5).text(), "5");
    try {
        Lbl_lane(3);
        FAIL() << "no error for a missing element";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), 340);
    }
    ui::Control_array<QLabel> empty;
    EXPECT_THROW(empty.UBound(), VbError);
}

TEST_F(Form_test, menu_items_hide_check_disable_and_click_only_when_usable) {
    Frm_sample& form = Frm_sample::Instance();
    auto* bar = new QMenuBar(&form);
    ui::Menu_item Extras(bar, "Extras");
    ui::Menu_item item_dump(Extras, "Dump header");
    ui::Menu_item separator(Extras, "-");
    int clicks = 0;
    item_dump.On_Click([&] { ++clicks; });

    item_dump.Click();
    EXPECT_EQ(clicks, 1);
    item_dump.Set_Enabled(false);
    item_dump.Click();
    item_dump.Set_Enabled(true);
    item_dump.Set_Visible(false);
    item_dump.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(item_dump.Visible());

    item_dump.Set_Checked(true);
    EXPECT_TRUE(item_dump.Checked());
    Extras.Set_Visible(false);
    EXPECT_FALSE(Extras.Menu()->menuAction()->isVisible());
    EXPECT_TRUE(separator.Action()->isSeparator());
    EXPECT_EQ(Extras.Menu()->actions().size(), 2);
}

TEST_F(Form_test, an_error_escaping_an_event_handler_is_reported_at_the_event_loop) {
    struct Report {
        std::string description, location, extra;
        int32_t number = 0;
    } report;
    vb::Set_Error_Reporter([&](const std::string& d, int32_t n, int32_t, const std::string& l, const std::string& x) {
        report = {d, l, x, n};
    });
    struct Thrower : QObject {
        bool event(QEvent*) override { vb::Raise(vb::Err_Division_By_Zero); }
    } thrower;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &event));
    EXPECT_EQ(report.number, vb::Err_Division_By_Zero);
    EXPECT_EQ(report.description, "Division by zero");
    EXPECT_EQ(report.location, "Event loop");

    // A menu command's error is caught before it reaches Qt, and reported the same way.
    Frm_sample& form = Frm_sample::Instance();
    ui::Menu_item Extras(new QMenuBar(&form), "Extras");
    ui::Menu_item item_dump(Extras, "Dump header");
    item_dump.On_Click([] { vb::Raise(vb::Err_Overflow); });
    item_dump.Click();
    vb::Set_Error_Reporter(nullptr);
    EXPECT_EQ(report.number, vb::Err_Overflow);
    EXPECT_EQ(report.location, "Event loop");
    EXPECT_EQ(report.extra, "Menu item Dump header");
}

TEST_F(Form_test, a_button_caption_wraps_at_spaces_only_when_it_does_not_fit) {
    Frm_sample& form = Frm_sample::Instance();
    form.Show();
    ui::Command_button button("Save in log file", &form);
    button.show();
    button.resize(400, 40);
    EXPECT_EQ(button.text(), "Save in log file");
    button.resize(button.fontMetrics().horizontalAdvance("Save in log") + 8, 40);
    EXPECT_EQ(button.text(), "Save in log\nfile");
    EXPECT_EQ(button.Caption(), "Save in log file");
}

}  // namespace

// A framed window is placed wholly on the available area: its title bar never above or left of it.
TEST(Screen_fit, a_frame_is_moved_and_cut_onto_the_available_area) {
    const QRect screen(0, 0, 1600, 1000);
    struct {
        QRect frame, fitted;
    } rows[] = {
        {{100, 100, 800, 600}, {100, 100, 800, 600}},     // already on it
        {{0, -24, 800, 600}, {0, 0, 800, 600}},           // a saved top of 0 taken for the client area
        {{-300, 700, 800, 600}, {0, 400, 800, 600}},      // off to the left and below
        {{1200, 100, 800, 600}, {800, 100, 800, 600}},    // off to the right
        {{0, 0, 1500, 1300}, {0, 0, 1500, 1000}},         // taller than the screen
        {{-50, -50, 2000, 1200}, {0, 0, 1600, 1000}},
    };
    for (const auto& r : rows) EXPECT_EQ(ui::Fit_On_Area(r.frame, screen), r.fitted) << r.frame.x() << "," << r.frame.y();
    const QRect second(1600, 40, 1280, 984);  // a second screen below a panel
    EXPECT_EQ(ui::Fit_On_Area({1700, 0, 400, 300}, second), QRect(1700, 40, 400, 300));
    EXPECT_EQ(ui::Fit_On_Area({10, 10, 400, 300}, QRect()), QRect(10, 10, 400, 300));  // no screen known
}

// A window put beside another (the live preview beside the console) covers none of it where the screen
// has room, and always stays wholly on the screen.
TEST(Screen_fit, a_frame_is_put_beside_another_and_clear_of_it) {
    const QRect screen(0, 0, 1600, 1000);
    struct {
        QRect frame, other, placed;
    } rows[] = {
        {{0, 0, 640, 1000}, {0, 540, 740, 460}, {740, 0, 640, 1000}},    // right of it
        {{0, 0, 640, 1000}, {900, 200, 700, 460}, {260, 0, 640, 1000}},  // no room right: left of it
        {{0, 0, 640, 1000}, {500, 200, 700, 460}, {960, 0, 640, 1000}},  // room on neither side: right edge
        {{0, 0, 640, 1200}, {0, 0, 740, 460}, {740, 0, 640, 1000}},      // taller than the screen: cut
    };
    for (const auto& r : rows) EXPECT_EQ(ui::Beside(r.frame, r.other, screen), r.placed) << r.other.x();
}

// A release that went to a dialog, or was lost while another program had the focus, leaves no key held.
TEST(Key_state, a_held_key_is_forgotten_when_the_application_is_activated_or_a_dialog_closes) {
    ui::Track_Keys();
    QWidget target;
    auto press_f = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F, Qt::NoModifier);
        QApplication::sendEvent(&target, &press);
        return ui::Key_Held(70);
    };
    ASSERT_TRUE(press_f());
    QEvent activate(QEvent::ApplicationActivate);
    QApplication::sendEvent(qApp, &activate);
    EXPECT_FALSE(ui::Key_Held(70));

    ASSERT_TRUE(press_f());
    QWindow plain;
    QHideEvent hide_plain;
    QApplication::sendEvent(&plain, &hide_plain);
    EXPECT_TRUE(ui::Key_Held(70));  // another window of the program hid: the key may still be down
    QWindow dialog;
    dialog.setModality(Qt::ApplicationModal);
    QHideEvent hide_dialog;
    QApplication::sendEvent(&dialog, &hide_dialog);
    EXPECT_FALSE(ui::Key_Held(70));
}
