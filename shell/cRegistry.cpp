#include "cRegistry.h"

#include "Module_formatmessage.h"
#include "Module_registry.h"
#include "platform/fs/File_system.h"
#include "platform/ui/Dialog_service.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/VbError.h"
#include "platform/vb/Vb_convert.h"
#include "platform/vb/Vb_text.h"

#include <cstdlib>
#include <filesystem>

using namespace registry;

namespace {

std::string Text_Of(const cRegistry::Variant& v) {
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (auto* i = std::get_if<int16_t>(&v)) return vb::CStr(*i);
    if (auto* l = std::get_if<int32_t>(&v)) return vb::CStr(*l);
    if (auto* d = std::get_if<double>(&v)) return vb::CStr(*d);
    if (auto* b = std::get_if<std::vector<uint8_t>>(&v)) return vb::Ansi_To_Utf8(*b);
    return "";
}

bool Is_Empty(const cRegistry::Variant& v) {
    auto* s = std::get_if<std::string>(&v);
    return std::holds_alternative<std::monostate>(v) || (s && s->empty());
}

}  // namespace

cRegistry::cRegistry() = default;

void cRegistry::Machine(const std::string& name) {
    if (vb::Len(name) > 2) machine_ = name.rfind("\\\\", 0) == 0 ? name : "\\\\" + name;
    else machine_.clear();
}

std::string cRegistry::Class_Key_Text() const { return std::to_string(static_cast<int32_t>(class_key_)); }

std::string cRegistry::Source() const {
    return std::filesystem::path(fs::Executable_Path()).filename().string() + ".cRegistry";
}

bool cRegistry::KeyExists() const {
    return Module_registry::Registry_Store().Open_Key(class_key_, section_key_) == Ok;
}

bool cRegistry::CreateKey() {
    if (Module_registry::Registry_Store().Create_Key(class_key_, section_key_) != Ok)
        vb::Raise(vb::Err_Own, "Failed to create registry Key: '" + section_key_, Source());
    return true;
}

bool cRegistry::DeleteKey() {
    if (Module_registry::Registry_Store().Delete_Key(class_key_, section_key_) != Ok)
        vb::Raise(vb::Err_Own, "Failed to delete registry Key: '" + Class_Key_Text() + "',Section: '" + section_key_,
                  Source());
    return true;
}

bool cRegistry::DeleteValue() {
    Registry_store store = Module_registry::Registry_Store();
    if (store.Open_Key(class_key_, section_key_) != Ok)
        vb::Raise(vb::Err_Own,
                  "Failed to open key '" + Class_Key_Text() + "',Section: '" + section_key_ + "' for delete access",
                  Source());
    if (store.Delete_Value(class_key_, section_key_, value_key_) != Ok)
        vb::Raise(vb::Err_Own,
                  "Failed to delete registry Key: '" + Class_Key_Text() + "',Section: '" + section_key_ + "',Key: '" +
                      value_key_,
                  Source());
    return true;
}

cRegistry::Variant cRegistry::Value() {
    Registry_store store = Module_registry::Registry_Store();
    if (store.Connect(machine_) != Ok) return default_;
    if (int32_t opened = store.Open_Key(class_key_, section_key_); opened != Ok)
        ui::MsgBox("Error reading registry, " + Module_formatmessage::System_Error_Text(opened), ui::vbOKOnly);
    int32_t type = 0;
    std::vector<uint8_t> data;
    int32_t r = store.Query_Value(class_key_, section_key_, value_key_, type, data);
    if (r != Ok && r != More_Data) return default_;
    value_type_ = type;
    switch (type) {
    case REG_SZ:
    case REG_MULTI_SZ:
    case REG_EXPAND_SZ: {
        // Another writer may have left the terminating zero out: only a zero is dropped.
        std::string text(data.begin(), data.end() - (!data.empty() && data.back() == 0 ? 1 : 0));
        return type == REG_EXPAND_SZ ? Expand_Environment_Text(text) : text;
    }
    case REG_DWORD: return Dword_Of(data);
    case REG_DWORD_BIG_ENDIAN: return Swap_Long_Bytes(Dword_Of(data));
    default: return data;
    }
}

void cRegistry::Value(const Variant& new_value) {
    auto failure = [&] {
        return "Failed to set registry value Key: '" + Class_Key_Text() + "',Section: '" + section_key_ + "',Key: '" +
               value_key_ + "' to value: '" + Text_Of(new_value) + "'";
    };
    Registry_store store = Module_registry::Registry_Store();
    // Another computer cannot be reached: answered at once instead of retrying through the default.
    if (store.Connect(machine_) != Ok) vb::Raise(vb::Err_Own, failure(), Source());
    if (store.Create_Key(class_key_, section_key_) != Ok) vb::Raise(vb::Err_Own, failure(), Source());
    int32_t r = Ok;
    switch (value_type_) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        std::string text = Text_Of(new_value);
        int32_t first = vb::InStr(text, "%");
        bool reference = first > 0 && vb::InStr(first + 2, text, "%") > 0;
        std::vector<uint8_t> data(text.begin(), text.end());
        data.push_back(0);
        r = store.Set_Value(class_key_, section_key_, value_key_, reference ? REG_EXPAND_SZ : REG_SZ, data);
        break;
    }
    case REG_BINARY: {
        auto* bytes = std::get_if<std::vector<uint8_t>>(&new_value);
        if (!bytes) vb::Raise(vb::Err_Own);
        r = store.Set_Value(class_key_, section_key_, value_key_, REG_BINARY, *bytes);
        break;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        int32_t number = 0;
        if (auto* i = std::get_if<int16_t>(&new_value)) number = *i;
        else if (auto* l = std::get_if<int32_t>(&new_value)) number = *l;
        else break;  // not a whole number: nothing is written
        r = store.Set_Value(class_key_, section_key_, value_key_, REG_DWORD, Dword_Bytes(number));
        break;
    }
    default: r = Invalid_Data;
    }
    if (r != Ok) vb::Raise(Err_Set_Value, failure(), Source());
    value_ = new_value;
}

bool cRegistry::EnumerateValues(std::vector<std::string>& names, int32_t& count) const {
    names.clear();
    count = 0;
    std::vector<std::string> found;
    if (Module_registry::Registry_Store().Value_Names(class_key_, section_key_, found) == Ok) names = std::move(found);
    count = static_cast<int32_t>(names.size());
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& names, int32_t& count) const {
    names.clear();
    count = 0;
    std::vector<std::string> found;
    if (Module_registry::Registry_Store().Subkey_Names(class_key_, section_key_, found) == Ok) names = std::move(found);
    count = static_cast<int32_t>(names.size());
    return true;
}

void cRegistry::Set_Class_Default_Value(const std::string& text) {
    std::string section = section_key_;
    class_key_ = HKEY_CLASSES_ROOT;
    Value(text);
    class_key_ = HKEY_LOCAL_MACHINE;
    section_key_ = "SOFTWARE\\Classes\\" + section;
    Value(text);
    section_key_ = section;
}

void cRegistry::CreateEXEAssociation(std::string exe_path, const std::string& class_name,
                                     const std::string& class_description, const std::string& file_extension,
                                     const std::string& open_menu_text, bool print_supported,
                                     const std::string& print_menu_text, bool new_supported,
                                     const std::string& new_menu_text, bool install_supported,
                                     const std::string& install_menu_text, int32_t default_icon_index) {
    exe_path = vb::Trim(exe_path);
    if (exe_path.empty() || exe_path.front() != '"') exe_path = "\"" + exe_path;
    if (exe_path.size() < 2 || exe_path.back() != '"') exe_path += "\"";
    value_type_ = REG_SZ;
    value_key_.clear();
    auto set = [&](const std::string& key, const std::string& text) {
        section_key_ = key;
        Set_Class_Default_Value(text);
    };
    auto or_else = [](const std::string& text, const std::string& fallback) { return text.empty() ? fallback : text; };
    const std::string shell = class_name + "\\shell\\";
    set("." + file_extension, class_name);
    set(class_name, class_description);
    set(shell + "open", or_else(open_menu_text, "&Open"));
    set(shell + "open\\command", exe_path + " \"%1\"");
    if (print_supported) {
        set(shell + "print", or_else(print_menu_text, "&Print"));
        set(shell + "print\\command", exe_path + " /p \"%1\"");
    }
    if (install_supported) {
        set(shell + "add", or_else(install_menu_text, "&Install " + file_extension));
        set(shell + "add\\command", exe_path + " /a \"%1\"");
    }
    if (new_supported) {
        set(shell + "new", or_else(new_menu_text, "&New"));
        set(shell + "new\\command", exe_path + " /n \"%1\"");
    }
    if (default_icon_index >= 0) set(class_name + "\\DefaultIcon", exe_path + "," + std::to_string(default_icon_index));
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& class_name, const std::vector<Variant>& items) {
    if (items.empty() || items.size() % 3 != 0)
        vb::Raise(Err_Invalid_Items,
                  "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command",
                  Source());
    section_key_ = class_name;
    if (!KeyExists())
        vb::Raise(Err_Class_Undefined, "Error - attempt to create additional associations before class defined.",
                  Source());
    // A step that fails is skipped and the next one goes on.
    auto step = [&](const std::string& key, const Variant& text) {
        try {
            section_key_ = key;
            Set_Class_Default_Value(Text_Of(text));
        } catch (const VbError&) {
        }
    };
    for (size_t i = 0; i < items.size(); i += 3) {
        std::string key = class_name + "\\shell\\" + Text_Of(items[i]);
        step(key, items[i + 1]);
        step(key + "\\command", items[i + 2]);
    }
}

cRegistry::Variant cRegistry::ValueEx(Root class_key, const std::string& section_key, const std::string& value_key,
                                      int32_t value_type, const Variant& default_value) {
    class_key_ = class_key;
    section_key_ = section_key;
    value_key_ = value_key;
    value_type_ = value_type;
    default_ = default_value;
    return Value();
}

void cRegistry::ValueEx(Root class_key, const std::string& section_key, const std::string& value_key,
                        int32_t value_type, const Variant& default_value, const Variant& new_value) {
    class_key_ = class_key;
    section_key_ = section_key;
    value_key_ = value_key;
    value_type_ = value_type;
    default_ = default_value;
    Value(value_type == REG_SZ && Is_Empty(new_value) ? default_value : new_value);
}

int32_t cRegistry::Swap_Long_Bytes(int32_t value) {
    auto u = static_cast<uint32_t>(value);
    return static_cast<int32_t>((u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) | (u << 24));
}

std::string cRegistry::Expand_Environment_Text(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
        const char* found = close != std::string::npos && close > i + 1
                                ? std::getenv(text.substr(i + 1, close - i - 1).c_str())
                                : nullptr;
        if (found) {
            out += found;
            i = close + 1;
        } else {
            out += text[i++];  // an unknown reference stays as written
        }
    }
    return out;
}
