#pragma once
// The rollback journal of a heat's header record. The header record is rewritten in place with every
// result entered, so a rewrite cut short (power loss, I/O error) would leave a header that no longer
// parses and every frame unreachable. Before the rewrite the record it replaces is kept in
// "<heat>-journal" beside the heat (where that name would be too long for the folder: the heat name's
// start, "~" and a hash of the whole heat name, then "-journal") and made durable; after the rewrite is
// durable the journal is removed. A heat found with a whole journal beside it had a rewrite cut short:
// its header is the journal's, when the journal is the heat's own: it names the heat it was kept for. A
// journal cut short itself was never followed by a rewrite and is ignored.
// The journal is the magic "KDRJ", the 32016 bytes of the record, a 64-bit FNV-1a check (little-endian)
// of the record and the name that follows, and the heat's file name (without its folder).
#include "Kd3_format.h"

#include <optional>
#include <string>

namespace Header_journal {

// Where the journal of `heat` is kept: a name its folder takes, the same at every opening.
std::string Path_Of(const std::string& heat);

// Writes the journal for `record` and makes it durable (file and folder). Raises on failure; a journal
// that could not be written whole is removed again where possible.
void Keep(const std::string& heat, const kd3::Header_Bytes& record);

// Removes the journal, durably. Raises when it cannot be removed.
void Remove(const std::string& heat);

bool Exists(const std::string& heat);

struct Kept_Record {
    kd3::Header_Bytes record;
    std::string heat_name;  // the file name of the heat it was kept for; "" in a journal that names none
};

// What a whole journal keeps; nothing when there is no journal or it was cut short.
std::optional<Kept_Record> Read(const std::string& heat);

// Moves a journal that is not the heat's out of the way, under a name no journal has; returns that name.
// Raises when it cannot be moved.
std::string Set_Aside(const std::string& heat);

}  // namespace Header_journal
