#include "Module_Validate_XML.h"

#include "platform/ui/Dialog_service.h"
#include "platform/xml/Xml_document.h"

namespace Module_Validate_XML {

bool Validate_XML_string(const std::string& xml) {
    xml::Parse_Error error = xml::Parse_Text(xml);
    if (error.Error_Code == 0) return true;
    ui::MsgBox("Sub Validate_XML_string failed! reason = " + error.Reason + " line = " + std::to_string(error.Line_Pos) +
               " srctext = " + error.Src_Text);
    return false;
}

}  // namespace Module_Validate_XML
