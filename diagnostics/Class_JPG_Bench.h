#pragma once
// How long the computer takes to compress a picture of a crop preset's size to JPEG.
#include "imaging/cDIBSection.h"

#include <cstdint>

class Class_JPG_Bench {
public:
    // The mean time in whole milliseconds (cut) of one encoding at quality 80 of an X by Y bitmap, from
    // ten encodings; an encoder error reaches the caller.
    int16_t JPG_Bench(int16_t X, int16_t Y);
    // Nothing calls it; it leaves the bitmap as it is.
    void Fill_Picture();
    // Leaves the bitmap as it was made: the encoder's time hardly depends on the picture.
    void Fill_DIB();
    // The ten timed encodings of the present bitmap; "JPEG comp error!" for a failed one, the rounds go on.
    int16_t Compress_DIB();

    // Whole milliseconds of one encoding from the ticks around ten of them.
    static int16_t Mean_Of_Ten(int32_t elapsed_ms);

private:
    cDIBSection dib_;
    int16_t last_ = 0;
};
