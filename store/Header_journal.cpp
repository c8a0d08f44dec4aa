#include "Header_journal.h"

#include "Binary_file.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace Header_journal {

namespace {

constexpr std::string_view Magic = "KDRJ";
constexpr size_t Record_Offset = 4;
constexpr size_t Check_Offset = Record_Offset + kd3::Header_Length;
constexpr size_t Journal_Length = Check_Offset + 8;

uint64_t Check_Of(const kd3::Header_Bytes& record) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t byte : record) hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}

}  // namespace

std::string Path_Of(const std::string& heat) { return heat + "-journal"; }

void Keep(const std::string& heat, const kd3::Header_Bytes& record) {
    std::vector<uint8_t> bytes(Journal_Length);
    std::copy(Magic.begin(), Magic.end(), bytes.begin());
    std::copy(record.begin(), record.end(), bytes.begin() + Record_Offset);
    const uint64_t check = Check_Of(record);
    for (size_t i = 0; i < 8; ++i) bytes[Check_Offset + i] = static_cast<uint8_t>(check >> (8 * i));
    const std::string path = Path_Of(heat);
    Binary_file journal;
    try {
        journal.Open(path, Binary_file::Mode::read_write_empty);
        journal.Write_At(0, bytes);
        journal.Sync();
        journal.Close();
        Binary_file::Sync_Folder_Of(path);
    } catch (...) {
        journal.Close();
        ::unlink(path.c_str());
        throw;
    }
}

void Remove(const std::string& heat) {
    const std::string path = Path_Of(heat);
    Binary_file::Remove_File(path);
    Binary_file::Sync_Folder_Of(path);
}

bool Exists(const std::string& heat) {
    struct stat st {};
    return ::stat(Path_Of(heat).c_str(), &st) == 0;
}

std::optional<kd3::Header_Bytes> Read(const std::string& heat) {
    Binary_file journal;
    try {
        journal.Open(Path_Of(heat), Binary_file::Mode::read_only);
    } catch (...) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(Journal_Length + 1);
    if (journal.Read_At(0, bytes) != static_cast<int64_t>(Journal_Length)) return std::nullopt;
    if (!std::equal(Magic.begin(), Magic.end(), bytes.begin())) return std::nullopt;
    kd3::Header_Bytes record;
    std::copy_n(bytes.begin() + Record_Offset, kd3::Header_Length, record.begin());
    uint64_t check = 0;
    for (size_t i = 0; i < 8; ++i) check |= uint64_t{bytes[Check_Offset + i]} << (8 * i);
    if (check != Check_Of(record)) return std::nullopt;
    return record;
}

}  // namespace Header_journal
