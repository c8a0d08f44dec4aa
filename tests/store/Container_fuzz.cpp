// libFuzzer target for the older capture files' container parsing: the first byte chooses the kind
// (dv, sdv, kd2, avi), the rest is the file. Opening it, reading every frame it claims (the first two
// decoded), and the AVI information must neither crash, leak nor read outside a buffer, whatever the
// file's lengths, counts and offsets say.
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "shell/Module_Vantorel.h"
#include "store/clsAVIInfo.h"
#include "store/cls_VideoFile_handler.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class Silent_dialogs final : public ui::Dialog_service {
public:
    int32_t Message_Box(const std::string&, int32_t, const std::string&) override { return ui::vbOK; }
    std::string Input_Box(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> Open_File(const ui::File_Request&) override { return std::nullopt; }
    std::optional<std::string> Browse_Folder(const std::string&, const std::string&) override { return std::nullopt; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Silent_dialogs dialogs;
    static const std::string folder = [] {
        // The "frame unavailable" picture draws text, which needs the application's fonts.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "fuzz_containers";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
        Module_Vantorel::Is_Compiled = true;
        Module_Vantorel::Vantorel_Mode = true;
        ui::Set_Dialog_Service(&dialogs);
        vb::Set_Error_Reporter([](const std::string&, int32_t, int32_t, const std::string&, const std::string&) {});
        std::string dir = "/dev/shm/vantorel_fuzz_" + std::to_string(getpid());
        std::string command = "mkdir -p " + dir;
        if (std::system(command.c_str()) != 0) dir = "/tmp";
        Module_Vantorel::AppData_Folder = dir;
        return dir;
    }();
    if (size < 1) return 0;
    static const char* const kinds[] = {"dv", "sdv", "kd2", "avi"};
    const std::string path = folder + "/input." + kinds[data[0] % 4];
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    {
        cls_VideoFile_handler store;
        if (store.Open_File(path, 0)) {
            const int32_t frames = std::min(store.Num_Frames(), 64);
            for (int32_t n = 1; n <= frames; ++n) store.Read_RGB_sample(n, n <= 2);
            store.Read_Frame(frames + 1, 2);
            store.Read_Frame(0, 1);
            store.Close_File();
        }
    }
    clsAVIInfo info;
    info.ReadFile(path);
    std::remove(path.c_str());
    return 0;
}
