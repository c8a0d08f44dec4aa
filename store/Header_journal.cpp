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

// The longest file name a folder takes (NAME_MAX of the file systems heats are kept on).
constexpr size_t Name_Max = 255;

// 64-bit FNV-1a, continued from `hash`.
constexpr uint64_t Fnv_Basis = 0xcbf29ce484222325ull;
template <class Bytes>
uint64_t Fnv_1a(uint64_t hash, const Bytes& bytes) {
    for (auto byte : bytes) hash = (hash ^ static_cast<uint8_t>(byte)) * 0x100000001b3ull;
    return hash;
}

uint64_t Check_Of(const kd3::Header_Bytes& record, std::string_view name) {
    return Fnv_1a(Fnv_1a(Fnv_Basis, record), name);
}

// `path` and `suffix` as one path whose file name a folder takes. A name that would be too long keeps
// the start of its own (cut between UTF-8 characters) and a hash of the whole, so it stays the same
// every time and differs from every other long name's.
std::string Fitting_Path(const std::string& path, std::string_view suffix) {
    const size_t name_at = path.rfind('/') + 1;  // 0 without a folder
    const std::string_view name = std::string_view(path).substr(name_at);
    if (name.size() + suffix.size() <= Name_Max) return path + std::string(suffix);
    char tag[18];
    std::snprintf(tag, sizeof tag, "~%016llx", static_cast<unsigned long long>(Fnv_1a(Fnv_Basis, name)));
    size_t keep = Name_Max - suffix.size() - (sizeof tag - 1);
    while (keep > 0 && (static_cast<uint8_t>(name[keep]) & 0xC0) == 0x80) --keep;
    return path.substr(0, name_at + keep) + tag + std::string(suffix);
}

std::string Name_Of(const std::string& heat) { return std::filesystem::path(heat).filename().string(); }

}  // namespace

std::string Path_Of(const std::string& heat) { return Fitting_Path(heat, "-journal"); }

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
        const std::string aside =
            Fitting_Path(journal, "-set-aside" + (n > 1 ? "-" + std::to_string(n) : std::string()));
        // Never over another file: a journal set aside before is kept too.
        struct stat st {};
        if (::lstat(aside.c_str(), &st) == 0) continue;
        if (::rename(journal.c_str(), aside.c_str()) != 0) fs::Raise_File_Error(errno, vb::Err_Path_File_Access, journal);
        Binary_file::Sync_Folder_Of(journal);
        return aside;
    }
}

}  // namespace Header_journal
