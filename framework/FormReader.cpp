#include "framework/FormReader.h"

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Utils.h"

#include <windows.h>

namespace {

// ---------------------------------------------------------------------------
// Tokens

struct Token {
    enum Type { End, Ident, String, Integer, Float, Binary, Symbol } type = End;
    std::wstring text; // Ident, String; Symbol: the character
    long long integer = 0;
    double number = 0;
    std::vector<std::uint8_t> bytes;
    int line = 1;

    bool Is(wchar_t sym) const { return type == Symbol && text.size() == 1 && text[0] == sym; }
    bool IsWord(std::wstring_view w) const { return type == Ident && SameText(text, w); }
    std::wstring Describe() const {
        switch (type) {
        case End:
            return L"the end of the description";
        case String:
            return L"'" + text + L"'";
        case Integer:
            return std::to_wstring(integer);
        case Float:
            return std::to_wstring(number);
        case Binary:
            return L"binary data";
        default:
            return L"'" + text + L"'";
        }
    }
};

[[noreturn]] void Fail(std::wstring_view source, int line, const std::wstring& problem) {
    throw EFormDescriptionError(L"Form description " + std::wstring(source) + L", line " +
                                std::to_wstring(line) + L": " + problem);
}

bool IsIdentStart(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
int HexValue(wchar_t c) {
    if (IsDigit(c)) return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

class Lexer {
  public:
    Lexer(std::wstring_view text, std::wstring_view source) : s_(text), source_(source) {}

    Token Next() {
        SkipBlanks();
        Token t;
        t.line = line_;
        if (pos_ >= s_.size()) return t;
        wchar_t c = s_[pos_];
        if (IsIdentStart(c)) {
            size_t start = pos_;
            while (pos_ < s_.size() &&
                   (IsIdentStart(s_[pos_]) || IsDigit(s_[pos_]) ||
                    (s_[pos_] == L'.' && pos_ + 1 < s_.size() && IsIdentStart(s_[pos_ + 1]))))
                ++pos_;
            t.type = Token::Ident;
            t.text = s_.substr(start, pos_ - start);
        } else if (c == L'\'' || c == L'#') {
            t.type = Token::String;
            t.text = ReadString();
        } else if (IsDigit(c) || c == L'$') {
            ReadNumber(t);
        } else if (c == L'{') {
            ReadBinary(t);
        } else {
            t.type = Token::Symbol;
            t.text = std::wstring(1, c);
            ++pos_;
        }
        return t;
    }

    std::wstring_view Source() const { return source_; }

  private:
    void SkipBlanks() {
        while (pos_ < s_.size()) {
            wchar_t c = s_[pos_];
            if (c == L'\n') {
                ++line_;
                ++pos_;
            } else if (c == L' ' || c == L'\t' || c == L'\r' || c == 0xFEFF) {
                ++pos_;
            } else if (c == L'/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == L'/') {
                while (pos_ < s_.size() && s_[pos_] != L'\n')
                    ++pos_;
            } else {
                break;
            }
        }
    }

    // 'quoted' pieces ('' is a quote) and #nnn / #$hhhh character codes, adjacent.
    std::wstring ReadString() {
        std::wstring out;
        while (pos_ < s_.size()) {
            wchar_t c = s_[pos_];
            if (c == L'\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == L'\n')
                        Fail(source_, line_, L"unterminated string");
                    if (s_[pos_] == L'\'') {
                        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == L'\'') {
                            out += L'\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    out += s_[pos_++];
                }
            } else if (c == L'#') {
                ++pos_;
                unsigned long code = 0;
                bool hex = pos_ < s_.size() && s_[pos_] == L'$';
                if (hex) ++pos_;
                size_t start = pos_;
                while (pos_ < s_.size() && (hex ? HexValue(s_[pos_]) >= 0 : IsDigit(s_[pos_]))) {
                    code = code * (hex ? 16 : 10) +
                           unsigned(hex ? HexValue(s_[pos_]) : s_[pos_] - L'0');
                    if (code > 0x10FFFF) Fail(source_, line_, L"character code out of range");
                    ++pos_;
                }
                if (pos_ == start) Fail(source_, line_, L"a character code is expected after '#'");
                if (code >= 0x10000) {
                    code -= 0x10000;
                    out += wchar_t(0xD800 + (code >> 10));
                    out += wchar_t(0xDC00 + (code & 0x3FF));
                } else {
                    out += wchar_t(code);
                }
            } else {
                break;
            }
        }
        return out;
    }

    void ReadNumber(Token& t) {
        if (s_[pos_] == L'$') {
            ++pos_;
            size_t start = pos_;
            unsigned long long v = 0;
            while (pos_ < s_.size() && HexValue(s_[pos_]) >= 0) {
                v = v * 16 + unsigned(HexValue(s_[pos_++]));
                if (v > 0xFFFFFFFFFFFFull) Fail(source_, line_, L"number out of range");
            }
            if (pos_ == start) Fail(source_, line_, L"hexadecimal digits are expected after '$'");
            t.type = Token::Integer;
            t.integer = (long long)v;
            return;
        }
        size_t start = pos_;
        while (pos_ < s_.size() && IsDigit(s_[pos_]))
            ++pos_;
        bool isFloat = false;
        if (pos_ + 1 < s_.size() && s_[pos_] == L'.' && IsDigit(s_[pos_ + 1])) {
            isFloat = true;
            ++pos_;
            while (pos_ < s_.size() && IsDigit(s_[pos_]))
                ++pos_;
        }
        if (pos_ < s_.size() && (s_[pos_] == L'e' || s_[pos_] == L'E')) {
            size_t save = pos_++;
            if (pos_ < s_.size() && (s_[pos_] == L'+' || s_[pos_] == L'-')) ++pos_;
            if (pos_ < s_.size() && IsDigit(s_[pos_])) {
                isFloat = true;
                while (pos_ < s_.size() && IsDigit(s_[pos_]))
                    ++pos_;
            } else {
                pos_ = save;
            }
        }
        std::wstring digits(s_.substr(start, pos_ - start));
        if (pos_ < s_.size() && IsIdentStart(s_[pos_]))
            Fail(source_, line_, L"malformed number '" + digits + s_[pos_] + L"'");
        try {
            if (isFloat) {
                t.type = Token::Float;
                t.number = std::stod(digits);
            } else {
                t.type = Token::Integer;
                t.integer = std::stoll(digits);
            }
        } catch (const std::exception&) {
            Fail(source_, line_, L"number out of range: " + digits);
        }
    }

    void ReadBinary(Token& t) {
        int startLine = line_;
        ++pos_;
        int high = -1;
        while (pos_ < s_.size() && s_[pos_] != L'}') {
            wchar_t c = s_[pos_++];
            if (c == L'\n') ++line_;
            if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') continue;
            int h = HexValue(c);
            if (h < 0) Fail(source_, line_, L"hexadecimal digits are expected in binary data");
            if (high < 0) {
                high = h;
            } else {
                t.bytes.push_back(std::uint8_t(high * 16 + h));
                high = -1;
            }
        }
        if (pos_ >= s_.size()) Fail(source_, startLine, L"binary data without '}'");
        if (high >= 0) Fail(source_, line_, L"binary data with an odd number of digits");
        ++pos_;
        t.type = Token::Binary;
    }

    std::wstring_view s_;
    std::wstring_view source_;
    size_t pos_ = 0;
    int line_ = 1;
};

// ---------------------------------------------------------------------------
// Parser

class Parser {
  public:
    Parser(std::wstring_view text, std::wstring_view source) : lex_(text, source), source_(source) {
        Advance();
    }

    TObjectDescription ParseRoot() {
        if (!tok_.IsWord(L"object") && !tok_.IsWord(L"inherited"))
            Fail(source_, tok_.line, L"'object' expected, found " + tok_.Describe());
        TObjectDescription d = ParseObject();
        if (tok_.type != Token::End)
            Fail(source_, tok_.line, L"text after the final 'end': " + tok_.Describe());
        return d;
    }

  private:
    void Advance() { tok_ = lex_.Next(); }

    std::wstring ExpectIdent(const wchar_t* what) {
        if (tok_.type != Token::Ident)
            Fail(source_, tok_.line, std::wstring(what) + L" expected, found " + tok_.Describe());
        std::wstring s = tok_.text;
        Advance();
        return s;
    }

    void Expect(wchar_t sym) {
        if (!tok_.Is(sym))
            Fail(source_, tok_.line,
                 L"'" + std::wstring(1, sym) + L"' expected, found " + tok_.Describe());
        Advance();
    }

    TObjectDescription ParseObject() {
        TObjectDescription d;
        d.line = tok_.line;
        Advance(); // object
        d.name = ExpectIdent(L"a component name");
        Expect(L':');
        d.className = ExpectIdent(L"a class name");
        for (;;) {
            if (tok_.type == Token::End)
                Fail(source_, tok_.line,
                     L"missing 'end' of object " + d.name + L" (opened on line " +
                         std::to_wstring(d.line) + L")");
            if (tok_.IsWord(L"end")) {
                Advance();
                return d;
            }
            if (tok_.IsWord(L"object") || tok_.IsWord(L"inherited")) {
                d.children.push_back(ParseObject());
                continue;
            }
            if (tok_.type != Token::Ident)
                Fail(source_, tok_.line, L"a property name expected, found " + tok_.Describe());
            if (!d.children.empty())
                Fail(source_, tok_.line,
                     L"property " + tok_.text + L" must come before the nested objects");
            TPropertyAssignment a;
            a.line = tok_.line;
            a.name = tok_.text;
            Advance();
            if (!tok_.Is(L'='))
                Fail(source_, tok_.line,
                     L"'=' expected after " + a.name + L", found " + tok_.Describe());
            Advance();
            a.value = ParseValue();
            d.properties.push_back(std::move(a));
        }
    }

    TValue ParseValue() {
        TValue v;
        int line = tok_.line;
        if (tok_.type == Token::String) {
            std::wstring s = tok_.text;
            Advance();
            // 'long' + 'text' may continue on the next line
            while (tok_.Is(L'+')) {
                Advance();
                if (tok_.type != Token::String)
                    Fail(source_, tok_.line, L"a string expected after '+'");
                s += tok_.text;
                Advance();
            }
            return TValue::Str(std::move(s));
        }
        if (tok_.Is(L'-') || tok_.Is(L'+')) {
            bool negative = tok_.Is(L'-');
            Advance();
            if (tok_.type == Token::Integer) {
                v = TValue::Int(negative ? -tok_.integer : tok_.integer);
            } else if (tok_.type == Token::Float) {
                v = TValue::Float(negative ? -tok_.number : tok_.number);
            } else {
                Fail(source_, line, L"a number expected after the sign");
            }
            Advance();
            return v;
        }
        switch (tok_.type) {
        case Token::Integer:
            v = TValue::Int(tok_.integer);
            break;
        case Token::Float:
            v = TValue::Float(tok_.number);
            break;
        case Token::Binary:
            v.kind = TValue::Kind::Binary;
            v.bytes = tok_.bytes;
            break;
        case Token::Ident:
            if (tok_.IsWord(L"True") || tok_.IsWord(L"False"))
                v = TValue::Bool(tok_.IsWord(L"True"));
            else
                v = TValue::Ident(tok_.text);
            break;
        case Token::Symbol:
            if (tok_.Is(L'[')) return ParseSet();
            if (tok_.Is(L'(')) return ParseList();
            if (tok_.Is(L'<')) return ParseCollection();
            [[fallthrough]];
        default:
            Fail(source_, line, L"a value expected, found " + tok_.Describe());
        }
        Advance();
        return v;
    }

    TValue ParseSet() {
        Advance();
        std::vector<std::wstring> names;
        if (!tok_.Is(L']')) {
            for (;;) {
                names.push_back(ExpectIdent(L"a set element"));
                if (tok_.Is(L']')) break;
                Expect(L',');
            }
        }
        Advance();
        return TValue::SetOf(std::move(names));
    }

    TValue ParseList() {
        int line = tok_.line;
        Advance();
        std::vector<std::wstring> lines;
        while (!tok_.Is(L')')) {
            if (tok_.type == Token::End) Fail(source_, line, L"list without ')'");
            if (tok_.type != Token::String)
                Fail(source_, tok_.line,
                     L"a string expected in the list, found " + tok_.Describe());
            std::wstring s = tok_.text;
            Advance();
            while (tok_.Is(L'+')) {
                Advance();
                if (tok_.type != Token::String)
                    Fail(source_, tok_.line, L"a string expected after '+'");
                s += tok_.text;
                Advance();
            }
            lines.push_back(std::move(s));
        }
        Advance();
        return TValue::Strings(std::move(lines));
    }

    TValue ParseCollection() {
        int line = tok_.line;
        Advance();
        auto items = std::make_shared<std::vector<std::vector<TPropertyAssignment>>>();
        while (!tok_.Is(L'>')) {
            if (!tok_.IsWord(L"item"))
                Fail(source_, tok_.line,
                     L"'item' expected in the collection, found " + tok_.Describe());
            int itemLine = tok_.line;
            Advance();
            std::vector<TPropertyAssignment> props;
            while (!tok_.IsWord(L"end")) {
                if (tok_.type == Token::End)
                    Fail(source_, itemLine, L"missing 'end' of a collection item");
                TPropertyAssignment a;
                a.line = tok_.line;
                a.name = ExpectIdent(L"a property name");
                Expect(L'=');
                a.value = ParseValue();
                props.push_back(std::move(a));
            }
            Advance();
            items->push_back(std::move(props));
        }
        (void)line;
        Advance();
        TValue v;
        v.kind = TValue::Kind::Collection;
        v.items = std::move(items);
        return v;
    }

    Lexer lex_;
    std::wstring_view source_;
    Token tok_;
};

// ---------------------------------------------------------------------------
// Applying a description

struct Fixup {
    void* self;
    const TPropertyInfo* property;
    std::wstring target;
    int line;
};

struct ReaderState {
    TComponent* root = nullptr;
    std::wstring source;
    std::vector<TComponent*> loaded;
    std::vector<Fixup> fixups;
    // The object being made, until its own properties are applied.
    const TComponent* making = nullptr;
    const TObjectDescription* makingDescription = nullptr;
};

thread_local ReaderState* gReader = nullptr;

// A window whose description is already open under the same owner (a
// message window opened from another's loop) is told apart by a number.
std::wstring UniqueRootName(const TComponent& root, const std::wstring& name) {
    const TComponent* owner = root.Owner();
    if (!owner || !owner->FindComponent(name)) return name;
    for (int n = 1;; ++n) {
        std::wstring numbered = name + L"_" + std::to_wstring(n);
        if (!owner->FindComponent(numbered)) return numbered;
    }
}

TComponent* FindByName(ReaderState& st, std::wstring_view name) {
    if (SameText(st.root->Name(), name)) return st.root;
    return st.root->FindComponent(name);
}

void ApplyAssignment(ReaderState& st, void* self, const TClassInfo& cls,
                     const TPropertyAssignment& a) {
    const TClassInfo* c = &cls;
    std::wstring_view rest = a.name;
    const TPropertyInfo* p = nullptr;
    for (;;) {
        size_t dot = rest.find(L'.');
        std::wstring_view head = rest.substr(0, dot);
        p = c->FindProperty(head);
        if (!p)
            Fail(st.source, a.line,
                 L"unknown property '" + std::wstring(a.name) + L"' of " + cls.name);
        if (dot == std::wstring_view::npos) break;
        if (p->kind != TPropertyKind::Object)
            Fail(st.source, a.line, L"property " + std::wstring(head) + L" has no sub-properties");
        self = p->subObject(self);
        c = p->subClass;
        rest = rest.substr(dot + 1);
    }
    try {
        if (p->kind == TPropertyKind::Event) {
            if (a.value.kind != TValue::Kind::Ident)
                Fail(st.source, a.line, L"a handler name is expected for " + a.name);
            const THandlerInfo* h = st.root->ClassType().FindHandler(a.value.text);
            if (!h)
                Fail(st.source, a.line,
                     L"unknown handler '" + a.value.text + L"' for " + a.name + L" (no method of " +
                         st.root->ClassName() + L")");
            TValue bound;
            bound.kind = TValue::Kind::Handler;
            bound.handler = h->bind(*st.root);
            p->set(self, bound);
        } else if (p->kind == TPropertyKind::Component && a.value.kind == TValue::Kind::Ident &&
                   !SameText(a.value.text, L"nil")) {
            if (TComponent* target = FindByName(st, a.value.text))
                p->set(self, TValue::Ref(target));
            else
                st.fixups.push_back({self, p, a.value.text, a.line}); // declared further down
        } else {
            p->set(self, a.value);
        }
    } catch (const EPropertyError& e) {
        Fail(st.source, a.line, L"bad value for " + a.name + L": " + e.Message());
    } catch (const EFormDescriptionError&) {
        throw;
    } catch (const std::exception& e) {
        Fail(st.source, a.line, L"setting " + a.name + L" failed: " + ExceptionMessage(e));
    }
}

void ApplyAll(ReaderState& st, TObject& obj, const std::vector<TPropertyAssignment>& props) {
    for (auto& a : props)
        ApplyAssignment(st, static_cast<void*>(&obj), obj.ClassType(), a);
}

void CreateChildren(ReaderState& st, TObject& parent, const TObjectDescription& d);

void CreateObject(ReaderState& st, TObject& parent, const TObjectDescription& d) {
    const TClassInfo* cls = FindClass(d.className);
    if (!cls) Fail(st.source, d.line, L"unknown class '" + d.className + L"'");
    if (!cls->factory) Fail(st.source, d.line, L"class " + d.className + L" cannot be created");
    TComponent* c = nullptr;
    try {
        c = cls->factory(st.root);
    } catch (const std::exception& e) {
        Fail(st.source, d.line, L"creating " + d.name + L" failed: " + ExceptionMessage(e));
    }
    c->SetLoading(true);
    st.loaded.push_back(c);
    try {
        c->SetName(d.name);
    } catch (const EComponentError& e) {
        Fail(st.source, d.line, e.Message());
    }
    st.making = c;
    st.makingDescription = &d;
    if (auto* control = dynamic_cast<TControl*>(c)) {
        auto* container = dynamic_cast<TWinControl*>(&parent);
        if (!container)
            Fail(st.source, d.line,
                 d.name + L" is a control, but its enclosing object holds no controls");
        control->SetParent(container);
    }
    if (const TFieldInfo* f = st.root->ClassType().FindField(d.name))
        if (!f->assign(*st.root, c))
            Fail(st.source, d.line,
                 L"field " + d.name + L" of " + st.root->ClassName() + L" does not take a " +
                     d.className);
    ApplyAll(st, *c, d.properties);
    st.making = nullptr;
    st.makingDescription = nullptr;
    CreateChildren(st, *c, d);
}

void CreateChildren(ReaderState& st, TObject& parent, const TObjectDescription& d) {
    for (auto& child : d.children)
        CreateObject(st, parent, child);
}

struct ReaderScope {
    explicit ReaderScope(ReaderState* st) : previous(gReader) { gReader = st; }
    ~ReaderScope() { gReader = previous; }
    ReaderState* previous;
};

} // namespace

TObjectDescription ParseFormDescription(std::wstring_view text, std::wstring_view sourceName) {
    return Parser(text, sourceName).ParseRoot();
}

std::wstring LoadTextResource(std::wstring_view resourceName) {
    std::wstring name(resourceName);
    HINSTANCE inst = MainInstance();
    HRSRC res = FindResourceW(inst, name.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!res) throw EResourceError(L"Resource " + name + L" not found");
    HGLOBAL mem = LoadResource(inst, res);
    const void* data = mem ? LockResource(mem) : nullptr;
    DWORD size = SizeofResource(inst, res);
    if (!data) throw EResourceError(L"Resource " + name + L" cannot be read");
    std::string_view bytes(static_cast<const char*>(data), size);
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return Utf8ToWide(bytes);
}

void ReadComponent(TComponent& root, const TObjectDescription& d, std::wstring_view sourceName) {
    ReaderState st;
    st.root = &root;
    st.source = sourceName;
    ReaderScope scope(&st);

    bool classFits = false;
    for (const TClassInfo* c = &root.ClassType(); c; c = c->parent)
        classFits = classFits || SameText(c->name, d.className);
    if (!classFits)
        Fail(st.source, d.line,
             L"the description is of class " + d.className + L", the object is a " +
                 root.ClassName());

    root.SetLoading(true);
    st.loaded.push_back(&root);
    try {
        if (root.Name().empty()) root.SetName(UniqueRootName(root, d.name));
        ApplyAll(st, root, d.properties);
        CreateChildren(st, root, d);
        for (auto& f : st.fixups) {
            TComponent* target = FindByName(st, f.target);
            if (!target) Fail(st.source, f.line, L"unknown component '" + f.target + L"'");
            try {
                f.property->set(f.self, TValue::Ref(target));
            } catch (const EPropertyError& e) {
                Fail(st.source, f.line, L"bad value for " + f.property->name + L": " + e.Message());
            }
        }
    } catch (...) {
        for (TComponent* c : st.loaded)
            c->SetLoading(false);
        throw;
    }
    for (TComponent* c : st.loaded) {
        c->Loaded();
        c->SetLoading(false);
    }
}

void ReadComponentText(TComponent& root, std::wstring_view text, std::wstring_view sourceName) {
    ReadComponent(root, ParseFormDescription(text, sourceName), sourceName);
}

void ReadComponentResource(TComponent& root, std::wstring_view resourceName) {
    std::wstring text = LoadTextResource(resourceName);
    ReadComponentText(root, text, resourceName);
}

bool DescriptionStores(const TComponent& component, std::wstring_view property) {
    if (!gReader || gReader->making != &component || !gReader->makingDescription) return false;
    const auto& stored = gReader->makingDescription->properties;
    return std::any_of(stored.begin(), stored.end(),
                       [&](const TPropertyAssignment& p) { return SameText(p.name, property); });
}

void ApplyStoredProperties(TObject& target, const std::vector<TPropertyAssignment>& properties) {
    if (gReader) {
        ApplyAll(*gReader, target, properties);
        return;
    }
    // Outside a reader: references resolve among the target's fellow components.
    ReaderState st;
    TComponent* root = dynamic_cast<TComponent*>(&target);
    while (root && root->Owner())
        root = root->Owner();
    if (!root) throw EInvalidOperation(L"stored properties need a component to resolve names");
    st.root = root;
    st.source = L"(properties)";
    ApplyAll(st, target, properties);
}
