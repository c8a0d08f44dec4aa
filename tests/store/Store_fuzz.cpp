// libFuzzer target for the store's open and read path: any bytes behind a header record must open,
// read and draw without a crash, a leak, or an allocation beyond what the header's frame size needs,
// and reading must never change the file.
//
// An input is a 16-bit little-endian text length L, L bytes of header text (the file's single-byte
// text), and the bytes that follow the header record. With VANTOREL_FUZZ_SEEDS set to a folder, the
// start writes inputs made from heats the store itself recorded there, as a seed corpus.
#include "Fuzz_support.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"
#include "store/Kd3_format.h"
#include "store/cls_VideoFile_handler.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string folder;
std::string heat;

std::vector<uint8_t> Bytes_Of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A recorded heat turned into an input: its header text, then everything after the header record.
void Write_Seed(const std::string& path, const std::string& seed) {
    std::vector<uint8_t> file = Bytes_Of(path);
    kd3::Header_Bytes record;
    std::copy_n(file.begin(), kd3::Header_Length, record.begin());
    std::string text = kd3::Get_File_Header(record).ansi_text;
    std::vector<uint8_t> input{static_cast<uint8_t>(text.size()), static_cast<uint8_t>(text.size() >> 8)};
    input.insert(input.end(), text.begin(), text.end());
    input.insert(input.end(), file.begin() + kd3::Header_Length, file.end());
    std::ofstream(seed, std::ios::binary).write(reinterpret_cast<const char*>(input.data()),
                                                static_cast<std::streamsize>(input.size()));
}

void Make_Seeds(const std::string& seeds) {
    std::filesystem::create_directories(seeds);
    struct Kind {
        int32_t width, height;
        bool interlaced, rotated;
        int32_t frames;
    } kinds[] = {{16, 8, true, false, 3}, {8, 16, false, true, 2}, {16, 16, true, false, 1}};
    int n = 0;
    for (const Kind& k : kinds) {
        const std::string path = folder + "/seed.kd3";
        cls_VideoFile_handler store;
        store.File_name(path);
        store.Create_File();
        store.Cropped_X(k.width);
        store.Cropped_Y(k.height);
        store.RGB_interlaced(k.interlaced);
        store.RGB_Rotated(k.rotated);
        store.Create_KD3_header();
        store.Write_XML_Header();
        store.Close_File();
        store.Open_RGB_File();
        store.Set_JPG_Maxsize(1200);
        store.Position_at_End();
        for (int32_t f = 1; f <= k.frames; ++f) {
            cDIBSection dib;
            dib.Create(k.width, k.height);
            for (int32_t i = 0; i < dib.BytesPerScanLine() * k.height; ++i)
                dib.DIBSectionBitsPtr()[i] = static_cast<uint8_t>(i * 7 + f * 40);
            std::vector<uint8_t> jpeg(100000);
            int32_t size = static_cast<int32_t>(jpeg.size());
            mIntelJPEGLibrary::Encode_DIB_To_JPG(dib, jpeg.data(), size, 80);
            store.Append_Compressed_RGB_Frame(f * 40, -2147483640 + f * 40, 40, 80, size, jpeg.data(), f);
        }
        store.Close_File();
        Write_Seed(path, seeds + "/heat-" + std::to_string(++n));
    }
}

void Exercise(cls_VideoFile_handler& store) {
    store.File_name(heat);
    store.Open_RGB_File();
    if (!store.File_open()) return;
    fuzz::Surface box;
    const int32_t fields = std::min(store.Num_fields(), 6);
    for (int32_t field = 0; field <= fields + 1; ++field) store.Draw_RGB_Field(field, box);
    store.Read_RGB_sample(store.Num_Frames(), true);
    store.Draw_Current_RGB_frame(box);
    store.Get_Field_Pixel(3, 3);
    // These pass the header's errors to their caller, as the review expects.
    try {
        store.KD3_Properties();
        store.Heat_ID(1);
        store.Lane_count();
        store.Start_local_Mill_Time(1);
        store.KD3_Num_fields();
        store.KD3_Capture_Delta();
        store.KD3_Compression_Quality();
    } catch (const VbError&) {
    }
    store.Close_File();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static int qt_argc = 1;
    static char name[] = "fuzz_store";
    static char* qt_argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(qt_argc, qt_argv);
    (void)argc;
    (void)argv;
    static fuzz::Quiet_dialogs dialogs;
    ui::Set_Dialog_Service(&dialogs);
    Module_Vantorel::Is_Compiled = true;  // every trap armed: errors are reported, never thrown
    vb::Set_Error_Reporter([](const std::string&, int32_t, int32_t, const std::string&, const std::string&) {});
    char tmpl[] = "/tmp/fuzz-store-XXXXXX";
    folder = mkdtemp(tmpl);
    heat = folder + "/heat.kd3";
    // The event log goes nowhere: a long run would fill the disk with it.
    std::filesystem::create_symlink("/dev/null", folder + "/Vantorel_eventlog.txt");
    Module_Vantorel::AppData_Folder = folder;
    if (const char* seeds = std::getenv("VANTOREL_FUZZ_SEEDS")) Make_Seeds(seeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t length = std::min<size_t>(data[0] | data[1] << 8, size - 2);
    std::string text(reinterpret_cast<const char*>(data + 2), length);
    kd3::Header_Bytes record;
    kd3::Put_File_Header(record, text);
    std::vector<uint8_t> file(record.begin(), record.end());
    file.insert(file.end(), data + 2 + length, data + size);
    {
        std::ofstream out(heat, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    static cls_VideoFile_handler store;  // one object over many files, as the review window keeps one
    Exercise(store);
    // Reading never changes the file: a header rewrite or a recovery would.
    if (Bytes_Of(heat) != file) std::abort();
    return 0;
}
