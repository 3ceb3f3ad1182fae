#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sorvel::exchange {

// Limits on untrusted exchange files: bytes of a document (also of a compressed file and of
// what it unpacks to), element depth and element count.
inline constexpr std::size_t kMaxMusicXmlBytes = 32u * 1024u * 1024u;
inline constexpr std::size_t kMaxXmlDepth = 64;
inline constexpr std::size_t kMaxXmlElements = 1'000'000;

// A small element tree: exchange files are read whole before they are interpreted.
struct XmlNode {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attrs;
    std::string text;  // leaf text only; whitespace between child elements is not kept
    std::vector<std::unique_ptr<XmlNode>> children;

    const XmlNode* child(std::string_view n) const;
    std::string_view attr(std::string_view n) const;
    bool hasAttr(std::string_view n) const;
    std::string_view childText(std::string_view n) const;
};

struct XmlTree {
    std::unique_ptr<XmlNode> root;  // null when the text was refused
    // Why not: a limit ("elements are nested too deeply") when limitHit, else where the text
    // stops being well-formed ("line 3: mismatched tag").
    std::string error;
    bool limitHit = false;
};

// Parses a whole document with expat. Entity declarations are refused and nothing outside the
// text is ever loaded.
XmlTree parseXmlTree(std::string_view text);

std::string_view trimmed(std::string_view s);

}  // namespace sorvel::exchange
