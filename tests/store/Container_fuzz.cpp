// libFuzzer target for the older capture files: the first byte chooses the kind (dv, sdv, kd2, avi), the
// rest is the file. Opening it, reading every frame it claims (the first two decoded), drawing its first
// fields, parsing the metadata packs of the frames read, and the AVI information must neither crash,
// leak nor read outside a buffer, whatever the file's lengths, counts, offsets and frame sizes say. The
// input is also given whole to the DV pack parser, as a frame of any length.
#include "Fuzz_support.h"
#include "Store_file_seam.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"
#include "store/DV_Timecode_module.h"
#include "store/clsAVIInfo.h"
#include "store/cls_VideoFile_handler.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string folder;

void Parse_Packs(std::span<const uint8_t> frame) {
    DV_Timecode_module::DV_Header_Parse(frame);
    const std::string texts = DV_Timecode_module::DV_Rec_Date_Text() + DV_Timecode_module::DV_Timecode_Text() +
                              DV_Timecode_module::DV_Shutter_Text() + DV_Timecode_module::DV_White_Balance_Text() +
                              DV_Timecode_module::DV_Iris_Text() + DV_Timecode_module::DV_AE_Mode_Text() +
                              DV_Timecode_module::DV_AGC_Text() + DV_Timecode_module::DV_Focal_Length_Text();
    if (texts.empty()) std::abort();  // every text names its value or "No information"
    DV_Timecode_module::DV_Timecode_Frame_Number();
    DV_Timecode_module::DV_Field_Rate();
}

void Exercise(cls_VideoFile_handler& store, const std::string& path) {
    if (!Store_file_seam::Open_Any(store, path)) return;
    const int32_t frames = std::min(store.Num_Frames(), 64);
    for (int32_t n = 1; n <= frames; ++n) store.Read_RGB_sample(n, n <= 2);
    fuzz::Surface box;
    const int32_t fields = std::min(store.Num_fields(), 6);
    for (int32_t field = 0; field <= fields + 1; ++field) store.Draw_RGB_Field(field, box);
    store.Draw_Current_RGB_frame(box);
    for (int32_t n = 1; n <= std::min(frames, 4); ++n) {
        store.Read_Frame(n, static_cast<int16_t>(n));
        store.Parse_DV_header();
        try {
            store.Timecode_string();
        } catch (const VbError&) {  // no DV frame held: error 9, as the property report expects
        }
    }
    store.Read_Frame(frames + 1, 2);
    store.Read_Frame(0, 1);
    store.Close_File();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The "frame unavailable" picture draws text, which needs the application's fonts.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz_containers";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    static fuzz::Quiet_dialogs dialogs;
    ui::Set_Dialog_Service(&dialogs);
    Module_Vantorel::Is_Compiled = true;  // every trap armed: errors are reported, never thrown
    Module_Vantorel::Vantorel_Mode = true;
    vb::Set_Error_Reporter([](const std::string&, int32_t, int32_t, const std::string&, const std::string&) {});
    char tmpl[] = "/tmp/fuzz-containers-XXXXXX";
    folder = mkdtemp(tmpl);
    // The event log goes nowhere: a long run would fill the disk with it.
    std::filesystem::create_symlink("/dev/null", folder + "/Vantorel_eventlog.txt");
    Module_Vantorel::AppData_Folder = folder;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const char* const kinds[] = {"dv", "sdv", "kd2", "avi"};
    const std::string path = folder + "/input." + kinds[data[0] % 4];
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    {
        cls_VideoFile_handler store;
        Exercise(store, path);
    }
    clsAVIInfo info;
    info.ReadFile(path);
    std::remove(path.c_str());
    Parse_Packs({data + 1, size - 1});
    return 0;
}
