// The heat result model without windows: the sort, the lookups, and results given through the real store
// and read back from the reopened file.
#include "Heat_fixture.h"
#include "Test_dialogs.h"
#include "Test_errors.h"
#include "platform/vb/Error_trap.h"
#include "review/Module_Vantorel_course.h"
#include "review/Module_Vantorel_results.h"
#include "shell/Module_Vantorel.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace Module_Vantorel;

struct Given {
    int32_t result;
    int32_t click;
    int32_t field = 0;
};

// Lanes not given have no result.
void Set_Lanes(const std::map<int16_t, Given>& lanes) {
    for (int16_t lane = 0; lane < Result_Lanes; ++lane) {
        auto it = lanes.find(lane);
        Lane_all_Heats_Array[static_cast<size_t>(lane)] =
            it == lanes.end() ? Lane_Heat_Result{lane, No_Result, 0, 0}
                              : Lane_Heat_Result{lane, it->second.result, it->second.click, it->second.field};
    }
    Copy_Active_Heat();
    Lane_Active_Heat_Array_Sort();
}

std::vector<int16_t> Lanes_By_Place() {
    std::vector<int16_t> lanes;
    for (int16_t place = 1; place <= Result_Lanes; ++place) lanes.push_back(Lane_Active_Heat_Array[place].Lane);
    return lanes;
}

// The lanes of the first places, then every other lane in ascending order.
std::vector<int16_t> Order(std::vector<int16_t> first) {
    for (int16_t lane = 0; lane < Result_Lanes; ++lane)
        if (std::find(first.begin(), first.end(), lane) == first.end()) first.push_back(lane);
    return first;
}

TEST(Heat_results, Initialising_marks_every_place_without_result_and_keeps_the_rest) {
    Set_Lanes({{3, {65000, 10, 3252}}, {1, {Disqualified, 20}}});
    const auto before = Lane_Active_Heat_Array.Items;
    Lane_all_Heats_Array_Initalize();
    for (int16_t place = 1; place <= Result_Lanes; ++place) {
        SCOPED_TRACE(place);
        const Lane_Heat_Result& r = Lane_Active_Heat_Array[place];
        const Lane_Heat_Result& was = before[static_cast<size_t>(place - 1)];
        EXPECT_EQ(r.Heat_result, No_Result);
        EXPECT_EQ(r.Lane, was.Lane);
        EXPECT_EQ(r.Click_time, was.Click_time);
        EXPECT_EQ(r.Goal_field, was.Goal_field);
    }
    EXPECT_EQ(Lane_all_Heats_Array[3].Heat_result, 65000);  // the records by lane stay
}

TEST(Heat_results, Sort_by_result_then_click_tick) {
    struct Case {
        const char* what;
        std::map<int16_t, Given> lanes;
        std::vector<int16_t> first;
    } cases[] = {
        {"shortest time first", {{3, {65000, 10}}, {1, {64000, 20}}, {2, {66000, 5}}}, {1, 3, 2}},
        {"equal times: the earlier click first", {{5, {61000, 300}}, {2, {61000, 200}}}, {2, 5}},
        {"equal time and click: lane order", {{7, {61000, 100}}, {4, {61000, 100}}}, {4, 7}},
        {"codes after times: DSQ, DNS, DNF, equal codes by click",
         {{0, {Did_Not_Finish, 1}}, {1, {Did_Not_Start, 5}}, {2, {Disqualified, 9}}, {3, {60000, 50}}, {4, {Did_Not_Start, 2}}},
         {3, 2, 4, 1, 0}},
        {"a time before the start first", {{6, {-40, 1}}, {1, {40, 0}}}, {6, 1}},
        {"a wrapped click tick compares signed", {{1, {61000, 7}}, {2, {61000, -5}}}, {2, 1}},
        {"a result of ten million or more is still not a code", {{8, {10000000, 1}}, {9, {Disqualified, 1}}, {3, {9999999, 1}}},
         {3, 8, 9}},
        {"no result at all: lane order", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Set_Lanes(c.lanes);
        EXPECT_EQ(Lanes_By_Place(), Order(c.first));
    }
}

TEST(Heat_results, Places_and_goal_fields) {
    Set_Lanes({{4, {65000, 10, 3252}}, {2, {64000, 20, 3201}}, {9, {66000, 30, 3300}}, {5, {Did_Not_Start, 40}}});
    Lane_Collection = Default_Lanes();
    Lane_Collection.resize(3);
    struct Case {
        const char* what;
        int16_t lane_to_place;
        int16_t place;
    } places[] = {{"winner", 2, 1}, {"third", 9, 3}, {"a code has no place", 5, 0}, {"no result", 0, 0},
                  {"past the lanes", 17, 0}, {"negative", -1, 0}};
    for (const auto& c : places) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Lane_To_Place(c.lane_to_place), c.place);
    }
    struct Field {
        double place;
        int32_t field;
    } fields[] = {{1, 3201}, {3, 3300}, {4, 0}, {0, 0}, {17, 0}, {-2, 0}, {2.5, 3252}, {1e12, 0}, {std::nan(""), 0}};
    for (const auto& f : fields) {
        SCOPED_TRACE(f.place);
        EXPECT_EQ(Go_to_Goal_field(f.place), f.field);
    }
    // Only as many places as the course has marks; codes and no result are found too.
    EXPECT_EQ(Find_Place(9), 3);
    EXPECT_EQ(Find_Place(5), 0);
    Lane_Collection.resize(5);
    EXPECT_EQ(Find_Place(5), 4);
    EXPECT_EQ(Find_Place(0), 5);
    EXPECT_EQ(Find_Place(2.5), 0);
}

class Heat_results_store : public testing::Test {
protected:
    void SetUp() override {
        Vantorel_Mode = true;
        folder = Test_folder() + "/heats";
        std::filesystem::create_directories(folder);
        vb::Set_Error_Reporter([this](const std::string& description, int32_t number, int32_t, const std::string& location,
                                      const std::string&) { reports.push_back(location + ": " + std::to_string(number) + " " + description); });
    }
    void TearDown() override {
        vb::Set_Error_Reporter(nullptr);
        Vantorel_Mode = false;
        Is_Compiled = false;
    }
    std::string Heat(const std::string& name, int16_t lanes = 3, int16_t start_lane = 1) {
        Heat_layout layout;
        layout.lanes = lanes;
        layout.start_lane = start_lane;
        layout.frames = Regular_Frames(4, layout.start_tick, layout.start_events);
        const std::string path = folder + "/" + name;
        Write_Heat(path, layout);
        return path;
    }
    void Open(cls_VideoFile_handler& store, const std::string& path) {
        store.File_name(path);
        store.Open_RGB_File();
        ASSERT_TRUE(store.File_open());
    }
    // The file's results as a fresh store reads them.
    std::vector<int16_t> Reopened_Places(const std::string& path) {
        cls_VideoFile_handler again;
        Open(again, path);
        Load_All_Heats_Array_from_File(again, 1);
        Copy_Active_Heat();
        Lane_Active_Heat_Array_Sort();
        return Lanes_By_Place();
    }
    std::string folder;
    std::vector<std::string> reports;
};

TEST_F(Heat_results_store, Results_given_are_kept_in_the_file_and_read_back_sorted) {
    const std::string path = Heat("results.kd3");
    cls_VideoFile_handler store;
    Open(store, path);
    Load_All_Heats_Array_from_File(store, 1);
    struct Step {
        const char* what;
        int16_t lane;
        int32_t argument;
        bool plus;
        std::optional<int32_t> shown;
        int32_t field, tick;
        int32_t answer;  // the override question's answer; 0 when it must not be asked
        Attach_Outcome outcome;
        int32_t stored_result, stored_field;  // what the header then holds for the lane
    } steps[] = {
        {"a time, no question", 2, 0, false, 65000, 3252, 100, 0, Attach_Outcome::Stored, 65000, 3252},
        {"a time plus one hundredth", 1, 0, true, 64000, 3201, 110, 0, Attach_Outcome::Stored, 64010, 3201},
        {"a code keeps no field", 3, Did_Not_Start, false, 66000, 3300, 120, 0, Attach_Outcome::Stored, Did_Not_Start, 0},
        {"the same time earlier", 4, 0, false, 65000, 3252, 90, 0, Attach_Outcome::Stored, 65000, 3252},
        {"override cancelled", 2, 0, false, 66000, 3300, 130, ui::vbCancel, Attach_Outcome::Kept, 65000, 3252},
        {"a code over a code", 3, Disqualified, false, 66000, 3300, 140, ui::vbOK, Attach_Outcome::Stored, Disqualified, 0},
        {"before the start", 6, 0, false, -40, 3, 5, 0, Attach_Outcome::Stored, -40, 3},
        {"did not finish", 7, Did_Not_Finish, false, 0, 9, 160, 0, Attach_Outcome::Stored, Did_Not_Finish, 0},
        {"cleared", 7, No_Result, false, 0, 9, 170, ui::vbOK, Attach_Outcome::Stored, No_Result, 0},
        {"a field without a time", 8, 0, false, std::nullopt, 12, 180, 0, Attach_Outcome::No_Time, No_Result, 0},
        {"a code needs no time", 9, Did_Not_Start, false, std::nullopt, 12, 190, 0, Attach_Outcome::Stored, Did_Not_Start, 0},
        {"a field past 32767", 10, 0, false, 1400000, 40000, 200, 0, Attach_Outcome::Stored, 1400000, 40000},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const size_t shown = Test_dialogs::Instance().Shown_Dialogs().size();
        if (s.answer) Test_dialogs::Instance().Answer(s.answer);
        EXPECT_EQ(Attach_Result(store, s.lane, s.argument, s.plus, s.shown, s.field, s.tick), s.outcome);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Dialogs().size(), shown + (s.answer ? 1 : 0));
        if (s.answer) {
            EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(),
                      "Override existing result?\r\nLane " + std::to_string(s.lane));
        }
        EXPECT_EQ(store.Heat_time(1, s.lane), s.stored_result);
        EXPECT_EQ(store.Heat_Goalfield(1, s.lane), s.stored_field);
    }
    // A time of 0 ms would read back as no result: it is refused and says so, and nothing changes.
    const std::string zero = "A time of 0 ms cannot be stored: the file reads it as no result. Give the lane the time of "
                             "another field, or this time + 1/100.";
    for (int16_t lane : {5, 2}) {
        SCOPED_TRACE(lane);
        const int32_t before = store.Heat_time(1, lane);
        Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_EQ(Attach_Result(store, lane, 0, false, 0, 3001, 150), Attach_Outcome::Zero_Time);
        EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), zero);
        EXPECT_EQ(store.Heat_time(1, lane), before);
        EXPECT_EQ(store.Heat_Clicktime(1, lane), lane == 5 ? 0 : 100);
    }
    EXPECT_EQ(Attach_Result(store, 5, 0, true, 0, 3001, 150), Attach_Outcome::Stored);
    EXPECT_EQ(store.Heat_time(1, 5), 10);
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Attach_Result(store, 5, No_Result, false, 0, 3001, 150), Attach_Outcome::Stored);
    store.Close_File();
    EXPECT_TRUE(reports.empty());

    // Lanes without result by click tick too: the cleared lanes last.
    EXPECT_EQ(Reopened_Places(path), Order({6, 1, 4, 2, 10, 3, 9, 0, 8, 11, 12, 13, 14, 15, 16, 5, 7}));
    EXPECT_EQ(Lane_To_Place(2), 4);
    EXPECT_EQ(Lane_To_Place(5), 0);  // 0 ms reads back as no result
    EXPECT_EQ(Go_to_Goal_field(5), 40000);
    cls_VideoFile_handler again;
    Open(again, path);
    struct Header_row {
        int16_t lane;
        int32_t result, click, field;
    } header[] = {{0, No_Result, 0, 0}, {1, 64010, 110, 3201}, {2, 65000, 100, 3252}, {3, Disqualified, 140, 0},
                  {5, No_Result, 150, 0}, {6, -40, 5, 3}, {7, No_Result, 170, 0}, {8, No_Result, 0, 0}};
    for (const Header_row& h : header) {
        SCOPED_TRACE(h.lane);
        EXPECT_EQ(again.Heat_time(1, h.lane), h.result);
        EXPECT_EQ(again.Heat_Clicktime(1, h.lane), h.click);
        EXPECT_EQ(again.Heat_Goalfield(1, h.lane), h.field);
    }
}

// A sixteen-lane course ends at lane 15 when numbered from 0 and at lane 16 when numbered from 1: either
// last lane takes every result, keeps it in the file and is sorted with the others.
TEST_F(Heat_results_store, The_last_lane_of_a_sixteen_lane_course_keeps_its_results) {
    struct Course {
        int16_t lanes, start_lane;
    } courses[] = {{16, 0}, {16, 1}};
    for (const Course& c : courses) {
        const auto last = static_cast<int16_t>(c.start_lane + c.lanes - 1);
        SCOPED_TRACE(last);
        const std::string path = Heat("last_lane_" + std::to_string(last) + ".kd3", c.lanes, c.start_lane);
        {
            cls_VideoFile_handler store;
            Open(store, path);
            ASSERT_EQ(Attach_Result(store, c.start_lane, 0, false, 64000, 3201, 10), Attach_Outcome::Stored);
            ASSERT_EQ(Attach_Result(store, static_cast<int16_t>(c.start_lane + 1), 0, false, 66000, 3300, 20),
                      Attach_Outcome::Stored);
        }
        struct Step {
            const char* what;
            int32_t argument;
            int32_t answer;  // the override question's answer; 0 when it must not be asked
            int32_t stored_result, stored_field;
            int16_t sorted_place, place;  // its position among all records; Lane_To_Place
        } steps[] = {
            {"a time", 0, 0, 65000, 3252, 2, 2},
            {"disqualified", Disqualified, ui::vbOK, Disqualified, 0, 3, 0},
            // Given later than every other lane's, its click tick puts it last.
            {"cleared", No_Result, ui::vbOK, No_Result, 0, Result_Lanes, 0},
        };
        int32_t tick = 100;
        for (const Step& s : steps) {
            SCOPED_TRACE(s.what);
            {
                cls_VideoFile_handler store;
                Open(store, path);
                if (s.answer) Test_dialogs::Instance().Answer(s.answer);
                EXPECT_EQ(Attach_Result(store, last, s.argument, false, 65000, 3252, ++tick), Attach_Outcome::Stored);
            }
            const std::vector<int16_t> places = Reopened_Places(path);
            const auto at = std::find(places.begin(), places.end(), last);
            ASSERT_NE(at, places.end());
            EXPECT_EQ(at - places.begin() + 1, s.sorted_place);
            EXPECT_EQ(Lane_To_Place(last), s.place);
            EXPECT_EQ(Go_to_Goal_field(s.sorted_place), s.stored_field);
            EXPECT_EQ(Lane_all_Heats_Array[static_cast<size_t>(last)].Heat_result, s.stored_result);
            cls_VideoFile_handler again;
            Open(again, path);
            EXPECT_EQ(again.Heat_time(1, last), s.stored_result);
            EXPECT_EQ(again.Heat_Clicktime(1, last), tick);
            EXPECT_EQ(again.Heat_Goalfield(1, last), s.stored_field);
        }
        // A lane the course does not have is not added to its header.
        cls_VideoFile_handler again;
        Open(again, path);
        EXPECT_EQ(again.XML_Header_string().find("lane_record id=\"16\"") != std::string::npos, last == 16);
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(Heat_results_store, A_header_the_file_refuses_is_taken_back_from_memory_too) {
    const std::string path = Heat("refused.kd3");
    cls_VideoFile_handler store;
    Open(store, path);
    ASSERT_EQ(Attach_Result(store, 1, 0, false, 61000, 100, 10), Attach_Outcome::Stored);
    for (bool compiled : {true, false}) {
        SCOPED_TRACE(compiled);
        Is_Compiled = compiled;
        reports.clear();
        store.Read_only(true);  // the file stops taking writes
        Lane_all_Heats_Array[2] = {2, 62000, 20, 200};
        Lane_all_Heats_Array[1] = {1, Did_Not_Finish, 20, 0};
        if (compiled) {
            EXPECT_FALSE(Update_File_from_Array(store));
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(reports[0].rfind("Write_XML_header of Class Module cls_VideoFile_handler: 70", 0), 0u) << reports[0];
        } else {
            EXPECT_EQ(Error_Of([&] { Update_File_from_Array(store); }), 70);
        }
        // Memory and document as before the change.
        EXPECT_EQ(Lane_all_Heats_Array[2].Heat_result, No_Result);
        EXPECT_EQ(Lane_all_Heats_Array[1].Heat_result, 61000);
        EXPECT_EQ(store.Heat_time(1, 2), No_Result);
        EXPECT_EQ(store.Heat_time(1, 1), 61000);
    }
    Is_Compiled = false;
    // The next change of another lane carries nothing of the refused one into the file.
    store.Read_only(false);
    EXPECT_EQ(Attach_Result(store, 3, 0, false, 63000, 300, 30), Attach_Outcome::Stored);
    store.Close_File();
    EXPECT_EQ(Reopened_Places(path), Order({1, 3}));
    cls_VideoFile_handler again;
    Open(again, path);
    EXPECT_EQ(again.Heat_time(1, 1), 61000);
    EXPECT_EQ(again.Heat_time(1, 2), No_Result);
}

TEST_F(Heat_results_store, Refusals_change_nothing) {
    const std::string path = Heat("refusals.kd3");
    {
        cls_VideoFile_handler store;
        Open(store, path);
        ASSERT_EQ(Attach_Result(store, 1, 0, false, 61000, 100, 10), Attach_Outcome::Stored);
    }
    const std::vector<uint8_t> before = File_Bytes(path);

    // Lanes outside the records.
    cls_VideoFile_handler store;
    Open(store, path);
    for (int16_t lane : {int16_t{17}, int16_t{-1}, int16_t{300}}) {
        SCOPED_TRACE(lane);
        EXPECT_EQ(Error_Of([&] { Attach_Result(store, lane, 0, false, 62000, 100, 20); }), 9);
    }
    store.Close_File();
    EXPECT_EQ(File_Bytes(path), before);

    // A read-only heat.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    Open(store, path);
    ASSERT_TRUE(store.Read_only());
    Test_dialogs::Instance().Answer(ui::vbOK);
    EXPECT_EQ(Attach_Result(store, 2, 0, false, 62000, 100, 20), Attach_Outcome::Read_Only);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts().back(), "File is read-only!");
    store.Close_File();
    EXPECT_EQ(File_Bytes(path), before);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);

    // A heat the capture console is recording: told plainly, and its segment's end keeps both.
    {
        // A heat opened during a segment counts more records than its header: the event log says so.
        const std::string data_folder = Module_Vantorel::AppData_Folder;
        Module_Vantorel::AppData_Folder = folder;
        cls_VideoFile_handler capture;
        Open(capture, path);
        capture.Position_at_End();
        const std::vector<uint8_t> jpeg = Band_JPEG(440, 1080, 5);
        capture.Append_Compressed_RGB_Frame(5, 5000160, 40, 85, static_cast<int32_t>(jpeg.size()), jpeg.data(), 1005);
        Open(store, path);
        Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_EQ(Attach_Result(store, 2, 0, false, 62000, 100, 20), Attach_Outcome::Read_Only);
        EXPECT_NE(Test_dialogs::Instance().Shown_Prompts().back().find("is being recorded"), std::string::npos);
        capture.Add_Segment_num();
        capture.Close_File();
        // The window's copy lacks the segment now: told again until the heat is opened anew.
        Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_EQ(Attach_Result(store, 2, 0, false, 62000, 100, 20), Attach_Outcome::Read_Only);
        EXPECT_NE(Test_dialogs::Instance().Shown_Prompts().back().find("Open it again"), std::string::npos);
        store.Close_File();
        EXPECT_TRUE(reports.empty());
        EXPECT_EQ(Reopened_Places(path)[0], 1);
        cls_VideoFile_handler reader;
        Open(reader, path);
        EXPECT_EQ(reader.Num_Frames(), 5);
        Module_Vantorel::AppData_Folder = data_folder;
    }

    // A header whose lane records are not numbers: nothing is read, nothing written, no other result lost.
    std::vector<uint8_t> bytes = File_Bytes(path);
    const std::string text(bytes.begin(), bytes.begin() + 32016);
    // Once results were written, a lane without one holds the no-result code: lane 0's, then lane 2's.
    const std::string record = "<heat_time_mill>999999999</heat_time_mill>";
    size_t at = text.find(record);
    at = text.find(record, at + 1);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 16] = 'x';
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Open(store, path);
    EXPECT_EQ(Error_Of([&] { Load_All_Heats_Array_from_File(store, 1); }), 13);
    EXPECT_EQ(Lane_To_Place(1), 0);
    EXPECT_EQ(Go_to_Goal_field(1), 0);
    EXPECT_EQ(Error_Of([&] { Attach_Result(store, 3, 0, false, 63000, 100, 30); }), 13);
    store.Close_File();
    EXPECT_EQ(File_Bytes(path), bytes);
}

TEST_F(Heat_results_store, Clear_all_writes_zeros_and_reads_back_no_result) {
    const std::string path = Heat("clear.kd3");
    cls_VideoFile_handler store;
    Open(store, path);
    for (int16_t lane : {0, 4, 15}) ASSERT_EQ(Attach_Result(store, lane, 0, false, 60000 + lane, 100, 10 + lane), Attach_Outcome::Stored);
    Lane_Collection = Default_Lanes();
    Lane_Collection[4].time(60004);
    EXPECT_TRUE(Clear_All_Results(store));
    EXPECT_EQ(Lane_Collection[4].time(), 0);
    store.Close_File();
    cls_VideoFile_handler again;
    Open(again, path);
    for (int16_t lane = 0; lane < Result_Lanes; ++lane) {
        EXPECT_EQ(again.Heat_time(1, lane), 0);
        EXPECT_EQ(again.Heat_Clicktime(1, lane), 0);
        EXPECT_EQ(again.Heat_Goalfield(1, lane), 0);
    }
    EXPECT_EQ(Reopened_Places(path), Order({}));
    for (int16_t place = 1; place <= Result_Lanes; ++place) EXPECT_EQ(Lane_Active_Heat_Array[place].Heat_result, No_Result);
}

}  // namespace
