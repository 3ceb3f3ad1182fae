#include "exchange/xml_tree.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <type_traits>

namespace sorvel::exchange {
namespace {

struct TreeBuilder {
    std::unique_ptr<XmlNode> root;
    std::vector<XmlNode*> stack;
    std::size_t elements = 0;
    std::string failure;
    XML_Parser parser = nullptr;

    void fail(std::string why) {
        if (failure.empty()) failure = std::move(why);
        XML_StopParser(parser, XML_FALSE);
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto* b = static_cast<TreeBuilder*>(data);
    if (!b->failure.empty()) return;
    if (b->stack.size() >= kMaxXmlDepth) return b->fail("elements are nested too deeply");
    if (++b->elements > kMaxXmlElements) return b->fail("the file has too many elements");
    auto node = std::make_unique<XmlNode>();
    node->name = name;
    for (std::size_t i = 0; attrs[i] != nullptr; i += 2)
        node->attrs.emplace_back(attrs[i], attrs[i + 1]);
    XmlNode* raw = node.get();
    if (b->stack.empty()) {
        b->root = std::move(node);
    } else {
        b->stack.back()->children.push_back(std::move(node));
    }
    b->stack.push_back(raw);
}

void XMLCALL onEnd(void* data, const XML_Char*) {
    auto* b = static_cast<TreeBuilder*>(data);
    if (!b->stack.empty()) b->stack.pop_back();
}

void XMLCALL onText(void* data, const XML_Char* s, int len) {
    auto* b = static_cast<TreeBuilder*>(data);
    if (b->stack.empty() || !b->failure.empty()) return;
    XmlNode* n = b->stack.back();
    if (n->children.empty()) n->text.append(s, static_cast<std::size_t>(len));
}

void XMLCALL onEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
    static_cast<TreeBuilder*>(data)->fail("the file declares entities, which are not accepted");
}

}  // namespace

const XmlNode* XmlNode::child(std::string_view n) const {
    for (const auto& c : children) {
        if (c->name == n) return c.get();
    }
    return nullptr;
}

std::string_view XmlNode::attr(std::string_view n) const {
    for (const auto& [k, v] : attrs) {
        if (k == n) return v;
    }
    return {};
}

bool XmlNode::hasAttr(std::string_view n) const {
    return std::any_of(attrs.begin(), attrs.end(), [&](const auto& a) { return a.first == n; });
}

std::string_view XmlNode::childText(std::string_view n) const {
    const XmlNode* c = child(n);
    return c != nullptr ? std::string_view(c->text) : std::string_view();
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

XmlTree parseXmlTree(std::string_view text) {
    XmlTree out;
    TreeBuilder b;
    b.parser = XML_ParserCreate(nullptr);
    if (b.parser == nullptr) {
        out.error = "out of memory";
        out.limitHit = true;
        return out;
    }
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> guard(b.parser,
                                                                                   XML_ParserFree);
    XML_SetUserData(b.parser, &b);
    XML_SetElementHandler(b.parser, onStart, onEnd);
    XML_SetCharacterDataHandler(b.parser, onText);
    XML_SetEntityDeclHandler(b.parser, onEntityDecl);
    XML_SetParamEntityParsing(b.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    const auto status = XML_Parse(b.parser, text.data(), static_cast<int>(text.size()), XML_TRUE);
    if (!b.failure.empty()) {
        out.error = b.failure;
        out.limitHit = true;
    } else if (status != XML_STATUS_OK || b.root == nullptr) {
        out.error = "line " + std::to_string(XML_GetCurrentLineNumber(b.parser)) + ": " +
                    XML_ErrorString(XML_GetErrorCode(b.parser));
    } else {
        out.root = std::move(b.root);
    }
    return out;
}

}  // namespace sorvel::exchange
