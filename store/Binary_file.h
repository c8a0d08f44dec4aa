#pragma once
// An open capture file for access by byte offset, with the file number the store's callers see.
// Reads and writes name their offset, so a header rewrite never moves the append position.
// Failures raise VbError: 53 missing file, 70 refused access, 61 full disk, 75 any other failure.
//
// A process that writes through this layer ignores SIGXFSZ: a file size limit is a write error the
// caller reports, not the end of the program.
#include <cstdint>
#include <functional>
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
    // Creates the file for reading and writing; false, with nothing opened, when the name is taken (an
    // existing file is never opened or cut, however close the other creation came). Raises as Open does.
    bool Create_New(const std::string& path);
    void Close();
    bool Is_Open() const { return fd_ >= 0; }
    // The lowest number from 1 that no other open file holds; 0 while closed.
    int16_t Number() const { return number_; }
    const std::string& Path() const { return path_; }

    int64_t Size() const;
    // Bytes read; fewer than asked at the end of the file.
    int64_t Read_At(int64_t offset, std::span<uint8_t> bytes) const;
    void Write_At(int64_t offset, std::span<const uint8_t> bytes);
    // Cuts the file to `length` bytes.
    void Truncate(int64_t length);
    // Everything written so far reaches the disk.
    void Sync();
    // Whether the path still names the open file: false once it was deleted, moved away or replaced.
    bool Path_Names_Open_File() const;

    // Whether the file carries no write permission for anybody (the read-only attribute).
    static bool Has_Read_Only_Attribute(const std::string& path);
    // Removes the file; a file that is not there is no error.
    static void Remove_File(const std::string& path);
    // Makes the creation or removal of files in the folder that holds `path` durable.
    static void Sync_Folder_Of(const std::string& path);

    // The disk as a test wants it to fail. Before each system call that changes a file the hook is
    // asked; `bytes` caps what a write may write this call (a short write; -1: no cap), and `error`,
    // when not 0, fails the call with that errno after those bytes are written.
    enum class Operation { open_for_writing, write, truncate, sync, remove };
    struct Fault {
        int64_t bytes = -1;
        int error = 0;
    };
    using Fault_hook = std::function<Fault(Operation, const std::string& path, int64_t offset, int64_t size)>;
    static void Set_Fault_Hook(Fault_hook hook);

private:
    // False only when O_EXCL finds the name taken.
    bool Open_With(const std::string& path, int flags, bool writing);

    int fd_ = -1;
    int16_t number_ = 0;
    std::string path_;
};
