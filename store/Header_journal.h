#pragma once
// The rollback journal of a heat's header record. The header record is rewritten in place with every
// result entered, so a rewrite cut short (power loss, I/O error) would leave a header that no longer
// parses and every frame unreachable. Before the rewrite the record it replaces is kept in
// "<heat>-journal" beside the heat and made durable; after the rewrite is durable the journal is
// removed. A heat found with a whole journal beside it had a rewrite cut short: its header is the
// journal's. A journal cut short itself was never followed by a rewrite and is ignored.
// The journal is the magic "KDRJ", the 32016 bytes of the record, and a 64-bit FNV-1a check of them
// (little-endian): 32028 bytes.
#include "Kd3_format.h"

#include <optional>
#include <string>

namespace Header_journal {

std::string Path_Of(const std::string& heat);

// Writes the journal for `record` and makes it durable (file and folder). Raises on failure; a journal
// that could not be written whole is removed again where possible.
void Keep(const std::string& heat, const kd3::Header_Bytes& record);

// Removes the journal, durably. Raises when it cannot be removed.
void Remove(const std::string& heat);

bool Exists(const std::string& heat);

// The record kept in a whole journal; nothing when there is no journal or it was cut short.
std::optional<kd3::Header_Bytes> Read(const std::string& heat);

}  // namespace Header_journal
