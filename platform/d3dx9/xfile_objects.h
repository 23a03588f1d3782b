// Text X files as a tree of data objects, before any meaning is given to them.
//
// A text X file is the 16-byte header "xof 0303txt 0032" (version 0302 or
// 0303, float size 0032 or 0064) followed by templates and data objects:
//
//     Type [Name] { [<guid>] members... child objects... { Reference } }
//
// Templates only describe layouts that the reader already knows, so they are
// skipped. Members are numbers and strings; the ';' and ',' separators carry
// no meaning beyond separating them (exporters disagree on how many they
// write), so each object keeps its members as one flat list in file order,
// and its nested objects and references as a separate list. Comments run
// from "//" or "#" to the end of the line.
//
// The reader checks everything as it goes: unbalanced braces, unterminated
// strings, malformed numbers, stray characters and nesting deeper than
// kMaxXNesting are errors. Nothing is allocated beyond what the bytes hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace d3dx {

constexpr int kMaxXNesting = 128;

struct XValue {
    bool isString = false;
    double number = 0;
    std::string text;
};

struct XObject;

// A nested object, or a reference "{ Name }" to a named object.
struct XChild {
    std::unique_ptr<XObject> object;
    std::string reference;
};

struct XObject {
    std::string type;
    std::string name;
    std::vector<XValue> values;
    std::vector<XChild> children;
};

struct XDocument {
    std::vector<std::unique_ptr<XObject>> objects;          // top-level data objects
    std::unordered_map<std::string, const XObject*> named;  // every named object, first definition wins

    const XObject* Resolve(const std::string& name) const {
        auto found = named.find(name);
        return found == named.end() ? nullptr : found->second;
    }
};

enum class XReadResult { Ok, NotText, Malformed };

// NotText for binary, compressed or non-X data; Malformed for a broken text file.
XReadResult ReadXDocument(const uint8_t* data, size_t size, XDocument* document, std::string* error);

}  // namespace d3dx
