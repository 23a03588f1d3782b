// Tokenizer and recursive reader for text X files.
#include <charconv>
#include <cstring>

#include "platform/d3dx9/float_chars.h"
#include "platform/d3dx9/xfile_objects.h"

namespace d3dx {

namespace {

enum class Token { End, Name, Number, String, Open, Close, Separator, Error };

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Tokenizer {
public:
    Tokenizer(const char* begin, const char* end) : p_(begin), end_(end) {}

    // Reads the next token; its text (name, string contents) is in Text().
    Token Next() {
        SkipSpaceAndComments();
        while (p_ < end_ && *p_ == '<') {  // GUIDs identify templates the reader does not need
            if (!SkipGuid()) return Token::Error;
            SkipSpaceAndComments();
        }
        if (p_ >= end_) return Token::End;
        char c = *p_;
        if (c == '{') return ++p_, Token::Open;
        if (c == '}') return ++p_, Token::Close;
        if (c == ';' || c == ',') return ++p_, Token::Separator;
        if (c == '"') return ReadString();
        if (IsDigit(c) || c == '-' || c == '+' || c == '.') return ReadNumber();
        if (IsNameStart(c)) return ReadName();
        error_ = "unexpected character";
        return Token::Error;
    }

    const std::string& Text() const { return text_; }
    double Number() const { return number_; }
    const char* Error() const { return error_; }

    // Steps over a template body up to its closing brace: templates only
    // describe layouts ("array DWORD indices[n];", "[...]") and hold no braces.
    bool SkipPast(char close) {
        const void* found = std::memchr(p_, close, static_cast<size_t>(end_ - p_));
        if (!found) return false;
        p_ = static_cast<const char*>(found) + 1;
        return true;
    }

private:
    void SkipSpaceAndComments() {
        while (p_ < end_) {
            char c = *p_;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                ++p_;
            } else if (c == '#' || (c == '/' && p_ + 1 < end_ && p_[1] == '/')) {
                while (p_ < end_ && *p_ != '\n') ++p_;
            } else {
                break;
            }
        }
    }

    bool SkipGuid() {
        const void* close = std::memchr(p_, '>', static_cast<size_t>(end_ - p_));
        if (!close) {
            error_ = "unterminated GUID";
            return false;
        }
        p_ = static_cast<const char*>(close) + 1;
        return true;
    }

    Token ReadString() {
        const char* start = p_ + 1;
        const void* close = std::memchr(start, '"', static_cast<size_t>(end_ - start));
        if (!close) {
            error_ = "unterminated string";
            return Token::Error;
        }
        text_.assign(start, static_cast<const char*>(close));
        p_ = static_cast<const char*>(close) + 1;
        return Token::String;
    }

    Token ReadNumber() {
        const char* start = p_;
        if (*start == '+') ++start;  // from_chars takes no plus sign
        auto [next, ec] = FloatFromChars(start, end_, number_);
        if (ec != std::errc() || next == start) {
            error_ = "malformed number";
            return Token::Error;
        }
        p_ = next;
        return Token::Number;
    }

    Token ReadName() {
        const char* start = p_;
        while (p_ < end_ && IsNameChar(*p_)) ++p_;
        text_.assign(start, p_);
        return Token::Name;
    }

    const char* p_;
    const char* end_;
    std::string text_;
    double number_ = 0;
    const char* error_ = "";
};

class Reader {
public:
    Reader(const char* begin, const char* end, XDocument* document) : tokens_(begin, end), document_(document) {}

    bool ReadFile() {
        for (;;) {
            Token token = tokens_.Next();
            if (token == Token::End) return true;
            if (token == Token::Separator) continue;  // stray separators between objects
            if (token != Token::Name) return Fail(token == Token::Error ? tokens_.Error() : "expected an object");
            std::string type = tokens_.Text();
            if (type == "template") {
                if (!SkipTemplate()) return false;
                continue;
            }
            auto object = std::make_unique<XObject>();
            if (!ReadObject(std::move(type), object.get(), 1)) return false;
            document_->objects.push_back(std::move(object));
        }
    }

    const std::string& Error() const { return error_; }

private:
    bool Fail(const char* why) {
        error_ = why;
        return false;
    }

    bool SkipTemplate() {
        if (tokens_.Next() != Token::Name) return Fail("template without a name");
        if (tokens_.Next() != Token::Open) return Fail("template without a body");
        if (!tokens_.SkipPast('}')) return Fail("unterminated template");
        return true;
    }

    // After the type name: [name] '{' body '}'.
    bool ReadObject(std::string type, XObject* object, int depth) {
        if (depth > kMaxXNesting) return Fail("objects nested too deeply");
        object->type = std::move(type);
        Token token = tokens_.Next();
        if (token == Token::Name) {
            object->name = tokens_.Text();
            token = tokens_.Next();
        }
        if (token != Token::Open) return Fail("expected '{' after object type");
        for (;;) {
            token = tokens_.Next();
            switch (token) {
            case Token::Close: return true;
            case Token::Separator: break;
            case Token::Number: object->values.push_back(XValue{false, tokens_.Number(), {}}); break;
            case Token::String: object->values.push_back(XValue{true, 0, tokens_.Text()}); break;
            case Token::Open:
                if (!ReadReference(object)) return false;
                break;
            case Token::Name: {
                auto child = std::make_unique<XObject>();
                if (!ReadObject(tokens_.Text(), child.get(), depth + 1)) return false;
                object->children.push_back(XChild{std::move(child), {}});
                break;
            }
            case Token::End: return Fail("unterminated object");
            case Token::Error: return Fail(tokens_.Error());
            }
        }
    }

    // After '{': Name '}' (a GUID may follow the name and is skipped).
    bool ReadReference(XObject* object) {
        Token token = tokens_.Next();
        if (token != Token::Name) return Fail("malformed reference");
        std::string name = tokens_.Text();
        if (tokens_.Next() != Token::Close) return Fail("unterminated reference");
        object->children.push_back(XChild{nullptr, std::move(name)});
        return true;
    }

    Tokenizer tokens_;
    XDocument* document_;
    std::string error_;
};

void IndexNames(const XObject& object, XDocument* document) {
    if (!object.name.empty()) document->named.try_emplace(object.name, &object);
    for (const XChild& child : object.children)
        if (child.object) IndexNames(*child.object, document);
}

}  // namespace

XReadResult ReadXDocument(const uint8_t* data, size_t size, XDocument* document, std::string* error) {
    document->objects.clear();
    document->named.clear();
    auto fail = [&](XReadResult result, const std::string& why) {
        if (error) *error = why;
        document->objects.clear();
        document->named.clear();
        return result;
    };
    if (size < 16 || std::memcmp(data, "xof ", 4) != 0) return fail(XReadResult::NotText, "X file: missing header");
    const char* header = reinterpret_cast<const char*>(data);
    if (std::memcmp(header + 8, "txt ", 4) != 0)
        return fail(XReadResult::NotText, "X file: only the text format is supported");
    if (std::memcmp(header + 12, "0032", 4) != 0 && std::memcmp(header + 12, "0064", 4) != 0)
        return fail(XReadResult::Malformed, "X file: bad float size in header");
    Reader reader(header + 16, header + size, document);
    if (!reader.ReadFile()) return fail(XReadResult::Malformed, "X file: " + reader.Error());
    // Named objects are indexed once the tree no longer moves; the first definition of a name wins.
    for (const auto& object : document->objects) IndexNames(*object, document);
    return XReadResult::Ok;
}

}  // namespace d3dx
