#pragma once
// Files, folders and drives, with the answers and error numbers of the scripting file-system object
// the system's procedures were written against: a missing file raises 53, a missing folder 76, a
// refused access 70, any other failure 75 (all as VbError).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fs {

// Raises the error of a failed system call on `path`: `missing` (53 or 76) for a path that is not
// there, 70 for refused access, 61 for a full disk, 75 for anything else.
[[noreturn]] void Raise_File_Error(int error, int32_t missing, const std::string& path);

// Whether a file (not a folder) is there. A path that cannot be looked at raises.
bool File_Exists(const std::string& path);
bool Folder_Exists(const std::string& path);

// Deletes the file, also when it is read-only. A folder is no file (53).
void Delete_File(const std::string& path);

int64_t File_Size(const std::string& path);
// Last modification, in seconds since the epoch.
int64_t Last_Modified(const std::string& path);
// Creation, in seconds since the epoch; the last modification where the file system keeps no birth time.
int64_t Created(const std::string& path);

struct File_Info {
    std::string name;  // without the folder
    int64_t size = 0;
    int64_t modified = 0;  // seconds since the epoch
};
// The files of a folder (not its subfolders), in no particular order.
std::vector<File_Info> Folder_Files(const std::string& folder);

// The kind of drive that holds the path, numbered as the system's callers expect.
enum Drive_Kind : int32_t {
    Drive_Unknown = 0, Drive_No_Root = 1, Drive_Removable = 2, Drive_Fixed = 3, Drive_Remote = 4,
    Drive_CDRom = 5, Drive_RamDisk = 6,
};
// A fixed disk whose block device is removable (USB stick, memory card) is a removable drive.
int32_t Drive_Type(const std::string& path);
// Whether the block device `major`:`minor` (a partition or a whole disk) is removable, as the sysfs
// tree under `sys_root` ("/sys" on a running system) tells: the disk's "removable" flag, or a disk
// attached through USB.
bool Block_Device_Removable(const std::string& sys_root, unsigned major, unsigned minor);
// The kind of drive a FUSE mount of `source` is: a disk mounted through it (a stick formatted for
// Windows) goes by its block device, as the sysfs tree under `sys_root` tells; any other source (a
// network or cloud mount) is remote.
int32_t Fuse_Drive_Type(const std::string& source, const std::string& sys_root);
// The source of the mount that holds `path` (for a network share "//server/share" or "server:/export"),
// from a mount table in the form of /proc/self/mounts; "" when no mount holds it.
std::string Mount_Source(std::string_view mounts, const std::string& path);
// The same from the running system's mount table.
std::string Share_Name(const std::string& path);

// Replaces the file's content all at once: written to a temporary file beside it, flushed and renamed
// over it, so a failed write or a crash leaves either the old or the new content; the file keeps its
// permissions. A symbolic link keeps leading to the file: its target gets the content. The result is 0
// or the errno; `created` tells whether the temporary file could be made, that is whether the failure
// came from writing rather than from creating the file.
int Write_File_Atomic(const std::string& path, std::string_view content, bool* created = nullptr);

// Copies the file, over an existing destination: the copy is written beside the destination and
// renamed over it when whole, so a failed copy leaves the destination as it was. After every chunk
// `progress` (total bytes, bytes copied) runs; an answer other than 0 stops the copy (ECANCELED). The
// result is 0 or the errno.
int Copy_File(const std::string& source, const std::string& destination,
              const std::function<int32_t(int64_t total, int64_t copied)>& progress);

// The name with "_" for every character that a common file system (FAT and exFAT on a memory stick,
// NTFS, ext4) refuses in a file name: control characters, "/", "\", ":", "*", "?", '"', "<", ">", "|";
// also for each character of `also`, which a caller's own naming rule adds.
std::string Portable_File_Name(std::string name, std::string_view also = {});

// The running executable's full path; "" when the system does not tell.
std::string Executable_Path();

}  // namespace fs
