#include "Store_test_support.h"

namespace {

class Open_by_kind : public Store_test {};

TEST_F(Open_by_kind, A_kd3_file_opens_and_files_that_are_no_capture_file_are_refused_with_their_message) {
    const std::string heat = Test_folder() + "/heat.kd3";
    cls_VideoFile_handler store;
    Make_Heat_File(store, heat, 64, 32, 20000);
    Append_Segment(store, heat, 1, 3, 64, 32);
    EXPECT_TRUE(store.Open_File(heat, 0));
    EXPECT_EQ(store.Num_Frames(), 3);
    EXPECT_EQ(store.mill_per_frame(), 40);
    store.Close_File();

    std::ofstream(Test_folder() + "/short.kd3") << "tiny";
    std::ofstream(Test_folder() + "/clip.avi") << std::string(200, 'x');
    std::ofstream(Test_folder() + "/old.kd2") << std::string(200, 'x');
    std::ofstream(Test_folder() + "/notes.txt") << std::string(200, 'x');
    struct Row { std::string name; bool compiled; std::string message; } rows[] = {
        {"missing.kd3", true, ""},
        {"short.kd3", true, "Corrupt file, (Invalid file length)"},
        {"clip.avi", true, ""},  // accepted, never opened
        {"old.kd2", true, "File: " + Test_folder() + "/old.kd2 Open error! "},
        {"notes.txt", true, "cls_AVI_handler can't open this file type! "},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Module_Vantorel::Is_Compiled = r.compiled;
        Test_dialogs::Instance().Reset();
        if (!r.message.empty()) Test_dialogs::Instance().Answer(ui::vbOK);
        EXPECT_FALSE(store.Open_File(Test_folder() + "/" + r.name, 0));
        EXPECT_FALSE(store.File_open());
        const auto& shown = Test_dialogs::Instance().Shown_Dialogs();
        if (!r.message.empty()) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].prompt.rfind(r.message, 0), 0u);
        } else {
            EXPECT_TRUE(shown.empty());
        }
    }
}

}  // namespace
