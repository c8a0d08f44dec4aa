#pragma once
// The registry on Linux: keys and values that the program writes live in one file of our own (the
// store, in the application-data folder); the processor values that the system reads from the
// registry are answered from /proc. Every call works on the file as it is on disk and writes it back
// at once, so two objects of the program never disagree and nothing waits for a "close".
//
// Names of keys and values compare without regard to ASCII case and keep the case they were created
// with; key paths are separated by "\". Roots HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE
// and HKEY_USERS are kept in the store; HKEY_DYN_DATA and the processor keys of HKEY_LOCAL_MACHINE
// are read-only and computed:
//   HKEY_LOCAL_MACHINE "HARDWARE\DESCRIPTION\System\CentralProcessor\0", value "~MHz" (REG_DWORD):
//       the first processor's clock from /proc/cpuinfo ("cpu MHz"), else its cpufreq maximum;
//   HKEY_DYN_DATA "PerfStats\StatData", value "KERNEL\CPUUsage" (REG_DWORD): the busy share of all
//       processors in percent, from /proc/stat, over the time since the previous read (at least 100 ms).
#include <cstdint>
#include <string>
#include <vector>

namespace registry {

using Root = uint32_t;
inline constexpr Root HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr Root HKEY_CURRENT_USER = 0x80000001u;
inline constexpr Root HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr Root HKEY_USERS = 0x80000003u;
inline constexpr Root HKEY_DYN_DATA = 0x80000006u;

enum Value_Type : int32_t {
    REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4, REG_DWORD_BIG_ENDIAN = 5,
    REG_MULTI_SZ = 7,
};

// Result codes, numbered as the system's callers expect them.
enum Result : int32_t {
    Ok = 0,
    Not_Found = 2,
    Access_Denied = 5,
    Invalid_Data = 13,
    Bad_Net_Path = 53,
    Invalid_Parameter = 87,
    More_Data = 234,
    No_More_Items = 259,
    Store_Damaged = 1009,
    Write_Failed = 1021,
};
// Our text for a result code; "" for a code this layer never gives.
std::string Result_Text(int32_t code);

// A REG_DWORD's data: four bytes, the lowest first. Reading takes the bytes there are, up to four.
std::vector<uint8_t> Dword_Bytes(int32_t value);
int32_t Dword_Of(const std::vector<uint8_t>& data);

class Registry_store {
public:
    // `file` is the store's path; its folder is created on the first write.
    explicit Registry_store(std::string file);

    const std::string& File() const { return file_; }

    // Only the local registry exists: a named machine gives Bad_Net_Path.
    int32_t Connect(const std::string& machine) const;

    // Whether the key can be opened: Ok or Not_Found.
    int32_t Open_Key(Root root, const std::string& path) const;
    // Creates the key and every missing key above it; an existing key is simply opened.
    int32_t Create_Key(Root root, const std::string& path);
    // A key that still has subkeys is not deleted (Access_Denied).
    int32_t Delete_Key(Root root, const std::string& path);

    int32_t Query_Value(Root root, const std::string& path, const std::string& name, int32_t& type,
                        std::vector<uint8_t>& data) const;
    // The key must exist.
    int32_t Set_Value(Root root, const std::string& path, const std::string& name, int32_t type,
                      const std::vector<uint8_t>& data);
    int32_t Delete_Value(Root root, const std::string& path, const std::string& name);

    // The names of the key's values, in the order they were first written.
    int32_t Value_Names(Root root, const std::string& path, std::vector<std::string>& names) const;
    // The names of the key's direct subkeys, sorted without regard to case.
    int32_t Subkey_Names(Root root, const std::string& path, std::vector<std::string>& names) const;

private:
    std::string file_;
};

}  // namespace registry
