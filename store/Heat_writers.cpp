#include "Heat_writers.h"

#include <map>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace {

// A file by its identity, whatever path names it.
using File_key = std::pair<dev_t, ino_t>;

struct Held {
    File_key file;
    uint64_t seen = 0;  // the file's header generation the store's copy holds
    bool recording = false;
};

std::mutex guard;
std::map<const void*, Held> held;
std::map<File_key, uint64_t> generation;  // header rewrites of each file held, in this program

bool Key_Of(const std::string& path, File_key& key) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    key = {info.st_dev, info.st_ino};
    return true;
}

// The store's entry for `file`, made anew when it held another.
Held& Entry(const void* store, const File_key& file) {
    Held& entry = held[store];
    if (entry.file != file) entry = Held{file, generation[file], false};
    return entry;
}

void Drop_Unheld_Generations() {
    for (auto at = generation.begin(); at != generation.end();) {
        bool still_held = false;
        for (const auto& [store, entry] : held) still_held = still_held || entry.file == at->first;
        at = still_held ? std::next(at) : generation.erase(at);
    }
}

}  // namespace

void Heat_writers::Header_Read(const void* store, const std::string& path) {
    File_key file;
    std::lock_guard lock(guard);
    if (!Key_Of(path, file)) return;
    Held& entry = Entry(store, file);
    entry.seen = generation[file];
}

void Heat_writers::Header_Written(const void* store, const std::string& path) {
    File_key file;
    std::lock_guard lock(guard);
    if (!Key_Of(path, file)) return;
    Held& entry = Entry(store, file);
    entry.seen = ++generation[file];
}

void Heat_writers::Recording(const void* store, const std::string& path) {
    File_key file;
    std::lock_guard lock(guard);
    if (!Key_Of(path, file)) return;
    Entry(store, file).recording = true;
}

void Heat_writers::Forget(const void* store) {
    std::lock_guard lock(guard);
    if (held.erase(store) > 0) Drop_Unheld_Generations();
}

std::string Heat_writers::Refusal(const void* store, const std::string& path) {
    File_key file;
    std::lock_guard lock(guard);
    if (!Key_Of(path, file)) return {};
    const auto own = held.find(store);
    const bool recorder = own != held.end() && own->second.file == file && own->second.recording;
    if (recorder) return {};
    for (const auto& [other, entry] : held)
        if (other != store && entry.file == file && entry.recording)
            return "The heat " + path + " is being recorded: its header is written by the recording alone until the "
                   "segment ends. Open the heat again then to change it.";
    if (own != held.end() && own->second.file == file && own->second.seen != generation[file])
        return "The heat " + path + " was written by another window since it was opened here. Open it again to "
               "change it.";
    return {};
}
