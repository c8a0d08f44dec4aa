#include "Xml_document.h"

#include "platform/vb/Vb_text.h"

#include "platform/fs/File_system.h"
#include "platform/vb/Code_page.h"
#include "platform/vb/VbError.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>

namespace xml {
namespace {

const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }
const char* C(const xmlChar* s) { return reinterpret_cast<const char*>(s); }
std::string S(std::string_view v) { return std::string(v); }
// Text for a node: the library keeps it zero-terminated, so a zero byte would silently cut it
// short; it becomes "?" like every other character XML cannot hold.
std::string Content(std::string_view v) {
    std::string s(v);
    std::replace(s.begin(), s.end(), '\0', '?');
    return s;
}

void Init_Library() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

void Silent(void*, xmlErrorPtr) {}

constexpr int Parse_Options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_IGNORE_ENC;

// The line `line` (1-based) of the text, without its line end.
std::string Line_Of(std::string_view text, int32_t line) {
    if (line < 1) return {};
    size_t start = 0;
    for (int32_t n = 1; n < line; ++n) {
        size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) return {};
        start = nl + 1;
    }
    size_t end = text.find('\n', start);
    std::string_view l = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    return S(l);
}

// The data of the text's own declaration, "" when it has none.
std::string Declaration_Of(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (!text.starts_with("<?xml") || text.size() < 6 || !std::strchr(" \t\r\n", text[5])) return {};
    size_t end = text.find("?>");
    if (end == std::string_view::npos) return {};
    std::string_view data = text.substr(5, end - 5);
    while (!data.empty() && std::strchr(" \t\r\n", data.front())) data.remove_prefix(1);
    while (!data.empty() && std::strchr(" \t\r\n", data.back())) data.remove_suffix(1);
    return S(data);
}

struct Parsed {
    xmlDocPtr doc = nullptr;
    Parse_Error error;
};

Parsed Parse_Into(std::string_view text) {
    Init_Library();
    Parsed p;
    if (text.size() > static_cast<size_t>(INT_MAX)) {
        p.error = {XML_ERR_INTERNAL_ERROR, "Text too long", 0, 0, ""};
        return p;
    }
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) vb::Raise(vb::Err_Out_Of_Memory);
    p.doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), nullptr, "UTF-8", Parse_Options);
    if (!p.doc || !ctxt->wellFormed) {
        const xmlError* e = xmlCtxtGetLastError(ctxt);
        p.error.Error_Code = e && e->code != 0 ? e->code : XML_ERR_INTERNAL_ERROR;
        p.error.Reason = e && e->message ? e->message : "The text could not be parsed";
        while (!p.error.Reason.empty() && (p.error.Reason.back() == '\n' || p.error.Reason.back() == ' '))
            p.error.Reason.pop_back();
        p.error.Line = e ? e->line : 0;
        p.error.Line_Pos = e ? e->int2 : 0;
        p.error.Src_Text = Line_Of(text, p.error.Line);
        xmlFreeDoc(p.doc);
        p.doc = nullptr;
    } else if (p.doc->intSubset || p.doc->extSubset) {
        size_t at = text.find("<!DOCTYPE");
        if (at == std::string_view::npos) at = 0;
        auto line_start = text.rfind('\n', at);
        line_start = line_start == std::string_view::npos ? 0 : line_start + 1;
        p.error.Error_Code = Err_Dtd_Prohibited;
        p.error.Reason = "DTD is prohibited";
        p.error.Line = static_cast<int32_t>(std::count(text.begin(), text.begin() + at, '\n') + 1);
        p.error.Line_Pos = static_cast<int32_t>(at - line_start + 1);
        p.error.Src_Text = Line_Of(text, p.error.Line);
        xmlFreeDoc(p.doc);
        p.doc = nullptr;
    }
    xmlFreeParserCtxt(ctxt);
    return p;
}

// Decodes one UTF-8 character at `i`; returns its length, or 0 for a malformed sequence.
size_t Utf8_At(std::string_view s, size_t i, char32_t& cp) {
    auto b = static_cast<unsigned char>(s[i]);
    size_t len = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (len == 0 || i + len > s.size()) return 0;
    cp = len == 2 ? b & 0x1F : len == 3 ? b & 0x0F : b & 0x07;
    for (size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return len;
}

// The UTF-8 character at `i` where XML can hold it, else "?"; returns the bytes it took.
size_t Append_Non_Ascii(std::string& out, std::string_view s, size_t i) {
    char32_t cp;
    size_t len = Utf8_At(s, i, cp);
    if (len == 0) {
        out += '?';
        return 1;
    }
    if (cp == 0xFFFE || cp == 0xFFFF)
        out += '?';
    else
        out.append(s.substr(i, len));
    return len;
}

// Character data as XML text; `attribute` escapes for a quoted attribute value instead.
void Append_Escaped(std::string& out, std::string_view s, bool attribute) {
    for (size_t i = 0; i < s.size();) {
        char c = s[i];
        auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            i += Append_Non_Ascii(out, s, i);
            continue;
        }
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += attribute ? ">" : "&gt;"; break;
            case '"': out += attribute ? "&quot;" : "\""; break;
            case '\t': out += attribute ? "&#9;" : "\t"; break;
            case '\n': out += attribute ? "&#10;" : "\r\n"; break;
            case '\r':
                // A line end is written as one; a carriage return before it (escaped) would join it on the
                // next read, so that pair is escaped too and the text reads back as it was.
                if (!attribute && i + 1 < s.size() && s[i + 1] == '\n' && (i == 0 || s[i - 1] != '\r')) {
                    out += "\r\n";
                    ++i;
                } else {
                    out += "&#13;";
                }
                break;
            default: out += b < 0x20 ? '?' : c;
        }
        ++i;
    }
}

// Comments, processing instructions and CDATA: no escapes, only characters XML can hold.
void Append_Raw(std::string& out, std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b >= 0x80) {
            i += Append_Non_Ascii(out, s, i);
            continue;
        }
        out += b < 0x20 && b != '\t' && b != '\n' && b != '\r' ? '?' : s[i];
        ++i;
    }
}

std::string Qualified_Name(const xmlNode* n) {
    std::string name = n->name ? C(n->name) : "";
    if (n->ns && n->ns->prefix) return std::string(C(n->ns->prefix)) + ":" + name;
    return name;
}

void Write(std::string& out, const xmlNode* n) {
    switch (n->type) {
        case XML_ELEMENT_NODE: {
            std::string name = Qualified_Name(n);
            out += '<';
            out += name;
            for (const xmlNs* ns = n->nsDef; ns; ns = ns->next) {
                out += ns->prefix ? std::string(" xmlns:") + C(ns->prefix) : std::string(" xmlns");
                out += "=\"";
                // The parser keeps an "&" of a namespace name as "&#38;" there.
                std::string href = ns->href ? C(ns->href) : "";
                for (size_t at = 0; (at = href.find("&#38;", at)) != std::string::npos; ++at) href.replace(at, 5, "&");
                Append_Escaped(out, href, true);
                out += '"';
            }
            for (const xmlAttr* a = n->properties; a; a = a->next) {
                out += ' ';
                out += Qualified_Name(reinterpret_cast<const xmlNode*>(a));
                out += "=\"";
                xmlChar* v = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(a));
                Append_Escaped(out, v ? C(v) : "", true);
                xmlFree(v);
                out += '"';
            }
            if (!n->children) {
                out += "/>";
                break;
            }
            out += '>';
            for (const xmlNode* c = n->children; c; c = c->next) Write(out, c);
            out += "</";
            out += name;
            out += '>';
            break;
        }
        case XML_TEXT_NODE: Append_Escaped(out, n->content ? C(n->content) : "", false); break;
        case XML_CDATA_SECTION_NODE:
            out += "<![CDATA[";
            Append_Raw(out, n->content ? C(n->content) : "");
            out += "]]>";
            break;
        case XML_COMMENT_NODE:
            out += "<!--";
            Append_Raw(out, n->content ? C(n->content) : "");
            out += "-->";
            break;
        case XML_PI_NODE:
            out += "<?";
            out += C(n->name);
            if (n->content && *n->content) {
                out += ' ';
                Append_Raw(out, C(n->content));
            }
            out += "?>";
            break;
        case XML_ENTITY_REF_NODE:
            out += '&';
            out += C(n->name);
            out += ';';
            break;
        default: break;
    }
}

void Link_Last(xmlNodePtr parent, xmlNodePtr child) {
    child->parent = parent;
    child->next = nullptr;
    child->prev = parent->last;
    if (parent->last)
        parent->last->next = child;
    else
        parent->children = child;
    parent->last = child;
}

bool Is_Latin_Encoding(std::string_view declaration) {
    size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return false;
    size_t q = declaration.find_first_of("\"'", at);
    if (q == std::string_view::npos) return false;
    size_t e = declaration.find(declaration[q], q + 1);
    const std::string enc = vb::LCase(declaration.substr(q + 1, e == std::string_view::npos ? 0 : e - q - 1));
    return enc == "iso-8859-1" || enc == "iso_8859-1" || enc == "latin1" || enc == "windows-1252";
}

}  // namespace

Parse_Error Parse_Text(std::string_view text) {
    Parsed p = Parse_Into(text);
    xmlFreeDoc(p.doc);
    return p.error;
}

// ---- Node ----

std::string Node::Name() const {
    if (!node_) return {};
    switch (node_->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
        case XML_PI_NODE: return Qualified_Name(node_);
        case XML_TEXT_NODE: return "#text";
        case XML_COMMENT_NODE: return "#comment";
        case XML_CDATA_SECTION_NODE: return "#cdata-section";
        case XML_DOCUMENT_NODE: return "#document";
        default: return node_->name ? C(node_->name) : "";
    }
}

Node Node::Next_Sibling() const { return Node(node_ ? node_->next : nullptr); }

std::string Node::Text() const {
    if (!node_) vb::Raise(vb::Err_Object_Not_Set);
    xmlChar* v = xmlNodeGetContent(node_);
    std::string text = v ? C(v) : "";
    xmlFree(v);
    return text;
}

void Node::Set_Text(std::string_view text) const {
    if (!node_) vb::Raise(vb::Err_Object_Not_Set);
    std::string value = Content(text);
    switch (node_->type) {
        case XML_ELEMENT_NODE: {
            xmlFreeNodeList(node_->children);
            node_->children = node_->last = nullptr;
            if (!value.empty()) {
                xmlNodePtr t = xmlNewDocTextLen(node_->doc, X(value), static_cast<int>(value.size()));
                if (!t) vb::Raise(vb::Err_Out_Of_Memory);
                Link_Last(node_, t);
            }
            break;
        }
        case XML_ATTRIBUTE_NODE:
            if (!node_->parent || !xmlSetProp(node_->parent, node_->name, X(value))) vb::Raise(vb::Err_Invalid_Call);
            break;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE: xmlNodeSetContent(node_, X(value)); break;
        default: vb::Raise(vb::Err_Invalid_Call, "This node's text cannot be set");
    }
}

// ---- Document ----

Document::Document() {
    Init_Library();
    Replace_Document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
}

Document::~Document() {
    Free_Unattached();
    xmlXPathFreeContext(xpath_);
    xmlFreeDoc(doc_);
}

void Document::Free_Unattached() {
    for (xmlNodePtr n : unattached_)
        if (!n->parent) xmlFreeNode(n);
    unattached_.clear();
}

void Document::Replace_Document(_xmlDoc* doc) {
    if (!doc) vb::Raise(vb::Err_Out_Of_Memory);
    Free_Unattached();
    xmlXPathFreeContext(xpath_);
    xmlFreeDoc(doc_);
    doc_ = doc;
    xpath_ = xmlXPathNewContext(doc_);
    if (!xpath_) vb::Raise(vb::Err_Out_Of_Memory);
    xpath_->error = Silent;
}

void Document::Clear() { Replace_Document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"))); }

Parse_Error Document::Load_Xml(std::string_view text) {
    Parsed p = Parse_Into(text);
    if (!p.doc) {
        Clear();
        return p.error;
    }
    Replace_Document(p.doc);
    // The declaration is kept as the first node, so that it serialises as it was given.
    std::string declaration = Declaration_Of(text);
    if (!declaration.empty()) {
        xmlNodePtr pi = xmlNewDocPI(doc_, reinterpret_cast<const xmlChar*>("xml"), X(declaration));
        if (!pi) vb::Raise(vb::Err_Out_Of_Memory);
        if (doc_->children)
            xmlAddPrevSibling(doc_->children, pi);
        else
            Link_Last(reinterpret_cast<xmlNodePtr>(doc_), pi);
    }
    return {};
}

std::string Document::Xml() const {
    std::string out;
    out.reserve(16384);
    for (const xmlNode* n = doc_->children; n; n = n->next) {
        if (n->type == XML_DTD_NODE) continue;
        Write(out, n);
        out += "\r\n";
    }
    return out;
}

void Document::Save(const std::string& path) const {
    std::string text = Xml();
    bool latin = false;
    for (const xmlNode* n = doc_->children; n; n = n->next)
        if (n->type == XML_PI_NODE && std::strcmp(C(n->name), "xml") == 0) {
            latin = Is_Latin_Encoding(n->content ? C(n->content) : "");
            break;
        }
    if (latin) text = vb::Utf8_To_Ansi(text);
    if (int error = fs::Write_File_Atomic(path, text)) vb::Raise(vb::Err_Cannot_Perform, std::strerror(error));
}

Node Document::Track(_xmlNode* node) {
    if (!node) vb::Raise(vb::Err_Out_Of_Memory);
    unattached_.push_back(node);
    return Node(node);
}

Node Document::Create_Element(std::string_view name) {
    std::string n = S(name);
    if (xmlValidateName(X(n), 0) != 0) vb::Raise(vb::Err_Invalid_Call, "Invalid element name: " + n);
    return Track(xmlNewDocNode(doc_, nullptr, X(n), nullptr));
}

Node Document::Create_Text_Node(std::string_view text) {
    std::string t = Content(text);
    return Track(xmlNewDocTextLen(doc_, X(t), static_cast<int>(t.size())));
}

Node Document::Create_Comment(std::string_view text) { return Track(xmlNewDocComment(doc_, X(Content(text)))); }

Node Document::Create_Processing_Instruction(std::string_view target, std::string_view data) {
    std::string t = S(target);
    if (xmlValidateName(X(t), 0) != 0) vb::Raise(vb::Err_Invalid_Call, "Invalid target: " + t);
    return Track(xmlNewDocPI(doc_, X(t), X(Content(data))));
}

Node Document::Document_Node() const { return Node(reinterpret_cast<xmlNodePtr>(doc_)); }

Node Document::Document_Element() const { return Node(xmlDocGetRootElement(doc_)); }

void Document::Append_Child(Node parent, Node child) {
    xmlNodePtr p = parent.node_, c = child.node_;
    if (!p || !c) vb::Raise(vb::Err_Object_Not_Set);
    if (c->doc != doc_ || p->doc != doc_ || c->type == XML_DOCUMENT_NODE || c->type == XML_ATTRIBUTE_NODE)
        vb::Raise(vb::Err_Invalid_Call, "The node cannot be inserted here");
    for (xmlNodePtr a = p; a; a = a->parent)
        if (a == c) vb::Raise(vb::Err_Invalid_Call, "A node cannot be inserted into itself");
    if (p->type == XML_DOCUMENT_NODE) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE ||
            (c->type == XML_ELEMENT_NODE && xmlDocGetRootElement(doc_) && xmlDocGetRootElement(doc_) != c))
            vb::Raise(vb::Err_Invalid_Call, "The document holds one root element and no text");
    } else if (p->type != XML_ELEMENT_NODE) {
        vb::Raise(vb::Err_Invalid_Call, "This node cannot hold children");
    }
    if (c->parent) xmlUnlinkNode(c);
    auto it = std::find(unattached_.rbegin(), unattached_.rend(), c);
    if (it != unattached_.rend()) unattached_.erase(std::next(it).base());
    Link_Last(p, c);
}

void Document::Insert_After(Node reference, Node child) {
    xmlNodePtr r = reference.node_;
    if (!r || !r->parent || r->parent->type != XML_ELEMENT_NODE) vb::Raise(vb::Err_Invalid_Call, "No place to insert");
    if (!child.node_ || child.node_ == r) vb::Raise(vb::Err_Invalid_Call, "The node cannot be inserted here");
    Append_Child(Node(r->parent), child);  // every check and the bookkeeping of a move, then into place
    xmlNodePtr c = child.node_, p = r->parent;
    if (r->next == c) return;
    p->last = c->prev;
    p->last->next = nullptr;
    c->prev = r;
    c->next = r->next;
    r->next->prev = c;
    r->next = c;
}

void Document::Set_Attribute(Node element, std::string_view name, std::string_view value) {
    if (!element.node_) vb::Raise(vb::Err_Object_Not_Set);
    std::string n = S(name);
    if (element.node_->type != XML_ELEMENT_NODE || xmlValidateName(X(n), 0) != 0)
        vb::Raise(vb::Err_Invalid_Call, "Invalid attribute: " + n);
    if (!xmlSetProp(element.node_, X(n), X(Content(value)))) vb::Raise(vb::Err_Out_Of_Memory);
}

Node Document::Select_Single_Node(const std::string& xpath) const {
    xpath_->node = reinterpret_cast<xmlNodePtr>(doc_);
    xmlResetError(&xpath_->lastError);
    xmlXPathCompExprPtr comp = xmlXPathCtxtCompile(xpath_, X(xpath));
    if (!comp) {
        std::string why = xpath_->lastError.message ? C(reinterpret_cast<const xmlChar*>(xpath_->lastError.message)) : "";
        while (!why.empty() && why.back() == '\n') why.pop_back();
        vb::Raise(vb::Err_Invalid_Call, (why.empty() ? "Invalid XPath expression" : why) + ": '" + xpath + "'");
    }
    xmlXPathObjectPtr result = xmlXPathCompiledEval(comp, xpath_);
    xmlXPathFreeCompExpr(comp);
    if (!result) vb::Raise(vb::Err_Invalid_Call, "The XPath expression cannot be evaluated: '" + xpath + "'");
    xmlNodePtr found = nullptr;
    if (result->type == XPATH_NODESET && result->nodesetval && result->nodesetval->nodeNr > 0) {
        xmlXPathNodeSetSort(result->nodesetval);
        found = result->nodesetval->nodeTab[0];
        if (found->type == XML_NAMESPACE_DECL) found = nullptr;
    }
    xmlXPathFreeObject(result);
    return Node(found);
}

}  // namespace xml
