#include "Header_journal.h"

#include "Binary_file.h"

#include "platform/fs/File_system.h"
#include "platform/vb/VbError.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
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

uint64_t Check_Of(const kd3::Header_Bytes& record, std::string_view name) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t byte : record) hash = (hash ^ byte) * 0x100000001b3ull;
    for (char c : name) hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001b3ull;
    return hash;
}

std::string Name_Of(const std::string& heat) { return std::filesystem::path(heat).filename().string(); }

}  // namespace

std::string Path_Of(const std::string& heat) { return heat + "-journal"; }

void Keep(const std::string& heat, const kd3::Header_Bytes& record) {
    const std::string name = Name_Of(heat);
    std::vector<uint8_t> bytes(Journal_Length + name.size());
    std::copy(Magic.begin(), Magic.end(), bytes.begin());
    std::copy(record.begin(), record.end(), bytes.begin() + Record_Offset);
    std::copy(name.begin(), name.end(), bytes.begin() + Journal_Length);
    const uint64_t check = Check_Of(record, name);
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

std::optional<Kept_Record> Read(const std::string& heat) {
    Binary_file journal;
    try {
        journal.Open(Path_Of(heat), Binary_file::Mode::read_only);
    } catch (...) {
        return std::nullopt;
    }
    // A file name is at most 255 bytes; anything longer is no journal of ours.
    std::vector<uint8_t> bytes(Journal_Length + 256);
    const int64_t got = journal.Read_At(0, bytes);
    if (got < static_cast<int64_t>(Journal_Length) || got > static_cast<int64_t>(Journal_Length + 255))
        return std::nullopt;
    if (!std::equal(Magic.begin(), Magic.end(), bytes.begin())) return std::nullopt;
    Kept_Record kept;
    std::copy_n(bytes.begin() + Record_Offset, kd3::Header_Length, kept.record.begin());
    kept.heat_name.assign(bytes.begin() + Journal_Length, bytes.begin() + got);
    uint64_t check = 0;
    for (size_t i = 0; i < 8; ++i) check |= uint64_t{bytes[Check_Offset + i]} << (8 * i);
    if (check != Check_Of(kept.record, kept.heat_name)) return std::nullopt;
    return kept;
}

std::string Set_Aside(const std::string& heat) {
    const std::string journal = Path_Of(heat);
    for (int n = 1;; ++n) {
        const std::string aside = journal + "-set-aside" + (n > 1 ? "-" + std::to_string(n) : std::string());
        // Never over another file: a journal set aside before is kept too.
        struct stat st {};
        if (::lstat(aside.c_str(), &st) == 0) continue;
        if (::rename(journal.c_str(), aside.c_str()) != 0) fs::Raise_File_Error(errno, vb::Err_Path_File_Access, journal);
        Binary_file::Sync_Folder_Of(journal);
        return aside;
    }
}

}  // namespace Header_journal
