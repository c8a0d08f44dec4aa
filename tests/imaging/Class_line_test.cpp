#include "Test_errors.h"
#include "imaging/Class_line.h"
#include "imaging/CVideobuff.h"
#include "platform/vb/VbError.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

TEST(Class_line, Length_and_coordinates_round_down) {
    Class_line line;
    line.Start_Point(0, 0);
    line.End_Point(3, 4);
    EXPECT_EQ(line.Length(), 5);
    EXPECT_EQ(line.X_coord(5), 3);
    EXPECT_EQ(line.Y_coord(2), 1);
    EXPECT_EQ(line.X_Coord_by_Y(2), 1);
    EXPECT_EQ(line.Y_Coord_by_X(3), 8);

    Class_line back;
    back.Start_Point(0, 0);
    back.End_Point(-3, -4);
    back.Length();
    EXPECT_EQ(back.X_coord(1), -1);  // -0.6 rounded down

    // A goal line of the review: offsets are taken from the first end.
    Class_line goal;
    goal.Start_Point(100, 50);
    goal.End_Point(110, 250);
    EXPECT_EQ(goal.Length(), 200);  // 200.25 rounded down
    EXPECT_EQ(goal.X_Coord_by_Y(100), 105);
    EXPECT_EQ(goal.Y_coord(100), 150);
}

TEST(Class_line, Divisions_by_zero_and_overflow_raise) {
    Class_line fresh;
    fresh.Start_Point(1, 1);
    fresh.End_Point(5, 1);
    EXPECT_EQ(Error_Of([&] { fresh.X_coord(1); }), 11);  // Length not read yet
    EXPECT_EQ(Error_Of([&] { fresh.X_coord(0); }), 6);   // 0 / 0
    fresh.Length();
    EXPECT_EQ(Error_Of([&] { fresh.X_Coord_by_Y(3); }), 11);  // dy = 0
    EXPECT_EQ(fresh.X_coord(4), 5);

    Class_line long_line;
    long_line.Start_Point(-32768, -32768);
    long_line.End_Point(32767, 32767);
    EXPECT_EQ(Error_Of([&] { long_line.Length(); }), 6);
}

TEST(CVideobuff, A_frame_is_valid_only_with_its_identification_byte) {
    auto buffer = std::make_unique<CVideobuff>();
    EXPECT_FALSE(buffer->Buffer_valid());
    buffer->FillBuffer();
    EXPECT_FALSE(buffer->Buffer_valid());
    EXPECT_EQ(buffer->GetVideoAdress()[143999], 23);

    std::vector<uint8_t> frame(CVideobuff::Frame_Size);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7);
    frame[0] = 0x1F;
    buffer->FillData(frame.data());
    EXPECT_TRUE(buffer->Buffer_valid());
    std::vector<uint8_t> out(CVideobuff::Frame_Size);
    buffer->GetData(out.data());
    EXPECT_EQ(out, frame);

    buffer->ID(12);
    buffer->PutTimestamp(-5);
    buffer->model_Frame(77);
    EXPECT_EQ(buffer->ID(), 12);
    EXPECT_EQ(buffer->Get_Timestamp(), -5);
    EXPECT_EQ(buffer->Get_model_frame(), 77);
}

}  // namespace
