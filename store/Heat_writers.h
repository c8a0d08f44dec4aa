#pragma once
// The heats that stores of this program hold, by file. Each store keeps its own copy of a heat's header
// and rewrites the whole header record from it, so two stores of one heat would undo each other's
// changes: the review's results would vanish when the capture console ends a segment, and the
// console's counts when the review stores a result. So a heat being recorded has its header written
// by its recorder alone, and a store whose copy is older than the file's header (another store wrote
// it since) may not write it.
#include <string>

class Heat_writers {
public:
    // `store` took its copy of the header from the file `path` now.
    static void Header_Read(const void* store, const std::string& path);
    // `store` wrote its header into `path`: the copies read before are out of date.
    static void Header_Written(const void* store, const std::string& path);
    // `store` appends records to `path` until it forgets it.
    static void Recording(const void* store, const std::string& path);
    // `store` holds no heat any more.
    static void Forget(const void* store);
    // Why `store` may not write the header of `path`; "" when it may.
    static std::string Refusal(const void* store, const std::string& path);
};
