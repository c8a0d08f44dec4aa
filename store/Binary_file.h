#pragma once
// An open capture file for access by byte offset, with the file number the store's callers see.
// Reads and writes name their offset, so a header rewrite never moves the append position.
// Failures raise VbError: 53 missing file, 70 refused access, 75 any other failure.
#include <cstdint>
#include <span>
#include <string>

class Binary_file {
public:
    enum class Mode { read_write, read_write_new, read_write_empty, read_only };

    Binary_file() = default;
    ~Binary_file();
    Binary_file(const Binary_file&) = delete;
    Binary_file& operator=(const Binary_file&) = delete;

    // read_write_new creates a missing file; read_write_empty also cuts an existing one to nothing.
    void Open(const std::string& path, Mode mode);
    void Close();
    bool Is_Open() const { return fd_ >= 0; }
    // The lowest number from 1 that no other open file holds; 0 while closed.
    int16_t Number() const { return number_; }

    int64_t Size() const;
    // Bytes read; fewer than asked at the end of the file.
    int64_t Read_At(int64_t offset, std::span<uint8_t> bytes) const;
    void Write_At(int64_t offset, std::span<const uint8_t> bytes);
    // Everything written so far reaches the disk.
    void Sync();

    // Whether the file carries no write permission for anybody (the read-only attribute).
    static bool Has_Read_Only_Attribute(const std::string& path);

private:
    int fd_ = -1;
    int16_t number_ = 0;
    std::string path_;
};
