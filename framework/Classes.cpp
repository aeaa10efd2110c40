#include "framework/Classes.h"

#include "framework/Graphics.h"

#include <windows.h>

#include <cmath>
#include <map>

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z') x = wchar_t(x - 32);
        if (y >= L'a' && y <= L'z') y = wchar_t(y - 32);
        if (x != y) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Text conversions and messages

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

std::wstring ExceptionMessage(const std::exception& e) {
    if (auto* ours = dynamic_cast<const Exception*>(&e)) return ours->Message();
    if (auto* graphic = dynamic_cast<const EGraphicError*>(&e)) return graphic->Message();
    return Utf8ToWide(e.what());
}

// ---------------------------------------------------------------------------
// Values

TValue TValue::Str(std::wstring s) {
    TValue v;
    v.kind = Kind::String;
    v.text = std::move(s);
    return v;
}
TValue TValue::Int(long long i) {
    TValue v;
    v.kind = Kind::Integer;
    v.integer = i;
    return v;
}
TValue TValue::Float(double d) {
    TValue v;
    v.kind = Kind::Float;
    v.number = d;
    return v;
}
TValue TValue::Bool(bool b) {
    TValue v;
    v.kind = Kind::Boolean;
    v.boolean = b;
    return v;
}
TValue TValue::Ident(std::wstring name) {
    TValue v;
    v.kind = Kind::Ident;
    v.text = std::move(name);
    return v;
}
TValue TValue::SetOf(std::vector<std::wstring> names) {
    TValue v;
    v.kind = Kind::Set;
    v.list = std::move(names);
    return v;
}
TValue TValue::Strings(std::vector<std::wstring> lines) {
    TValue v;
    v.kind = Kind::StringList;
    v.list = std::move(lines);
    return v;
}
TValue TValue::Ref(TComponent* c) {
    TValue v;
    v.kind = Kind::Component;
    v.component = c;
    return v;
}

std::wstring TValue::Describe() const {
    switch (kind) {
    case Kind::None:
        return L"nothing";
    case Kind::String:
        return L"'" + text + L"'";
    case Kind::Integer:
        return std::to_wstring(integer);
    case Kind::Float:
        return std::to_wstring(number);
    case Kind::Boolean:
        return boolean ? L"True" : L"False";
    case Kind::Ident:
        return text;
    case Kind::Set: {
        std::wstring s = L"[";
        for (size_t i = 0; i < list.size(); ++i)
            s += (i ? L", " : L"") + list[i];
        return s + L"]";
    }
    case Kind::StringList:
        return L"a list of strings";
    case Kind::Binary:
        return L"binary data";
    case Kind::Collection:
        return L"a collection";
    case Kind::Component:
        return component ? L"component " + detail::ComponentName(component) : L"nil";
    case Kind::Handler:
        return L"an event handler";
    }
    return L"?";
}

// ---------------------------------------------------------------------------
// Enumerations

std::optional<int> TEnumInfo::ValueOf(std::wstring_view name) const {
    for (auto& [n, v] : values)
        if (SameText(n, name)) return v;
    return std::nullopt;
}

std::wstring TEnumInfo::NameOf(int value) const {
    for (auto& [n, v] : values)
        if (v == value) return n;
    return {};
}

TEnumInfo MakeEnum(const wchar_t* typeName,
                   std::initializer_list<std::pair<std::wstring, int>> values) {
    TEnumInfo e;
    e.typeName = typeName;
    e.values = values;
    return e;
}

// ---------------------------------------------------------------------------
// Class information and the registry

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        if (c == &other) return true;
    return false;
}

const TPropertyInfo* TClassInfo::FindProperty(std::wstring_view n) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        for (auto& p : c->properties)
            if (SameText(p.name, n)) return &p;
    return nullptr;
}

const THandlerInfo* TClassInfo::FindHandler(std::wstring_view n) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        for (auto& h : c->handlers)
            if (SameText(h.name, n)) return &h;
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::wstring_view n) const {
    for (const TClassInfo* c = this; c; c = c->parent)
        for (auto& f : c->fields)
            if (SameText(f.name, n)) return &f;
    return nullptr;
}

std::vector<const TPropertyInfo*> TClassInfo::AllProperties() const {
    std::vector<const TPropertyInfo*> out;
    if (parent) out = parent->AllProperties();
    for (auto& p : properties) {
        // A class that publishes a base property again keeps the base's place.
        bool replaced = false;
        for (auto*& q : out)
            if (SameText(q->name, p.name)) {
                q = &p;
                replaced = true;
            }
        if (!replaced) out.push_back(&p);
    }
    return out;
}

namespace {
std::map<std::wstring, const TClassInfo*>& Registry() {
    static std::map<std::wstring, const TClassInfo*> registry;
    return registry;
}
std::wstring Upper(std::wstring_view s) {
    std::wstring u(s);
    for (auto& c : u)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - 32);
    return u;
}
} // namespace

void RegisterClassInfo(const TClassInfo& info) {
    Registry()[Upper(info.name)] = &info;
}

const TClassInfo* FindClass(std::wstring_view name) {
    auto it = Registry().find(Upper(name));
    return it == Registry().end() ? nullptr : it->second;
}

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo& info = TClassBuilder<TObject>(L"TObject", nullptr).Build();
    return info;
}

// ---------------------------------------------------------------------------
// Property access by name

namespace {
// Walks a dotted name to the property and the object (as its root pointer).
std::pair<const TPropertyInfo*, void*> Resolve(TObject& obj, std::wstring_view name) {
    const TClassInfo* cls = &obj.ClassType();
    void* self = static_cast<void*>(&obj);
    std::wstring_view rest = name;
    while (true) {
        size_t dot = rest.find(L'.');
        std::wstring_view head = rest.substr(0, dot);
        const TPropertyInfo* p = cls->FindProperty(head);
        if (!p)
            throw EPropertyError(L"unknown property '" + std::wstring(name) + L"' of " +
                                 obj.ClassName());
        if (dot == std::wstring_view::npos) return {p, self};
        if (p->kind != TPropertyKind::Object)
            throw EPropertyError(L"property '" + std::wstring(head) + L"' of " + obj.ClassName() +
                                 L" has no sub-properties");
        self = p->subObject(self);
        cls = p->subClass;
        rest = rest.substr(dot + 1);
    }
}
} // namespace

bool HasPublishedProperty(const TObject* obj, std::wstring_view name) {
    return obj && obj->ClassType().FindProperty(name) != nullptr;
}

void SetPropertyValue(TObject& obj, std::wstring_view name, const TValue& value) {
    auto [p, self] = Resolve(obj, name);
    p->set(self, value);
}

TValue GetPropertyValue(TObject& obj, std::wstring_view name) {
    auto [p, self] = Resolve(obj, name);
    return p->get(self);
}

// ---------------------------------------------------------------------------
// Conversions

namespace {
struct ColorName {
    const wchar_t* name;
    TColor color;
};
const ColorName kColorNames[] = {
    {L"clBlack", clBlack},
    {L"clMaroon", clMaroon},
    {L"clGreen", clGreen},
    {L"clOlive", clOlive},
    {L"clNavy", clNavy},
    {L"clPurple", clPurple},
    {L"clTeal", clTeal},
    {L"clGray", clGray},
    {L"clSilver", clSilver},
    {L"clRed", clRed},
    {L"clLime", clLime},
    {L"clYellow", clYellow},
    {L"clBlue", clBlue},
    {L"clFuchsia", clFuchsia},
    {L"clAqua", clAqua},
    {L"clWhite", clWhite},
    {L"clNone", clNone},
    {L"clDefault", clDefault},
    {L"clScrollBar", clScrollBar},
    {L"clBackground", clBackground},
    {L"clActiveCaption", clActiveCaption},
    {L"clInactiveCaption", clInactiveCaption},
    {L"clMenu", clMenu},
    {L"clWindow", clWindow},
    {L"clWindowFrame", clWindowFrame},
    {L"clMenuText", clMenuText},
    {L"clWindowText", clWindowText},
    {L"clCaptionText", clCaptionText},
    {L"clActiveBorder", clActiveBorder},
    {L"clInactiveBorder", clInactiveBorder},
    {L"clAppWorkSpace", clAppWorkSpace},
    {L"clHighlight", clHighlight},
    {L"clHighlightText", clHighlightText},
    {L"clBtnFace", clBtnFace},
    {L"clBtnShadow", clBtnShadow},
    {L"clGrayText", clGrayText},
    {L"clBtnText", clBtnText},
    {L"clInactiveCaptionText", clInactiveCaptionText},
    {L"clBtnHighlight", clBtnHighlight},
    {L"cl3DDkShadow", cl3DDkShadow},
    {L"cl3DLight", cl3DLight},
    {L"clInfoText", clInfoText},
    {L"clInfoBk", clInfoBk},
};

std::wstring KindName(TValue::Kind k) {
    switch (k) {
    case TValue::Kind::Integer:
        return L"an integer";
    case TValue::Kind::Float:
        return L"a number";
    case TValue::Kind::String:
        return L"a string";
    case TValue::Kind::Boolean:
        return L"True or False";
    default:
        return L"a value";
    }
}

[[noreturn]] void Expected(TValue::Kind k, const TValue& v) {
    throw EPropertyError(KindName(k) + L" is expected, not " + v.Describe());
}
} // namespace

TValue ColorToValue(std::uint32_t color) {
    for (auto& c : kColorNames)
        if (c.color == color) return TValue::Ident(c.name);
    return TValue::Int(color);
}

std::uint32_t ValueToColor(const TValue& v) {
    if (v.kind == TValue::Kind::Integer) {
        if (v.integer < INT32_MIN || v.integer > UINT32_MAX)
            throw EPropertyError(L"colour " + v.Describe() + L" is out of range");
        return std::uint32_t(v.integer);
    }
    if (v.kind == TValue::Kind::Ident)
        for (auto& c : kColorNames)
            if (SameText(c.name, v.text)) return c.color;
    throw EPropertyError(L"a colour (clXxx or a number) is expected, not " + v.Describe());
}

long long ValueToInteger(const TValue& v, long long min, long long max) {
    if (v.kind != TValue::Kind::Integer) Expected(TValue::Kind::Integer, v);
    // Unsigned properties (colours stored as numbers) accept the signed spelling too.
    long long i = v.integer;
    if (i < min || i > max)
        throw EPropertyError(L"value " + std::to_wstring(i) + L" is out of range");
    return i;
}

double ValueToFloat(const TValue& v) {
    if (v.kind == TValue::Kind::Integer) return double(v.integer);
    if (v.kind != TValue::Kind::Float) Expected(TValue::Kind::Float, v);
    return v.number;
}

std::wstring ValueToString(const TValue& v) {
    if (v.kind != TValue::Kind::String) Expected(TValue::Kind::String, v);
    return v.text;
}

bool ValueToBool(const TValue& v) {
    if (v.kind == TValue::Kind::Boolean) return v.boolean;
    if (v.kind == TValue::Kind::Ident) {
        if (SameText(v.text, L"True")) return true;
        if (SameText(v.text, L"False")) return false;
    }
    Expected(TValue::Kind::Boolean, v);
}

int ValueToEnum(const TValue& v, const TEnumInfo& info) {
    if (v.kind == TValue::Kind::Ident) {
        if (auto e = info.ValueOf(v.text)) return *e;
    } else if (v.kind == TValue::Kind::Integer) {
        for (auto& [n, value] : info.values)
            if (value == v.integer) return value;
    }
    throw EPropertyError(L"'" + v.Describe() + L"' is not a value of " + info.typeName);
}

std::uint32_t ValueToSetBits(const TValue& v, const TEnumInfo& info) {
    if (v.kind != TValue::Kind::Set)
        throw EPropertyError(L"a set [a, b] of " + info.typeName + L" is expected, not " +
                             v.Describe());
    std::uint32_t bits = 0;
    for (auto& name : v.list) {
        auto e = info.ValueOf(name);
        if (!e || *e < 0 || *e > 31)
            throw EPropertyError(L"'" + name + L"' is not a value of " + info.typeName);
        bits |= std::uint32_t(1) << *e;
    }
    return bits;
}

TValue SetBitsToValue(std::uint32_t bits, const TEnumInfo& info) {
    std::vector<std::wstring> names;
    for (auto& [n, value] : info.values)
        if (value >= 0 && value < 32 && (bits & (std::uint32_t(1) << value))) names.push_back(n);
    return TValue::SetOf(std::move(names));
}

TComponent* ValueToComponent(const TValue& v) {
    if (v.kind == TValue::Kind::Component) return v.component;
    if (v.kind == TValue::Kind::None) return nullptr;
    if (v.kind == TValue::Kind::Ident && SameText(v.text, L"nil")) return nullptr;
    throw EPropertyError(L"a component is expected, not " + v.Describe());
}

namespace detail {
std::wstring WrongEventMessage(std::wstring_view event) {
    return L"the handler does not fit event " + std::wstring(event);
}
} // namespace detail
