#pragma once
// How deeply the elements of a document nest, measured without recursion.

#include <cstddef>

// True when an element of `text` lies more than `maxDepth` levels deep (the root is level 1).
// TinyXML recurses once per level, so this reads the same tokens its parser reads, with TinyXML's own
// token readers, and keeps the open elements in a counter; it stops where the parser would stop, and
// it takes time linear in the length of the text.
// Like TinyXML, it may step up to three bytes past the terminating zero after a UTF-8 lead byte, so
// `text` must be followed by three more zero bytes.
bool XmlNestsDeeperThan(const char* text, std::size_t maxDepth);
