#pragma once
// Helpers of the header tests: the error a call raises, and a fresh header with one element's text
// replaced, to feed the value rules any text.
#include "Test_errors.h"
#include "header/Cls_XML_header.h"
#include "platform/vb/VbError.h"

#include <gtest/gtest.h>
#include <string>

inline std::string Fresh_Header_Text(bool with_rgb = true) {
    Cls_XML_header h;
    h.rgb(with_rgb);
    h.Create_Header();
    return h.XML_string();
}

// The first `<name>...</name>` (or `<name/>`) of `text` given `value` as its whole text; "" removes
// the element.
inline std::string With_Element(std::string text, const std::string& name, const std::string* value) {
    std::string open = "<" + name + ">", empty = "<" + name + "/>", close = "</" + name + ">";
    size_t at = text.find(open), end;
    if (at != std::string::npos) {
        end = text.find(close, at) + close.size();
    } else {
        at = text.find(empty);
        EXPECT_NE(at, std::string::npos) << name;
        end = at + empty.size();
    }
    text.replace(at, end - at, value ? open + *value + close : "");
    return text;
}

inline void Load(Cls_XML_header& h, const std::string& text) { ASSERT_TRUE(h.XML_string(text)) << text; }
