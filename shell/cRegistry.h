#pragma once
// One registry value addressed by a root key, a key path and a value name: read and written as a
// value of the matching type; keys checked, created, deleted and listed; file associations written.
// Errors it raises carry the source "<executable>.cRegistry".
#include "platform/registry/Registry_store.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class cRegistry {
public:
    // Empty, 16-bit, 32-bit, double, text, bytes.
    using Variant = std::variant<std::monostate, int16_t, int32_t, double, std::string, std::vector<uint8_t>>;

    static constexpr int32_t Err_Set_Value = -2147194455;        // 0x800469A9
    static constexpr int32_t Err_Enumerate = -2147194454;        // 0x800469AA
    static constexpr int32_t Err_Invalid_Items = -2147194452;    // 0x800469AC
    static constexpr int32_t Err_Class_Undefined = -2147194451;  // 0x800469AD

    cRegistry();

    const std::string& Machine() const { return machine_; }
    // More than 2 characters name another computer ("\\" put in front); less means the local registry.
    void Machine(const std::string& name);

    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();

    // The value, or the default when it cannot be read (a key that cannot be opened is reported first).
    Variant Value();
    void Value(const Variant& new_value);

    // Always true; a key that cannot be opened gives no names and a count of 0.
    bool EnumerateValues(std::vector<std::string>& names, int32_t& count) const;
    bool EnumerateSections(std::vector<std::string>& names, int32_t& count) const;

    void CreateEXEAssociation(std::string exe_path, const std::string& class_name, const std::string& class_description,
                              const std::string& file_extension, const std::string& open_menu_text,
                              bool print_supported, const std::string& print_menu_text, bool new_supported,
                              const std::string& new_menu_text, bool install_supported,
                              const std::string& install_menu_text, int32_t default_icon_index);
    // Items in triples: name, menu text, command.
    void CreateAdditionalEXEAssociations(const std::string& class_name, const std::vector<Variant>& items);

    int32_t ValueType() const { return value_type_; }
    void ValueType(int32_t type) { value_type_ = type; }
    registry::Root ClassKey() const { return class_key_; }
    void ClassKey(registry::Root key) { class_key_ = key; }
    const std::string& SectionKey() const { return section_key_; }
    void SectionKey(const std::string& key) { section_key_ = key; }
    const std::string& ValueKey() const { return value_key_; }
    void ValueKey(const std::string& key) { value_key_ = key; }
    const Variant& Default() const { return default_; }
    void Default(const Variant& value) { default_ = value; }

    Variant ValueEx(registry::Root class_key, const std::string& section_key, const std::string& value_key,
                    int32_t value_type, const Variant& default_value);
    // For REG_SZ an empty new value writes the default.
    void ValueEx(registry::Root class_key, const std::string& section_key, const std::string& value_key,
                 int32_t value_type, const Variant& default_value, const Variant& new_value);

    // The value last written through Value.
    const Variant& Last_Written() const { return value_; }

private:
    void Set_Class_Default_Value(const std::string& text);
    static int32_t Swap_Long_Bytes(int32_t value);
    static std::string Expand_Environment_Text(const std::string& text);
    std::string Class_Key_Text() const;
    std::string Source() const;

    registry::Root class_key_ = 0;
    std::string section_key_;
    std::string value_key_;
    Variant value_;
    Variant default_;
    int32_t value_type_ = 0;
    std::string machine_;
};
