// Heats recorded as started when the program last ended are offered at the console's start: OK takes
// them back from their own capture files, Cancel removes the records. A heat whose program was killed in
// the middle of a capture segment comes back with every frame that reached the disk and goes on, its
// counts and ticks going on from its last frame by the time of day.
#include "Heat_console_fixture.h"
#include "capture/Form_select_Video.h"
#include "platform/sys/Sys_clock.h"

#include <QGroupBox>
#include <QTreeWidget>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using State = Form_capture_multi_file::Slot_state;
constexpr const char* Question = "Vantorel has detected one ore more started heats present at shutdown,\r\n"
                                 "possibly following an abnormal shutdown of the program.\r\n"
                                 " If you want to reload these heats, press OK, otherwise Cancel!";

// A capture file whose header holds a start, as Start leaves it.
std::string Started_File(const std::string& folder, const std::string& heat_id, int32_t start_local, int32_t buffer) {
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/CupHeat" + Form_capture_multi_file::File_Name_Safe(heat_id) + " 2026_01_02 10_00_00.kd3";
    cls_VideoFile_handler store;
    store.File_name(path);
    store.Create_File();
    store.Cropped_X(120);
    store.Cropped_Y(200);
    store.Create_KD3_header();
    store.Heat_ID(1, heat_id);
    store.Clear_Heats();
    store.Write_KD3_header();
    store.Close_File();
    store.File_name(path);
    store.Open_RGB_File();
    store.Heat_ID(1, heat_id);
    store.Start_local_mill(1, start_local);
    store.Set_JPG_Maxsize(buffer);
    store.Write_KD3_header();
    store.Close_File();
    return path;
}

void Activate(ui::Form& form) {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
}

void Record(size_t slot, const std::string& value) {
    Non_dependant::Write_Ini("active_heats", "Heat" + std::to_string(slot), value, Ini_file_path);
}

std::string Bytes(const std::string& path, int64_t from, int64_t count) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(from);
    std::string bytes(static_cast<size_t>(count), '\0');
    in.read(bytes.data(), count);
    return bytes;
}

// The synthetic camera, cropped as these heats are.
void Ready(cls_Capture_HDMI& camera) {
    ASSERT_TRUE(camera.Set_Source_from_Saved());
    camera.set_HDMI_Crop(120, 200);
    camera.Do_CROP(true);
}

// A run of the camera until its first JPEG, stopped then: every frame handed to it afterwards carries that
// JPEG, with the times a test gives. Its count starts again at each run.
void Run_To_First_Jpeg(cls_Capture_HDMI& camera) {
    camera.Capture_Run();
    ASSERT_TRUE(Wait_For([&] { return camera.Last_JPG_Compressed_Size() > 0; }));
    camera.Stop_Capture();
}

// A frame the camera stamped at `tick` and `local`, handed to the recorder.
void Feed(cls_Capture_HDMI& camera, Heat_recorder& recorder, int32_t tick, int32_t local) {
    camera.OnRGBEvent(nullptr, 0, nullptr, 0, 0, {tick, local});
    recorder.Frame(camera);
}

}  // namespace

TEST_F(Heat_console, A_started_record_is_read_whatever_its_folder_and_heat_id_hold) {
    const std::string odd = folder_ + "/a,started,b started";
    const std::string path = Started_File(odd, "7", 1000, 5000);
    const std::string missing = folder_ + "/CupHeat9 2026_01_02 10_00_00.kd3";
    struct Row {
        std::string value;
        bool started;
        std::string path;
        bool found;
    } rows[] = {
        {path + ",started,1000,7,5000", true, path, true},
        {path + ",started,1000,7,b,5000", true, path, true},  // a heat ID with ","
        {path + " finished", false, "", false},                // "started" in the folder: still finished
        {missing + ",started,1000,9,5000", true, missing, false},
        {"N/A", false, "", false},
        {"", false, "", false},
        {"started", true, "", false},
        {odd + ",started,1,2,3", true, "", false},  // no capture file named before the marker
    };
    for (const Row& row : rows) {
        const Form_capture_multi_file::Started_record r = Form_capture_multi_file::Read_Started_Record(row.value);
        EXPECT_EQ(r.started, row.started) << row.value;
        EXPECT_EQ(r.path, row.path) << row.value;
        EXPECT_EQ(r.file_found, row.found) << row.value;
    }
}

// OK restores from each file's header; a missing file is skipped with a message and the others go on.
TEST_F(Heat_console, Started_heats_are_offered_and_restored_from_their_files) {
    const int32_t start = ((14 * 60 + 7) * 60 + 30) * 1000 + 250;
    const std::string a = Started_File(folder_ + "/x,started,y", "7,b", start, 6000);
    const std::string c = Started_File(folder_, "12", start + 1000, 6100);
    Record(0, a + ",started," + std::to_string(start) + ",7,b,99999");  // the ini's buffer size is not the file's
    Record(1, folder_ + "/CupHeat8 2026_01_02 10_00_00.kd3,started,1,8,6000");
    Record(2, c + ",started," + std::to_string(start + 1000) + ",12,6100");
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);
    Form_capture_multi_file& console = Running_Console();
    const std::vector<std::string> prompts = Test_dialogs::Instance().Shown_Prompts();
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0], Question);
    EXPECT_EQ(prompts[1].rfind("The started heat of Heat B cannot be restored: its capture file is missing.", 0), 0u);
    EXPECT_EQ(console.State(0), State::Restored);
    EXPECT_EQ(console.State(1), State::Empty);
    EXPECT_EQ(console.State(2), State::Restored);
    EXPECT_EQ(console.File_path(0), a);
    EXPECT_EQ(console.Text_Heat_ID[0]->text(), "7,b") << Read(a).heat_id;
    EXPECT_EQ(console.Label_filename[0]->text().toStdString(), a);
    EXPECT_EQ(console.Label_start_time[0]->text(), " 14:07:30,25");
    EXPECT_EQ(console.Capture_Heat(), 2);
    EXPECT_EQ(console.Start_Heat(), 2);
    // The file keeps its own record buffer; the records stay "started" until Finish.
    Read_back r = Read(a);
    EXPECT_EQ(r.buffer, 6000);
    EXPECT_NE(Non_dependant::Read_Ini("active_heats", "Heat0", Ini_file_path, ""), a + " finished");
    // A restored heat takes capture segments into its file, refuses a start and is finished as usual.
    console.Set_Active_heat(0);
    Segment(console, 4);
    Test_dialogs::Instance().Answer(ui::vbOK);
    console.Handle_Start_Event(0);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "Heat already started! (m2)");
    console.Command_Finish_Click(0);
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat0", Ini_file_path, ""), a + " finished");
    r = Read(a);
    EXPECT_GE(r.frames, 4);
    EXPECT_EQ(r.buffer, 6000);
    EXPECT_EQ(r.start_local, start);
    EXPECT_EQ(r.file_size, uint64_t(kd3::Header_Length) + uint64_t(r.frames) * uint64_t(kd3::Record_Length(6000)));
}

TEST_F(Heat_console, Cancel_removes_every_record_and_without_started_records_nothing_is_asked) {
    const std::string a = Started_File(folder_, "3", 5000, 6000);
    Record(0, folder_ + "/old started.kd3 finished");
    Record(1, a + ",started,5000,3,6000");
    Record(2, a + " finished");
    Test_dialogs::Instance().Answer(ui::vbCancel);
    Form_capture_multi_file& console = Running_Console();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(), std::vector<std::string>{Question});
    for (int16_t slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(console.State(slot), State::Empty);
        EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat" + std::to_string(slot), Ini_file_path, "gone"), "gone");
    }
    ui::Destroy_All_Forms();
    Record(0, a + " finished");
    Running_Console();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
}

// A camera started from the source dialog (the saved source was missing) ends the offer as an activation's
// start does: the heat then started is this session's, and a later activation asks nothing about it.
TEST_F(Heat_console, Once_the_source_dialog_has_started_the_camera_a_later_activation_asks_nothing) {
    Non_dependant::Write_Ini("capturesettings", "friendlyname", "Unplugged camera", Ini_file_path);
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Show();
    Test_dialogs::Instance().Answer(ui::vbOK);  // the saved source is not found
    Activate(console);
    Form_select_Video& dialog = Form_select_Video::Instance();
    ASSERT_TRUE(dialog.isVisible());
    QTreeWidgetItem* row = nullptr;
    for (int i = 0; i < dialog.ListView_prop->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = dialog.ListView_prop->topLevelItem(i);
        const bool synthetic = item->text(1).toStdString() == capturelib::Synthetic_Friendly_Name;
        if (synthetic && item->text(2).toInt() == 6) row = item;
    }
    ASSERT_NE(row, nullptr);
    dialog.ListView_prop_ItemClick(row);
    dialog.Command_select_done_Click();
    ASSERT_TRUE(console.Has_Capture_Device() && console.obj_Capture_HDMI()->Is_Running());
    cls_Capture_HDMI& device = *console.obj_Capture_HDMI();
    ASSERT_TRUE(Wait_For([&] { return device.Max_Seen_Compressed_Size() > 0 && device.Frames_Arriving(); }));
    New_Started_Heat(console, 0, "5");
    const std::string record = Non_dependant::Read_Ini("active_heats", "Heat0", Ini_file_path, "gone");
    ASSERT_NE(record.find(",started,"), std::string::npos);
    const size_t shown = Test_dialogs::Instance().Shown_Prompts().size();
    Activate(console);  // back from another window
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), shown);
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat0", Ini_file_path, "gone"), record);
    EXPECT_EQ(console.State(0), State::Started);
}

// While the camera has not started the offer comes again; Cancel then removes the records it offers, never
// the record of a heat a slot holds (here one restored at the first activation).
TEST_F(Heat_console, Cancel_keeps_the_record_of_a_heat_the_console_holds) {
    m_saved_Video_prop_num = "-1";  // no camera start at activation
    const std::string a = Started_File(folder_, "4", 5000, 6000);
    const std::string restored = a + ",started,5000,4,6000";
    Record(0, restored);
    Record(1, folder_ + "/CupHeat8 2026_01_02 10_00_00.kd3,started,1,8,6000");  // its file is gone
    Form_capture_multi_file& console = Form_capture_multi_file::Instance();
    console.Show();
    Test_dialogs::Instance().Answer(ui::vbOK);
    Test_dialogs::Instance().Answer(ui::vbOK);  // heat B's file is missing
    Activate(console);
    ASSERT_EQ(console.State(0), State::Restored);
    Test_dialogs::Instance().Answer(ui::vbCancel);
    Activate(console);
    const std::vector<std::string> prompts = Test_dialogs::Instance().Shown_Prompts();
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_EQ(prompts[2], Question);
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat0", Ini_file_path, "gone"), restored);
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat1", Ini_file_path, "gone"), "gone");
    EXPECT_EQ(console.State(0), State::Restored);
    Activate(console);  // nothing left to offer
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 3u);
}

// The recording side of the crash test: the console records heat B until the test kills it.
TEST_F(Heat_console, DISABLED_Records_until_killed) {
    const char* folder = std::getenv("VANTOREL_CRASH_FOLDER");
    ASSERT_NE(folder, nullptr);
    Use_Folder(folder);
    Form_capture_multi_file& console = Running_Console();
    New_Started_Heat(console, 1, "7");
    console.Set_Active_heat(1);
    console.Handle_Capture_Start(1);
    ASSERT_TRUE(console.Recorder().Segment_Open());
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int32_t told = 0;
    while (std::chrono::steady_clock::now() < end) {
        Wait_For([&] { return console.Recorder().Frames_Written() > told; });
        told = console.Recorder().Frames_Written();
        std::printf("\nframes %d\n", told);
        std::fflush(stdout);
    }
}

TEST_F(Heat_console, A_heat_killed_mid_capture_comes_back_with_every_frame_on_disk_and_goes_on) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=Heat_console.DISABLED_Records_until_killed";
    std::string disabled = "--gtest_also_run_disabled_tests";
    std::vector<char*> argv{const_cast<char*>(self.c_str()), filter.data(), disabled.data(), nullptr};
    std::string folder_variable = "VANTOREL_CRASH_FOLDER=" + Test_folder();
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e) envp.push_back(*e);
    envp.push_back(folder_variable.data());
    envp.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    // Killed once ten frames are on the way to the disk, wherever the recorder is then.
    std::string heard;
    int32_t frames_told = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (frames_told < 10 && std::chrono::steady_clock::now() < end) {
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) break;
        heard.append(buffer, static_cast<size_t>(n));
        for (size_t at = heard.find("\nframes "); at != std::string::npos; at = heard.find("\nframes ", at + 1))
            frames_told = std::max(frames_told, std::atoi(heard.c_str() + at + 8));
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(out[0]);
    ASSERT_GE(frames_told, 10) << heard;
    ASSERT_TRUE(WIFSIGNALED(status));

    std::string path;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) path = entry.path().string();
    ASSERT_NE(Non_dependant::Read_Ini("active_heats", "Heat1", Ini_file_path, "").find(path + ",started,"), std::string::npos);
    int32_t buffer = 0;
    {
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        buffer = store.RGB_Compressed_buffer_Size();
        store.Close_File();
    }
    ASSERT_GT(buffer, 0);
    const int64_t record = kd3::Record_Length(buffer);
    const int64_t on_disk = (static_cast<int64_t>(std::filesystem::file_size(path)) - kd3::First_Record) / record;
    ASSERT_GE(on_disk, 1);
    const std::string frames_before = Bytes(path, kd3::First_Record, on_disk * record);
    // Whatever the kill left, the file also ends in half a record, as a kill during a write leaves it.
    std::filesystem::resize_file(path, static_cast<uintmax_t>(kd3::First_Record + on_disk * record));
    std::ofstream(path, std::ios::binary | std::ios::app) << "RGBS" << std::string(static_cast<size_t>(record / 2), 'x');

    Test_dialogs::Instance().Answer(ui::vbOK);
    Form_capture_multi_file& console = Running_Console();
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts(), std::vector<std::string>{Question});
    ASSERT_EQ(console.State(1), State::Restored);
    EXPECT_EQ(console.File_path(1), path);
    EXPECT_EQ(console.Text_Heat_ID[1]->text(), "7");
    EXPECT_EQ(console.Capture_Heat(), 1);
    Segment(console, 5);
    const int32_t appended = console.Recorder().Frames_Written();
    console.Command_Finish_Click(1);
    EXPECT_EQ(Non_dependant::Read_Ini("active_heats", "Heat1", Ini_file_path, ""), path + " finished");

    cls_VideoFile_handler store;
    store.File_name(path);
    store.Open_RGB_File();
    ASSERT_TRUE(store.File_open());
    EXPECT_EQ(store.Num_Frames(), on_disk + appended);
    EXPECT_EQ(store.RGB_Compressed_buffer_Size(), buffer);
    // The frames taken back record the quality they were made at, and their counts go on by the frame
    // periods since the last frame before the kill: frame-count times stay true.
    int32_t last_events = 0, last_local = 0;
    for (int32_t f = 1; f <= store.Num_Frames(); ++f) {
        store.Read_RGB_sample(f, false);
        EXPECT_GT(store.KD3_JPEG_Size(), 0) << f;
        EXPECT_LE(store.KD3_JPEG_Size(), buffer) << f;
        EXPECT_GT(store.KD3_Compression_Quality(), 0) << f;
        if (f == on_disk + 1) {
            const int32_t period = store.mill_per_frame();
            const int32_t by_count = (store.Capture_HDMI_events() - last_events) * period;
            const int32_t by_clock = store.KD3_Capture_local() - last_local;
            EXPECT_NEAR(by_count, by_clock, 3 * period) << "frame " << f;
        }
        last_events = store.Capture_HDMI_events();
        last_local = store.KD3_Capture_local();
    }
    EXPECT_GT(store.Start_local_Mill_Time(1), 0);
    store.Close_File();
    // Appending went on after the last whole record: the half record is gone, the frames before are intact.
    EXPECT_EQ(std::filesystem::file_size(path), uint64_t(kd3::First_Record + (on_disk + appended) * record));
    EXPECT_EQ(Bytes(path, kd3::First_Record, on_disk * record), frames_before);
}

// A heat taken back in a new run of the camera goes on from its last frame, or its start, by the time
// of day: its counts as they did, and its ticks too when the machine was restarted meanwhile (the new
// tick counts from a new origin while the heat's start tick is of the old clock), so both field timings
// stay true. Ticks of a clock that was not restarted are stored as they came, and so are all ticks of an
// uninterrupted recording.
TEST_F(Heat_console, A_heat_continued_in_a_new_camera_run_keeps_its_times_from_its_start) {
    constexpr int32_t Hour = 3600000, Day = 24 * Hour;
    struct Row {
        const char* what;
        int32_t start_tick, start_local;
        int32_t recorded;  // frames of the first run
        int32_t gap;       // ms of the time of day from the base (the last of them, or the start) to the next frame
        std::optional<int32_t> restarted_tick;  // the first new frame's tick after a restart of the machine
        int32_t drift = 0;  // without a restart: the new ticks' lead over the time of day
    } rows[] = {
        {"only the camera ran again", 5000000, 10 * Hour, 5, 12000, std::nullopt},
        {"the same clock a little ahead of the time of day", 5000000, 10 * Hour, 5, 12000, std::nullopt, 1500},
        {"the same clock a little behind the time of day", 5000000, 10 * Hour, 5, 12000, std::nullopt, -1500},
        {"the same clock passes 2^31 after the start", INT32_MAX - 5000, 10 * Hour, 5, 12000, std::nullopt},
        {"restarted: the new ticks begin small", 5000000, 10 * Hour, 5, 120000, 4000},
        {"restarted after a longer uptime", 5000000, 10 * Hour, 5, 120000, 1500000000},
        {"restarted: the heat's ticks go on past 2^31", INT32_MAX - 5000, 10 * Hour, 5, 120000, 4000},
        {"restarted past midnight", 900000, Day - 2000, 5, 60000, 9000},
        {"restarted before any frame was recorded: from the start", 5000000, 10 * Hour, 0, 30000, 4000},
        {"the same clock, nothing recorded yet", 5000000, 10 * Hour, 0, 30000, std::nullopt},
    };
    cls_Capture_HDMI camera;
    ASSERT_NO_FATAL_FAILURE(Ready(camera));
    ASSERT_NO_FATAL_FAILURE(Run_To_First_Jpeg(camera));
    const auto frame = [&](Heat_recorder& recorder, int32_t tick, int32_t local) { Feed(camera, recorder, tick, local); };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string path = Started_File(folder_ + "/" + std::to_string(++n), "3", r.start_local, 60000);
        const int32_t start_events = camera.HDMI_events();
        int32_t period = 0;
        {
            cls_VideoFile_handler store;
            store.File_name(path);
            store.Open_RGB_File();
            store.Start_PC_mill(1, r.start_tick);
            store.Start_HDMI_events(1, start_events);
            store.Write_KD3_header();
            period = store.mill_per_frame();
            store.Close_File();
        }
        ASSERT_GT(period, 0);
        std::vector<std::pair<int32_t, int32_t>> given;  // each frame's tick and local, as the camera stamped it
        {
            // The run the heat was started in: a frame every frame period from the start on.
            Heat_recorder first;
            {
                auto lock = first.Lock();
                ASSERT_TRUE(first.Open_Segment(0, path));
                first.Started(0);
            }
            for (int32_t k = 1; k <= r.recorded; ++k) {
                given.emplace_back(sys::Tick_Add(r.start_tick, period * k), (r.start_local + period * k) % Day);
                frame(first, given.back().first, given.back().second);
            }
            auto lock = first.Lock();
            first.End_Segment();
            first.Store(0).Close_File();
        }
        {
            // The next run, in a program started again.
            Heat_recorder next;
            {
                auto lock = next.Lock();
                ASSERT_TRUE(next.Open_Segment(0, path));
            }
            const int32_t base_tick = sys::Tick_Add(r.start_tick, period * r.recorded);
            const int32_t base_local = r.start_local + period * r.recorded;
            const int32_t first_tick =
                r.restarted_tick ? *r.restarted_tick : sys::Tick_Add(base_tick, r.gap + r.drift);
            for (int32_t k = 0; k < 6; ++k) {
                const int32_t local = (base_local + r.gap + period * k) % Day;
                given.emplace_back(sys::Tick_Add(first_tick, period * k), local);
                frame(next, given.back().first, given.back().second);
            }
            auto lock = next.Lock();
            ASSERT_EQ(next.End_Segment().frames_written, 6);
            next.Store(0).Close_File();
        }
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        ASSERT_EQ(store.Num_Frames(), r.recorded + 6);
        for (int32_t f = 1; f <= store.Num_Frames(); ++f) {
            SCOPED_TRACE("frame " + std::to_string(f));
            store.Read_RGB_sample(f, false);
            const auto [tick, local] = given[static_cast<size_t>(f - 1)];
            const int32_t since_start = (local - r.start_local + Day) % Day;
            EXPECT_EQ(store.KD3_Capture_local(), local);
            EXPECT_EQ(store.Capture_HDMI_events() - start_events, since_start / period);
            if (f <= r.recorded || !r.restarted_tick) {
                EXPECT_EQ(store.KD3_Capture_mill(), tick);
            } else {
                EXPECT_EQ(sys::Tick_Diff(store.KD3_Capture_mill(), store.RGB_startmill()), since_start);
            }
        }
        store.Close_File();
    }
}

// The machine's clock cannot restart while the program runs: a heat's ticks keep the clock they had at
// its first frame of the run, started or taken back, even when the camera runs again after the time of
// day was set (the operator's clock, a time server), so its times from the start move by no step.
TEST_F(Heat_console, A_heat_keeps_its_clock_through_a_camera_restart_after_the_time_of_day_was_set) {
    constexpr int32_t Hour = 3600000, Set_by = 5000, Gap = 10000;
    const struct Row {
        const char* what;
        bool machine_restarted;  // the heat was taken back on a restarted machine, its ticks shifted
    } rows[] = {{"a heat started in this run", false}, {"a heat taken back after a machine restart", true}};
    cls_Capture_HDMI camera;
    ASSERT_NO_FATAL_FAILURE(Ready(camera));
    const auto frame = [&](Heat_recorder& recorder, int32_t tick, int32_t local) { Feed(camera, recorder, tick, local); };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ASSERT_NO_FATAL_FAILURE(Run_To_First_Jpeg(camera));
        const int32_t start_tick = 5000000, start_local = 10 * Hour;
        const std::string path = Started_File(folder_ + "/clock" + std::to_string(++n), "3", start_local, 60000);
        int32_t period = 0;
        {
            cls_VideoFile_handler store;
            store.File_name(path);
            store.Open_RGB_File();
            store.Start_PC_mill(1, start_tick);
            store.Start_HDMI_events(1, camera.HDMI_events());
            store.Write_KD3_header();
            period = store.mill_per_frame();
            store.Close_File();
        }
        ASSERT_GT(period, 0);
        int32_t tick = start_tick, local = start_local;
        Heat_recorder started_here;
        {
            auto lock = started_here.Lock();
            ASSERT_TRUE(started_here.Open_Segment(0, path));
            started_here.Started(0);
        }
        for (int k = 0; k < 5; ++k) frame(started_here, tick += period, local += period);
        std::optional<Heat_recorder> taken_back;
        Heat_recorder* recorder = &started_here;
        int32_t recorded = 5;
        if (r.machine_restarted) {
            {
                auto lock = started_here.Lock();
                started_here.End_Segment();
                started_here.Store(0).Close_File();
            }
            taken_back.emplace();
            recorder = &*taken_back;
            {
                auto lock = recorder->Lock();
                ASSERT_TRUE(recorder->Open_Segment(0, path));
            }
            tick = 4000;  // the new machine's uptime
            local += 120000;
            frame(*recorder, tick, local);
            ++recorded;
        }
        for (int k = 0; k < 20; ++k, ++recorded) frame(*recorder, tick += period, local += period);
        const int32_t events_before = camera.HDMI_events();
        ASSERT_NO_FATAL_FAILURE(Run_To_First_Jpeg(camera));
        ASSERT_LT(camera.HDMI_events(), events_before);
        // The camera runs again after the time of day was set ahead.
        tick += Gap;
        local += Gap + Set_by;
        for (int k = 0; k < 5; ++k, ++recorded) frame(*recorder, tick += period, local += period);
        {
            auto lock = recorder->Lock();
            recorder->End_Segment();
            recorder->Store(0).Close_File();
        }
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Open_RGB_File();
        ASSERT_EQ(store.Num_Frames(), recorded);
        // Every frame after the first of this run lies one frame period, or the camera's gap, after the one
        // before it by its tick.
        const int32_t first_of_run = r.machine_restarted ? 6 : 1;
        store.Read_RGB_sample(first_of_run, false);
        int32_t previous = store.KD3_Capture_mill();
        for (int32_t f = first_of_run + 1; f <= store.Num_Frames(); ++f) {
            SCOPED_TRACE("frame " + std::to_string(f));
            store.Read_RGB_sample(f, false);
            EXPECT_EQ(sys::Tick_Diff(store.KD3_Capture_mill(), previous), f == recorded - 4 ? Gap + period : period);
            previous = store.KD3_Capture_mill();
        }
        store.Close_File();
    }
}
