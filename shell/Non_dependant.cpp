#include "Non_dependant.h"

#include "Module_Vantorel.h"
#include "platform/ini/Private_profile.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"

#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace Non_dependant {

using Module_Vantorel::Is_Compiled;

std::string Read_Ini(const std::string& section, const std::string& key, const std::string& path,
                     const std::string& default_value) {
    std::string result;
    vb::Trap_With(
        true,
        [&] {
            if (path.empty()) Module_Vantorel::Vantorel_Initialization();
            if (path.empty()) {
                ui::MsgBox("Ini_file_path is empty!");
                return;
            }
            std::string value;
            int32_t n = ini::Get_Private_Profile_String(section, key, "", 512, value, path);
            result = n > 0 ? value : std::string();
            if (result.empty()) result = default_value.empty() ? "N/A" : default_value;
        },
        [](const VbError&) {});
    return result;
}

int16_t Write_Ini(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path) {
    int16_t result = 0;
    vb::Trap_With(
        true,
        [&] {
            int32_t written = ini::Write_Private_Profile_String(section, key, value, path);
            if (written != 1) {
                int32_t err = ini::Last_Error();
                ui::MsgBox("Writing to INI file failed! Path = " + path + "\r\n Error = " + std::to_string(err) + " " +
                               (err ? std::strerror(err) : ""),
                           ui::vbCritical, " KDR Error");
            }
            result = static_cast<int16_t>(written);
        },
        [&](const VbError&) { result = 0; });
    return result;
}

void Delete_Ini_Key(const std::string& section, const std::string& key, const std::string& path) {
    ini::Write_Private_Profile_String(section, key, std::nullopt, path);
}

int32_t Get_Mill_Time() { return sys::timeGetTime(); }

int32_t Get_Local_Mill_Time() {
    sys::Local_Time t = sys::Get_Local_Time();
    return t.hour * 3600000 + t.minute * 60000 + t.second * 1000 + t.millisecond;
}

std::string Display_Mill_Time(int32_t mill, bool trim) {
    std::string text;
    vb::Trap_With(
        Is_Compiled,
        [&] {
            if (mill == INT32_MIN) vb::Raise(vb::Err_Overflow);  // the one value without a positive twin
            bool negative = mill < 0;
            int32_t t = (negative ? -mill : mill) % 86400000;
            int32_t h = t / 10;  // hundredths, an exact half going to the even neighbour
            int32_t rest = t % 10;
            if (rest > 5 || (rest == 5 && h % 2 == 1)) ++h;
            int32_t hours = h / 360000, minutes = (h / 6000) % 60, seconds = (h / 100) % 60, hundredths = h % 100;
            char buf[32];
            if (hours > 0) std::snprintf(buf, sizeof buf, "%d:%02d:%02d,%02d", hours, minutes, seconds, hundredths);
            else std::snprintf(buf, sizeof buf, "%02d:%02d,%02d", minutes, seconds, hundredths);
            text = buf;
            if (!trim) {
                text.insert(text.begin(), negative ? '-' : ' ');
                return;
            }
            size_t drop = 0;
            while (text.size() - drop >= 5 && (text[drop] == '0' || text[drop] == ':')) ++drop;
            text.erase(0, drop);
            if (negative) text.insert(text.begin(), '-');
        },
        [&](const VbError& e) {
            text.clear();
            ui::MsgBox("Display_Mill_Time error " + std::to_string(e.Line()));
        });
    return text;
}

std::string Now_Text() { return sys::Date_Time_Text(sys::Get_Local_Time()); }

std::string Date_Text() { return sys::Date_Time_Text(sys::Get_Local_Time()).substr(0, 10); }

std::string FileDate() {
    std::string text;
    vb::Trap(Is_Compiled, "FileDate of Module Non_dependant", [&] {
        std::error_code ec;
        auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) vb::Raise(vb::Err_File_Not_Found);
        auto stamp = std::filesystem::last_write_time(exe, ec);
        if (ec) vb::Raise(vb::Err_File_Not_Found);
        auto secs = std::chrono::duration_cast<std::chrono::seconds>(
                        std::chrono::file_clock::to_sys(stamp).time_since_epoch())
                        .count();
        text = Is_Compiled ? sys::Date_Time_Text(sys::Local_Time_Of(secs)) : "Not compiled";
    });
    return text;
}

}  // namespace Non_dependant
