#include "Non_dependant.h"

#include "Failure_notices.h"
#include "Module_Vantorel.h"
#include "Program_commands.h"
#include "platform/fs/File_system.h"
#include "platform/ini/Private_profile.h"
#include "platform/sys/Sys_clock.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Error_trap.h"
#include "platform/vb/Vb_convert.h"

#include <cmath>
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
            if (path.empty()) Program_commands::Vantorel_Initialization();
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

namespace {

template <class Number, class Convert>
Number Read_Ini_Number(const std::string& section, const std::string& key, const std::string& path,
                       Number default_value, Convert convert) {
    const std::string text = Read_Ini(section, key, path, std::to_string(default_value));
    try {
        return convert(text);
    } catch (const VbError& e) {
        const std::string told = "The ini file's value " + key + "=" + text + " in [" + section + "] is ignored (" +
                                 e.Description() + "); " + std::to_string(default_value) + " is taken.";
        Module_Vantorel::Write_Event_Log(told);
        ui::MsgBox(told + "\r\nPath = " + path, ui::vbExclamation);
        return default_value;
    }
}

}  // namespace

int16_t Read_Ini_Integer(const std::string& section, const std::string& key, const std::string& path,
                         int16_t default_value) {
    return Read_Ini_Number(section, key, path, default_value, [](const std::string& t) { return vb::CInt(t); });
}

int32_t Read_Ini_Long(const std::string& section, const std::string& key, const std::string& path,
                      int32_t default_value) {
    return Read_Ini_Number(section, key, path, default_value, [](const std::string& t) { return vb::CLng(t); });
}

int16_t Write_Ini(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& path) {
    int16_t result = 0;
    vb::Trap_With(
        true,
        [&] {
            int32_t written = ini::Write_Private_Profile_String(section, key, value, path);
            // A full or read-only folder would otherwise show a box for every setting the next command writes.
            if (written == 1) {
                Failure_notices::Succeeded(path);
            } else {
                int32_t err = ini::Last_Error();
                if (Failure_notices::First(path, err)) {
                    ui::MsgBox("Writing to INI file failed! Path = " + path + "\r\n Error = " + std::to_string(err) + " " +
                                   (err ? std::strerror(err) : ""),
                               ui::vbCritical, " KDR Error");
                }
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
        int64_t secs = fs::Last_Modified(fs::Executable_Path());
        text = Is_Compiled ? sys::Date_Time_Text(sys::Local_Time_Of(secs)) : "Not compiled";
    });
    return text;
}

}  // namespace Non_dependant

// ---- Waits, paths, texts, byte arrays, truth values, numbers and colours ----

#include "platform/vb/Code_page.h"
#include "platform/vb/Vb_text.h"

#include <QChar>
#include <QCoreApplication>
#include <dlfcn.h>
#include <gnu/libc-version.h>

namespace Non_dependant {

void Do_Sleep(int32_t milliseconds, bool pump) {
    vb::Trap_With(
        true,
        [&] {
            int32_t start = sys::timeGetTime();
            while (sys::Tick_Diff(sys::timeGetTime(), start) < milliseconds) {
                if (pump) {
                    QCoreApplication::processEvents();
                    sys::Sleep(3);
                } else {
                    sys::Sleep(10);
                }
            }
        },
        [](const VbError&) { ui::MsgBox("Do_Sleep error"); });
}

void Flush_DV_events() {
    vb::Trap_With(
        true,
        [] {
            for (int i = 0; i < 10; ++i) {
                sys::Sleep(100);
                QCoreApplication::processEvents();
            }
        },
        [](const VbError& e) { ui::MsgBox("Flush_DV_events error " + std::to_string(e.Line())); });
}

std::string ParsePath(const std::string& path, int16_t part, bool no_slash) {
    std::string result;
    vb::Trap_With(
        true,
        [&] {
            if (path.empty()) return;
            size_t slash = path.rfind('/');
            if (slash == std::string::npos) vb::Raise(vb::Err_Invalid_Call);  // the scan ran past the first character
            if (part == 16) result = path.substr(0, no_slash ? slash : slash + 1);
            else if (part == 0) result = path.substr(slash + 1);
            else result = path;
        },
        [&](const VbError& e) {
            result.clear();
            ui::MsgBox(std::to_string(e.Number()) + " " + std::to_string(e.Number()) + " *Error in ParsePath");
        });
    return result;
}

std::string File_Suffix(const std::string& path) {
    std::string suffix;
    vb::Trap_With(
        true,
        [&] {
            int32_t dot = InStr_Rev(path, ".", -1, vbBinaryCompare);
            suffix = dot > 0 ? vb::Mid(path, dot + 1) : std::string();
        },
        [&](const VbError&) {
            suffix.clear();
            ui::MsgBox("File suffix error!");
        });
    return suffix;
}

std::string File_Safe_Text(std::string& text) {
    size_t from = vb::Left(text, 2).size();
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] == ':' || text[i] == '-' || text[i] == ',') text[i] = '_';
    return text;
}

int64_t Get_File_Size(const std::string& path) { return path.empty() ? 0 : fs::File_Size(path); }

std::string Get_System_Directory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&gnu_get_libc_version), &info) && info.dli_fname && *info.dli_fname) {
        std::error_code ec;
        std::filesystem::path lib = std::filesystem::weakly_canonical(info.dli_fname, ec);
        if (!ec && lib.has_parent_path()) return lib.parent_path().string();
    }
    return "/usr/lib";
}

std::string Get_Computer_Name() {
    char name[256] = {};
    if (gethostname(name, 255) != 0) return "";
    return std::string(name);  // up to the first zero character
}

namespace {

// The characters of a UTF-8 text, case-folded for a text comparison, so that positions count characters.
std::u32string Chars_Of(const std::string& text, int32_t compare) {
    std::u32string out;
    QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (char32_t c : q.toUcs4()) out += compare == vbTextCompare ? QChar::toCaseFolded(c) : c;
    return out;
}

// InStr on characters: 1-based, 0 when absent, `start` beyond the text gives 0, an empty find `start`.
int32_t Find_From(const std::u32string& text, const std::u32string& find, int32_t start) {
    if (start > static_cast<int32_t>(text.size())) return 0;
    if (find.empty()) return start;
    size_t pos = text.find(find, static_cast<size_t>(start - 1));
    return pos == std::u32string::npos ? 0 : static_cast<int32_t>(pos) + 1;
}

}  // namespace

int32_t InStr_Rev(const std::string& text, const std::string& find, int32_t limit, int32_t compare) {
    std::u32string t = Chars_Of(text, compare), f = Chars_Of(find, compare);
    auto n = static_cast<int32_t>(t.size());
    if (limit <= 0) limit = n;
    if (f.empty()) return limit <= n ? limit : 0;
    int32_t end = std::min(limit, n);
    auto m = static_cast<int32_t>(f.size());
    if (end < m) return 0;
    size_t pos = t.rfind(f, static_cast<size_t>(end - m));
    return pos == std::u32string::npos ? 0 : static_cast<int32_t>(pos) + 1;
}

int32_t InStr_Last(int32_t start, const std::string& text, const std::string& find, int32_t compare) {
    if (start < 1) vb::Raise(vb::Err_Invalid_Call);
    std::u32string t = Chars_Of(text, compare), f = Chars_Of(find, compare);
    int32_t last = 0;
    for (int32_t at = Find_From(t, f, start); at > 0; at = Find_From(t, f, at + 1)) last = at;
    return last;
}

std::string FourCC_To_String(int32_t code) {
    auto u = static_cast<uint32_t>(code);
    if ((u >> 24) >= 128) vb::Raise(vb::Err_Invalid_Call);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 24)};
    return vb::Ansi_To_Utf8(bytes);
}

std::string Long_To_Text(int32_t value) {
    auto u = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 24)};
    return vb::Ansi_To_Utf8(bytes);
}

void String_To_Byte_Array(const std::string& text, std::span<uint8_t> bytes) {
    if (text.empty()) return;
    std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    std::string single = vb::Utf8_To_Ansi(text);
    if (single.size() <= bytes.size()) std::copy(single.begin(), single.end(), bytes.begin());
}

std::string Byte_Array_To_String(std::span<const uint8_t> bytes) {
    auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return vb::Ansi_To_Utf8(bytes.first(static_cast<size_t>(zero - bytes.begin())));
}

int32_t Find_Byte_Array(std::span<const uint8_t> bytes, const std::string& pattern) {
    std::string single = vb::Utf8_To_Ansi(pattern);
    auto n = static_cast<int64_t>(bytes.size());
    auto m = static_cast<int64_t>(single.size());
    // Candidates start at index 1; one whose pattern would run past the last element cannot match.
    for (int64_t b = 1; b <= n - 1 && b + m <= n; ++b) {
        if (std::equal(single.begin(), single.end(), bytes.begin() + b,
                       [](char c, uint8_t x) { return static_cast<uint8_t>(c) == x; }))
            return static_cast<int32_t>(b);
    }
    return 0;
}

std::string Bool_To_Text(bool value) { return value ? "True" : "False"; }

bool Text_To_Bool(const std::string& text) { return text == "True"; }

int16_t Checked_To_Int(const std::string& text) { return text == "Checked" ? 1 : 0; }

int16_t Bool_To_Int(bool value) { return value ? 1 : 0; }

bool Is_Odd(int32_t n) { return n % 2 != 0; }

int32_t Min_Long(int32_t a, int32_t b) { return a < b ? a : b; }

int32_t Max_Of(double a, double b) { return vb::CLng(a >= b ? a : b); }

int32_t Field_To_Frame(int32_t field) { return vb::CLng(field / 2.0 + 0.4); }

int16_t Field_In_Frame(int32_t field) { return Is_Odd(field) ? 1 : 2; }

int32_t Round_To_Multiple(int32_t n, int16_t step) {
    if (step == 0) vb::Raise(n == 0 ? vb::Err_Overflow : vb::Err_Division_By_Zero);
    return vb::CLng(vb::Round(static_cast<double>(n) / step) * step);
}

bool In_IDE() { return false; }

void Do_Nothing() {}

namespace {

struct HSL_Tables {
    int32_t HSL_Table_Value[256];  // i * 100 / 255, to the nearest whole number
    float HSL_Table_Hue[256];      // 60 / i; entry 0 unused
};

const HSL_Tables& Tables() {
    static const HSL_Tables tables = [] {
        HSL_Tables t{};
        for (int i = 0; i < 256; ++i) t.HSL_Table_Value[i] = vb::CLng(i * 100.0 / 255);
        for (int i = 1; i < 256; ++i) t.HSL_Table_Hue[i] = static_cast<float>(60.0 / i);
        return t;
    }();
    return tables;
}

}  // namespace

HSL_Color RGB_To_HSL(int32_t color) {
    const HSL_Tables& t = Tables();
    auto u = static_cast<uint32_t>(color);
    int r = u & 0xFF, g = (u >> 8) & 0xFF, b = (u >> 16) & 0xFF;
    int max = r > g ? r : g, min = r > g ? g : r;
    if (b > max) max = b;
    else if (b < min) min = b;
    HSL_Color hsl;
    hsl.Lum = t.HSL_Table_Value[max];
    int d = max - min;
    if (d == 0) return hsl;
    // Halves to even, in whole numbers: d * 100 / max, exact.
    const int sat = d * 100 / max, twice_rest = 2 * (d * 100 % max);
    hsl.Sat = sat + (twice_rest > max || (twice_rest == max && (sat & 1)) ? 1 : 0);
    float f = t.HSL_Table_Hue[d];
    float hue;
    if (r == max) {
        hue = f * static_cast<float>(g - b);
        if (g < b) hue += 360.0f;
    } else if (g == max) {
        hue = f * static_cast<float>(b - r) + 120.0f;
    } else {
        hue = f * static_cast<float>(r - g) + 240.0f;
    }
    // The hue lies within 0 to 360: rounded in the default mode, halves to even.
    hsl.Hue = static_cast<int32_t>(std::nearbyint(static_cast<double>(hue)));
    return hsl;
}

}  // namespace Non_dependant

// ---- Key state, the screen and the taskbar ----

#include "platform/ui/Key_state.h"
#include "platform/ui/Screen.h"

namespace Non_dependant {

bool Key_Down(int16_t virtual_key) { return ui::Key_Held(virtual_key); }
bool Esc_Down() { return ui::Key_Held(27); }
bool Ctrl_Down() { return ui::Key_Held(17); }
bool Alt_Down() { return ui::Key_Held(18); }
bool F_Key_Down() { return ui::Key_Held(70); }

int16_t First_Key_Down() {
    for (int16_t key = 1; key <= 128; ++key)
        if (ui::Key_Held(key)) return key;
    return 0;
}

void Press_Shift() { ui::Keep_Screen_Awake(); }

void Print_Screen() {
    ui::Copy_Active_Window_Image();
    Do_Sleep(500, true);
}

std::string Taskbar_State_Text(int32_t state) {
    switch (state) {
    case 0: return "TaskBar not in auto-hide or always-on-top mode";
    case 1: return "TaskBar is in auto-hide mode";
    case 2: return "TaskBar always-on-top mode";
    case 3: return "TaskBar is always-on-top and auto-hide modes";
    default: return "Unknown";
    }
}

std::string Taskbar_State() { return Taskbar_State_Text(ui::Panel_State()); }

void Taskbar_Visible(bool show) {
    vb::Trap(Is_Compiled, "Taskbar_Visible of Module Non_dependant", [&] {
        ui::Cover_Panels(!show);
        if (!show) Module_Vantorel::Taskbar_Hidden = true;
    });
}

}  // namespace Non_dependant

// ---- Fonts ----

namespace Non_dependant {

gdi::Font* Create_Rotated_Font(int16_t points, int32_t angle, bool italic, const std::string& face_name, int32_t weight) {
    const int32_t dots_per_inch = 1440 / ui::Twips_Per_Pixel_Y();
    // points × dpi / 72 rounded half away from zero, as the system's MulDiv does
    const int32_t product = points * dots_per_inch;
    const int32_t height = -((product >= 0 ? product + 36 : product - 36) / 72);
    const int32_t escapement = vb::To_Int32(static_cast<int64_t>(angle) * 10);
    return gdi::CreateFontA(height, 0, escapement, 0, weight, italic, false, false, 0, 0, 0, 0, 0, face_name);
}

}  // namespace Non_dependant
