// The store's picture benchmark members on their test frame: the decode, field and turn they time
// produce the test picture, and pictures of other sizes are refused rather than overrun.
#include "Store_test_support.h"

namespace {

class Store_bench_members : public Store_test {};

TEST_F(Store_bench_members, The_timed_steps_decode_extract_and_turn_the_test_picture) {
    cls_VideoFile_handler store;
    store.Benchmark_Decomp_Once();
    EXPECT_EQ(store.Last_Draw_Result(), 1);
    cDIBSection& frame = store.Frame_Image();
    ASSERT_EQ(frame.Width(), 720);
    // Colour bars over the top half (white, then yellow), a grey ramp over the bottom half.
    EXPECT_TRUE(Near(Pixel_At(frame, 40, 100), {191, 191, 191}, 16));
    EXPECT_TRUE(Near(Pixel_At(frame, 130, 100), {0, 191, 191}, 24));
    EXPECT_LT(Pixel_At(frame, 20, 500).g, 40);
    EXPECT_GT(Pixel_At(frame, 700, 500).g, 220);
    store.Benchmark_Deint_Once();
    store.Benchmark_Rotate_Once();
    // Turned clockwise: the top of the picture (the bars) lies on the right, the ramp on the left.
    const cDIBSection& turned = store.Rotated_Image();
    ASSERT_EQ(turned.Width(), 576);
    EXPECT_TRUE(Near(Pixel_At(turned, 500, 40), {191, 191, 191}, 16));
    EXPECT_LT(Pixel_At(turned, 100, 20).g, 40);
    for (int32_t value : {store.Bench_rotate(), store.Bench_rotate_asm(), store.Bench_deint(), store.Bench_mirror(),
                          store.Bench_decomp(), store.Bench_draw_to_picture(), store.Bench_draw_to_DC()})
        EXPECT_EQ(value, 0);
    EXPECT_FALSE(store.Is_Deinterlaced());

    // A field image of another size is refused by both steps that trust the sizes.
    store.Field_Image().Create(64, 48);
    EXPECT_EQ(Error_Of([&] { store.Benchmark_Rotate_Once(); }), vb::Err_Invalid_Call);
    EXPECT_EQ(Error_Of([&] { store.Benchmark_Deint_Once(); }), vb::Err_Invalid_Call);
    store.Bench_Prepare();
    store.Benchmark_Rotate_Once();
}

TEST_F(Store_bench_members, File_reads_are_timed_on_an_open_file_only) {
    cls_VideoFile_handler store;
    EXPECT_EQ(Error_Of([&] { store.benchmark_getfile(); }), 52);
    Make_Heat_File(store, Path("heat.kd3"), 64, 48, 20000);
    ASSERT_TRUE(store.Open_File(Path("heat.kd3"), 0));
    Test_dialogs::Instance().Answer(ui::vbOK);
    store.benchmark_getfile();
    ASSERT_EQ(Test_dialogs::Instance().Shown_Prompts().size(), 1u);
    EXPECT_EQ(Test_dialogs::Instance().Shown_Prompts()[0].rfind("Get time = ", 0), 0u);
}

}  // namespace
