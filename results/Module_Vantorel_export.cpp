#include "Module_Vantorel_export.h"

#include "shell/Module_Vantorel.h"
#include "platform/vb/Error_trap.h"

#include <utility>
#include "platform/vb/Program_state.h"

namespace Module_Vantorel {

std::string Heat_number_from_Filename(const std::string& File_Name) {
    std::string heat;
    vb::Trap(Is_Compiled, "Heat_number_from_Filename of Module Module_canoe", [&] {
        // Byte positions: "Heat" and "_" never occur inside a UTF-8 character.
        size_t p = File_Name.rfind("Heat");
        if (p == std::string::npos) p = File_Name.rfind("heat");
        if (p == std::string::npos) return;
        const size_t u = File_Name.find('_', p);
        if (u == std::string::npos) return;
        if (u > p + 4) heat = File_Name.substr(p + 4, u - p - 4);
    });
    return heat;
}

std::string Strip_Diacritics(const std::string& Text) {
    static const std::pair<const char*, const char*> letters[] = {
        {"\u00e5", "a"}, {"\u00e4", "a"}, {"\u00f6", "o"}, {"\u00c5", "A"}, {"\u00c4", "A"}, {"\u00d6", "O"}};
    std::string text = Text;
    for (const auto& [from, to] : letters) {
        const std::string f = from;
        for (size_t at = text.find(f); at != std::string::npos; at = text.find(f, at + 1)) text.replace(at, f.size(), to);
    }
    return text;
}

}  // namespace Module_Vantorel

namespace Module_Vantorel {

std::string Export_Folder;
std::string Last_Export_File;

namespace {
// What a new process starts with.
[[maybe_unused]] const bool state_reset = vb::On_Program_Reset([] {
    Export_Folder = {};
    Last_Export_File = {};
});
}  // namespace

}  // namespace Module_Vantorel
