#pragma once
// The resources compiled into the program.
#include <cstdint>
#include <string>
#include <vector>

namespace resources {

// The bytes of a resource of a kind ("bitmap", "cursor", "custom") and a name or number; error 326
// ("Resource with identifier ... not found") when there is none.
std::vector<uint8_t> Load_Res_Data(const std::string& kind, const std::string& name);

}  // namespace resources
