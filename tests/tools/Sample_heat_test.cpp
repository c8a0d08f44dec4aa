#include "tests/store/Store_test_support.h"
#include "tools/Sample_heat.h"

namespace {

using Sample_heat_test = Store_test;

// The heat opens as a recorded one does: its course, its start and every frame, with each lane's bow at
// the goal line at its crossing frame.
TEST_F(Sample_heat_test, The_sample_heat_opens_with_its_course_and_every_frame) {
    const std::string path = Path("sample.kd3");
    const Sample_heat::Layout layout;
    Sample_heat::Write(path, layout);
    Sample_heat::Write(path, layout);  // a second run replaces the file

    cls_VideoFile_handler reader;
    reader.File_name(path);
    reader.Open_RGB_File();
    ASSERT_TRUE(reader.File_open());
    EXPECT_TRUE(reader.is_Vantorel());
    EXPECT_EQ(reader.Num_Frames(), layout.frames);
    EXPECT_EQ(reader.Missing_Frames(), 0);
    EXPECT_EQ(reader.Width(), layout.width);
    EXPECT_EQ(reader.Height(), layout.height);
    EXPECT_EQ(reader.Heat_ID(1), "K1 Men 500 m Final A");
    EXPECT_EQ(reader.Lane_count(), 3);
    // Locked as a recorded heat's, or a press on a lane mark gives no result.
    EXPECT_TRUE(reader.Lanes_locked());
    EXPECT_TRUE(reader.Show_goalline());
    EXPECT_TRUE(reports.empty());

    const int32_t goal = Sample_heat::Goal_X(layout);
    for (int32_t lane = 1; lane <= 3; ++lane) {
        reader.Read_RGB_sample(Sample_heat::Crossing_Frame[lane - 1], true);
        ASSERT_TRUE(reader.Frame_available());
        const int32_t y = layout.height * (2 * lane - 1) / 6;
        const Bgr hull{30, 30, 200}, water{150, 110, 40};
        EXPECT_TRUE(Near(Pixel_At(reader.Frame_Image(), goal - 8, y), hull)) << lane;
        EXPECT_TRUE(Near(Pixel_At(reader.Frame_Image(), goal + 8, y), water)) << lane;
    }
    reader.Close_File();
}

TEST_F(Sample_heat_test, A_folder_that_does_not_exist_is_an_error) {
    vb::Set_Error_Reporter(nullptr);
    Test_dialogs::Instance().Answer(ui::vbOK);  // the store's own "File error!" box
    EXPECT_THROW(Sample_heat::Write(Path("none/sample.kd3")), VbError);
}

}  // namespace
