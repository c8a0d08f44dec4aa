#pragma once
// An XML document over libxml2 with the operations the header and the XML texts need: parse a text
// with the error's details, build nodes, find the first node for an XPath, read and replace an
// element's text, serialise and save. Parsing never expands entities, never loads a DTD and never
// touches the network; a document type declaration is refused. Text is UTF-8 in memory; the
// encoding a declaration names is not used to decode the text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;
struct _xmlDoc;
struct _xmlXPathContext;

namespace xml {

// The outcome of a parse: Error_Code 0 when the text is well-formed.
struct Parse_Error {
    int32_t Error_Code = 0;
    std::string Reason;    // the parser's explanation
    int32_t Line = 0;      // 1-based line of the failure
    int32_t Line_Pos = 0;  // 1-based position within that line
    std::string Src_Text;  // the text of the failing line
};

// Error code of a text that carries a document type declaration.
inline constexpr int32_t Err_Dtd_Prohibited = 9001;

// Checks a text without keeping it.
Parse_Error Parse_Text(std::string_view text);

// A non-owning handle to a node of a `Document`; false when it names nothing.
class Node {
public:
    Node() = default;
    explicit operator bool() const { return node_ != nullptr; }
    bool operator==(const Node&) const = default;

    std::string Name() const;
    Node Next_Sibling() const;
    // The concatenated text of the node and its descendants.
    std::string Text() const;
    // Replaces the whole content with one text node ("" leaves the element empty). Raises 5 for
    // the document itself.
    void Set_Text(std::string_view text) const;

private:
    friend class Document;
    explicit Node(_xmlNode* node) : node_(node) {}
    _xmlNode* node_ = nullptr;
};

class Document {
public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Replaces the content by the parsed text; a text that does not parse leaves the document empty.
    Parse_Error Load_Xml(std::string_view text);
    void Clear();

    // The whole document: every top-level node (declaration, comments, root) followed by "\r\n".
    // Text escapes "&", "<" and ">"; line ends in text come out as "\r\n"; characters XML cannot
    // hold and malformed UTF-8 become "?".
    std::string Xml() const;
    // Writes `Xml()`, as Windows-1252 when the declaration names a single-byte Latin encoding,
    // else as UTF-8. Raises 17 with the system's reason when the file cannot be written.
    void Save(const std::string& path) const;

    Node Create_Element(std::string_view name);
    Node Create_Text_Node(std::string_view text);
    Node Create_Comment(std::string_view text);
    Node Create_Processing_Instruction(std::string_view target, std::string_view data);

    // The document itself, as the parent of the declaration, comments and the root.
    Node Document_Node() const;
    Node Document_Element() const;
    // Moves `child` to the end of `parent`'s children; adjacent texts stay separate nodes.
    void Append_Child(Node parent, Node child);
    // Moves `child` right after `reference`, under the same parent.
    void Insert_After(Node reference, Node child);
    void Set_Attribute(Node element, std::string_view name, std::string_view value);

    // The first node in document order that the expression selects, or a null node. An expression
    // that does not compile raises 5 with the library's reason.
    Node Select_Single_Node(const std::string& xpath) const;

private:
    void Free_Unattached();
    void Replace_Document(_xmlDoc* doc);
    Node Track(_xmlNode* node);

    _xmlDoc* doc_ = nullptr;
    _xmlXPathContext* xpath_ = nullptr;
    // Created nodes not yet appended anywhere; freed with the content they were made for.
    std::vector<_xmlNode*> unattached_;
};

}  // namespace xml
