#pragma once
// The frame-interval report of a capture file: how many frames were captured k ms after the frame before
// them, as a histogram with marks at 20, 40 and 80 ms, with the file's name and size and the data of the
// computer that captured it. The review window's "File timing analyze" runs Timing_Analyze.
#include "Interval_histogram.h"
#include "platform/ui/Command_button.h"
#include "platform/ui/Form.h"

#include <QImage>

#include <string>

class QGroupBox;
class QLabel;
class cls_VideoFile_handler;

class Form_KD3_Timing : public ui::Form {
public:
    static Form_KD3_Timing& Instance() { return ui::Instance_Of<Form_KD3_Timing>(); }
    Form_KD3_Timing();

    // The report of the open file; `frame_size` is the review window's frame-size text (width "*"
    // height). Without an open file: a beep, nothing else.
    static void Timing_Analyze(cls_VideoFile_handler& file, const std::string& frame_size);
    // Every frame record of the open file read, without decoding its picture.
    static Interval_histogram Count_Intervals(cls_VideoFile_handler& file);
    // Draws the histogram over what the picture shows (a second report draws over the first).
    void Draw_Histogram(const Interval_histogram& histogram);

    void Command_Clipboard_Click();
    void Command_Print_Click();
    void Command_HIde_Form_Click();

    QGroupBox* Frame_filedata;
    QLabel* Label_filename;
    QLabel* Label_File_info;
    QGroupBox* Frame_writing_computer;
    QLabel* Label_CPU_info;
    QLabel* Label_bitness;
    QLabel* Label_Capture_iNFO;
    QLabel* Picture_timing;
    QLabel* Label_printdata;
    ui::Command_button* Command_Clipboard;
    ui::Command_button* Command_Print;
    ui::Command_button* Command_HIde_Form;
    // The histogram as drawn so far.
    QImage Timing_picture;
};
