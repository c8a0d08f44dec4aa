// Frames, fields and overlays drawn by the store from DV files written here with libavcodec's DV
// encoder: pictures with distinct quadrants and fields, so every check is on pixels of the box.
#include "Dv_test_files.h"
#include "Older_test_files.h"

namespace {

using dv_test::Encode_Pictures;
using dv_test::Grey_Of;

// Fields: the upper field (rows 0, 2, ...) and the lower field (rows 1, 3, ...) of frame k, each a
// different grey in the top half and in the bottom half of the picture.
int Field_Luma(int32_t k, int32_t y, bool lower) { return 40 + 30 * k + (lower ? 60 : 0) + (y >= 288 ? 100 : 0); }

// Quadrants: top-left, top-right, bottom-left, bottom-right of frame k, the same in both fields.
int Quadrant_Luma(int32_t k, int32_t x, int32_t y) { return 40 + 20 * k + (x >= 360 ? 40 : 0) + (y >= 288 ? 100 : 0); }

class Older_drawing : public Older_kind_test {
protected:
    std::string Raw_DV(const std::string& name, const older_test::Frames& frames) {
        std::vector<uint8_t> bytes;
        for (const auto& f : frames) bytes.insert(bytes.end(), f.begin(), f.end());
        older_test::Write_Bytes(Path(name), bytes);
        return Path(name);
    }
    std::string Kd2(const std::string& name, const older_test::Frames& frames) {
        std::vector<older_test::Frames> per_frame;
        for (const auto& f : frames) per_frame.push_back({f});
        older_test::Make_KDR_File(Path(name), per_frame);
        return Path(name);
    }
};

// Grey of the box at (x, y) from its top.
int Shown(const Test_surface& box, int32_t x, int32_t y) { return Pixel_At(box.dib, x, y).g; }

TEST_F(Older_drawing, Fields_of_DV_frames_draw_the_right_way_up_in_their_order) {
    const older_test::Frames clip =
        Encode_Pictures(2, [](int32_t k, int32_t, int32_t y) { return Field_Luma(k, y, y % 2 == 1); });
    const std::string files[] = {Raw_DV("fields.dv", clip), Kd2("fields.kd2", clip)};
    // DV shows its lower field first: field 2k - 1 is frame k's lower field, field 2k its upper one.
    struct Row {
        int32_t field;
        int32_t frame;
        bool lower;
    } rows[] = {{1, 0, true}, {2, 0, false}, {3, 1, true}, {4, 1, false}, {4, 1, false}, {1, 0, true}};
    for (const std::string& file : files) {
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(file, 0));
        for (bool line_copies : {false, true}) {
            for (const Row& r : rows) {
                SCOPED_TRACE(file + (line_copies ? " by line copies, field " : " field ") + std::to_string(r.field));
                Test_surface box(720, 576);
                if (line_copies) store.Draw_Field(r.field, box, 0, 1);
                else store.Draw_field_3(r.field, box, 0, 1, 0);
                // Well inside each half, away from the rows a line copy leaves as they were.
                EXPECT_NEAR(Shown(box, 100, 100), Grey_Of(Field_Luma(r.frame, 0, r.lower)), 8);
                EXPECT_NEAR(Shown(box, 100, 101), Grey_Of(Field_Luma(r.frame, 0, r.lower)), 8);
                EXPECT_NEAR(Shown(box, 600, 470), Grey_Of(Field_Luma(r.frame, 300, r.lower)), 8);
                if (!line_copies) {
                    EXPECT_EQ(store.Effective_time(), (r.field - 1) * 20);
                }
            }
            store.Clear_in_Store();
        }
        // Reversed shows the other field of the frame.
        Test_surface box(720, 576);
        store.Draw_Field(3, box, -1, 1);
        EXPECT_NEAR(Shown(box, 100, 100), Grey_Of(Field_Luma(1, 0, false)), 8);
        // Turned, the top of the field lies on the right.
        Test_surface turned(576, 720);
        store.Draw_field_3(1, turned, 0, 1, 1);
        EXPECT_NEAR(Shown(turned, 500, 100), Grey_Of(Field_Luma(0, 0, true)), 8);
        EXPECT_NEAR(Shown(turned, 50, 100), Grey_Of(Field_Luma(0, 300, true)), 8);
    }
}

TEST_F(Older_drawing, Frames_draw_plain_turned_mirrored_and_as_overlays) {
    const older_test::Frames clip = Encode_Pictures(3, Quadrant_Luma);
    const std::string file = Raw_DV("quadrants.dv", clip);
    const auto quadrant = [](int32_t k, int32_t x, int32_t y) { return Grey_Of(Quadrant_Luma(k, x, y)); };
    {
        cls_VideoFile_handler store;
        Test_surface box(360, 288);
        int32_t frame = 1;
        store.Draw_Frame(frame, &box, 0, 1, nullptr, 0);  // no file: nothing drawn
        EXPECT_EQ(Shown(box, 10, 10), 0);
        ASSERT_TRUE(store.Open_File(file, 0));
        struct Row {
            const char* what;
            int32_t frame;
            int16_t mirror, rotate;
            int32_t box_w, box_h;
            int32_t x, y, src_x, src_y;  // a box pixel and the source pixel it shows
            int32_t time;
        } rows[] = {
            {"plain, frame 0 as frame 1", 0, 0, 0, 360, 288, 50, 50, 100, 100, 0},
            {"plain, scaled", 2, 0, 0, 360, 288, 300, 250, 600, 500, 40},
            {"mirrored", 2, -1, 0, 720, 576, 100, 100, 620, 100, 40},
            {"turned clockwise", 3, 0, -1, 576, 720, 100, 100, 100, 476, 40},
            {"a rotate of 1 does not turn", 3, 0, 1, 720, 576, 100, 500, 100, 500, 80},
        };
        for (const Row& r : rows) {
            SCOPED_TRACE(r.what);
            Test_surface shown(r.box_w, r.box_h);
            int32_t asked = r.frame;
            store.Draw_Frame(asked, &shown, r.mirror, 1, nullptr, r.rotate);
            EXPECT_EQ(asked, std::max(r.frame, 1));
            EXPECT_NEAR(Shown(shown, r.x, r.y), quadrant(std::max(r.frame, 1) - 1, r.src_x, r.src_y), 8);
            EXPECT_EQ(store.Effective_time(), r.time);  // turned and mirrored frames leave it as it was
        }
        // Into a device context at the video size, the box untouched.
        cDIBSection into;
        into.Create(720, 576);
        int32_t frame_2 = 2;
        store.Draw_Frame(frame_2, nullptr, 0, 1, into.hDC(), 0);
        EXPECT_NEAR(Pixel_At(into, 600, 500).g, quadrant(1, 600, 500), 8);
        // A box-sized window at 1:1 from a pan position.
        Test_surface window(200, 200);
        store.Draw_Panned_frame(1, window, 300, 200);
        EXPECT_NEAR(Shown(window, 10, 10), quadrant(0, 310, 210), 8);
        EXPECT_NEAR(Shown(window, 190, 190), quadrant(0, 490, 390), 8);
    }
    struct Overlay_Row {
        int16_t mode;
        int expected_after_frame_2;  // at the top-left quadrant, from the frames' greys
    };
    const int g0 = quadrant(0, 10, 10), g1 = quadrant(1, 10, 10);
    for (const Overlay_Row& r : {Overlay_Row{1, g0}, Overlay_Row{2, (g0 + g1) / 2}, Overlay_Row{3, std::max(g0, g1)},
                                 Overlay_Row{4, g0 + (g1 - g0) * 30 / 100}}) {
        SCOPED_TRACE(r.mode);
        cls_VideoFile_handler store;
        ASSERT_TRUE(store.Open_File(file, 0));
        store.Overlay(r.mode);
        store.Blend_faktor(30);
        Test_surface box(360, 288);
        for (int32_t f : {1, 2}) {
            int32_t frame = f;
            store.Draw_Frame(frame, &box, 0, 1, nullptr, 0);
        }
        EXPECT_NEAR(Shown(box, 20, 20), r.expected_after_frame_2, 8);
        EXPECT_TRUE(store.Overlay_Bitmaps_Sized());
        EXPECT_EQ(store.Overlay_Picture("target").Width(), 360);  // sized to the box by the first drawing
    }
}

TEST_F(Older_drawing, A_blend_mixes_the_current_frame_into_the_overlay_of_the_video_size_only) {
    const std::string file = Raw_DV("blend.dv", Encode_Pictures(2, Quadrant_Luma));
    const int g0 = Grey_Of(Quadrant_Luma(0, 10, 10)), g1 = Grey_Of(Quadrant_Luma(1, 10, 10));
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(file, 0));
    int32_t second = 2;
    store.Store_frame(second, "source");   // the overlay pictures take the video's size
    store.Restore_target(1);               // frame 1 is the frame in memory and the overlay picture
    store.Blend_faktor(50);
    Test_surface box(720, 576);
    store.Refresh_frame(0, box);
    EXPECT_NEAR(Shown(box, 10, 10), g0, 8);
    store.A_Blend(box);
    // The overlay picture becomes the source picture moved halfway towards the current frame.
    EXPECT_NEAR(Shown(box, 10, 10), g1 + (g0 - g1) / 2, 8);
    int32_t nameless = 1;
    store.Store_frame(nameless, "Source");  // a name of no overlay picture draws into none
    EXPECT_EQ(store.Last_Draw_Result(), 0);

    cls_VideoFile_handler boxed;
    ASSERT_TRUE(boxed.Open_File(file, 0));
    Test_surface small(100, 80);
    int32_t frame = 1;
    boxed.Draw_Frame(frame, &small, 0, 1, nullptr, 0);  // overlay pictures sized to the box
    EXPECT_EQ(Error_Of([&] { boxed.A_Blend(small); }), vb::Err_Invalid_Call);
}

TEST_F(Older_drawing, A_kd3_frame_and_field_draw_through_the_same_members) {
    const std::string path = Path("heat.kd3");
    {
        cls_VideoFile_handler writer;
        Make_Heat_File(writer, path, 64, 48, 20000);
        Append_Segment(writer, path, 1, 3, 64, 48);
    }
    cls_VideoFile_handler store;
    ASSERT_TRUE(store.Open_File(path, 0));
    Test_surface box(64, 48);
    int32_t frame = 3;
    store.Draw_Frame(frame, &box, 0, 1, nullptr, 0);
    EXPECT_TRUE(Near(Pixel_At(box.dib, 5, 2), Band_Colour(0, 3)));
    EXPECT_EQ(store.Effective_time(), 80);
    Test_surface field_box(64, 48);
    store.Draw_field_3(3, field_box, 0, 2, 0);  // stream 2's pictures, frame 2
    EXPECT_TRUE(Near(Pixel_At(field_box.dib, 5, 2), Band_Colour(0, 2)));
}

}  // namespace
