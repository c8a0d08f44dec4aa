#pragma once
#include <string>

namespace Module_Validate_XML {

// Shows "Sub Validate_XML_string failed! ..." with the parser's reason, the position in the line and
// the failing text when `xml` does not parse. Returns whether it parsed.
bool Validate_XML_string(const std::string& xml);

}  // namespace Module_Validate_XML
