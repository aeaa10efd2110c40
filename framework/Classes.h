#pragma once

// Class metadata: every streamable class registers its name, its base, a
// factory, its published properties in declaration order and, for forms, the
// handler methods and fields that a form description binds by name.
//
// A class declares
//     static const TClassInfo& StaticClass();
//     const TClassInfo& ClassType() const override { return StaticClass(); }
// and defines StaticClass with a TClassBuilder (see framework/README.md).

#include "framework/Exceptions.h"

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class TComponent;
class TObject;
struct TClassInfo;
struct TPropertyAssignment;

// A property of the wrong kind, a value out of range, an unknown name. The
// form reader adds the resource and the line.
class EPropertyError : public Exception {
  public:
    using Exception::Exception;
};

// Names compare without regard to ASCII case.
bool SameText(std::wstring_view a, std::wstring_view b);

// ---------------------------------------------------------------------------
// Values as a form description stores them, or as code passes them to a
// property setter by name.

struct TValue {
    enum class Kind {
        None,
        String,     // 'text'
        Integer,    // 12, -3, $FF
        Float,      // 1.5, 2e3
        Boolean,    // True, False
        Ident,      // clBlack, alTop, a component or handler name
        Set,        // [fsBold, fsItalic]
        StringList, // ( 'a' 'b' )
        Binary,     // { 0A1B }
        Collection, // < item ... end >
        Component,  // a resolved component reference
        Handler     // a bound event handler (std::function inside std::any)
    };
    Kind kind = Kind::None;
    std::wstring text;              // String, Ident
    long long integer = 0;          // Integer
    double number = 0;              // Float
    bool boolean = false;           // Boolean
    std::vector<std::wstring> list; // Set, StringList
    std::vector<std::uint8_t> bytes;
    std::shared_ptr<const std::vector<std::vector<TPropertyAssignment>>> items; // Collection
    TComponent* component = nullptr;
    std::any handler;

    static TValue Str(std::wstring s);
    static TValue Int(long long v);
    static TValue Float(double v);
    static TValue Bool(bool v);
    static TValue Ident(std::wstring name);
    static TValue SetOf(std::vector<std::wstring> names);
    static TValue Strings(std::vector<std::wstring> lines);
    static TValue Ref(TComponent* c);
    template <class Sig> static TValue Event(std::function<Sig> f) {
        TValue v;
        v.kind = Kind::Handler;
        v.handler = std::move(f);
        return v;
    }
    // How the value reads in a description (for messages).
    std::wstring Describe() const;
};

// One `Name = value` line (the name may be dotted: Font.Style).
struct TPropertyAssignment {
    std::wstring name;
    TValue value;
    int line = 0;
};

// ---------------------------------------------------------------------------
// Enumerations and sets stored by name.

struct TEnumInfo {
    std::wstring typeName;
    std::vector<std::pair<std::wstring, int>> values;

    std::optional<int> ValueOf(std::wstring_view name) const;
    std::wstring NameOf(int value) const; // empty if unknown
};

// A table for the builders, e.g. MakeEnum(L"TAlign", {{L"alNone", alNone}, {L"alTop", alTop}}).
TEnumInfo MakeEnum(const wchar_t* typeName,
                   std::initializer_list<std::pair<std::wstring, int>> values);

// A set of up to 32 enumeration values, one bit each.
template <class E> class TSet {
  public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E e : values)
            bits_ |= Bit(e);
    }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E e) {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr std::uint32_t Bits() const { return bits_; }
    static constexpr TSet FromBits(std::uint32_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool operator==(const TSet&) const = default;

  private:
    static constexpr std::uint32_t Bit(E e) { return std::uint32_t(1) << unsigned(e); }
    std::uint32_t bits_ = 0;
};

// ---------------------------------------------------------------------------
// Metadata

enum class TPropertyKind {
    Integer,
    Float,
    String,
    Boolean,
    Enum,
    Set,
    Color,
    Strings,
    Component,
    Event,
    Object, // has sub-properties: Font.Style
    Other   // the class converts the value itself (collections, binary data)
};

struct TPropertyInfo {
    std::wstring name;
    TPropertyKind kind = TPropertyKind::Other;
    // self is the object as the class's root type (TObject* for components,
    // the record itself for sub-objects), passed as void*.
    std::function<void(void* self, const TValue& value)> set;
    std::function<TValue(void* self)> get;
    const TEnumInfo* enumInfo = nullptr;
    // Object properties: the sub-object and its own property table.
    std::function<void*(void* self)> subObject;
    const TClassInfo* subClass = nullptr;
};

struct THandlerInfo {
    std::wstring name;
    // The method bound to a form: std::any holding std::function<signature>.
    std::function<std::any(TObject& form)> bind;
};

struct TFieldInfo {
    std::wstring name;
    // Stores the component in the form's field; false if its class does not fit.
    std::function<bool(TObject& form, TComponent* component)> assign;
};

struct TClassInfo {
    std::wstring name;
    const TClassInfo* parent = nullptr;
    std::function<TComponent*(TComponent* owner)> factory; // empty: abstract
    std::vector<TPropertyInfo> properties;                 // own, declaration order
    std::vector<THandlerInfo> handlers;
    std::vector<TFieldInfo> fields;

    bool InheritsFrom(const TClassInfo& other) const;
    // Searches this class, then its bases.
    const TPropertyInfo* FindProperty(std::wstring_view name) const;
    const THandlerInfo* FindHandler(std::wstring_view name) const;
    const TFieldInfo* FindField(std::wstring_view name) const;
    // All published properties, the base class's first.
    std::vector<const TPropertyInfo*> AllProperties() const;
};

// Classes known by name to the form reader.
void RegisterClassInfo(const TClassInfo& info);
const TClassInfo* FindClass(std::wstring_view name);
// Makes every streamable class of the framework known by name. A program
// calls it (or the registration of a library above) once at start-up, before
// its first form description is read; calling it again does nothing more.
void RegisterFrameworkClasses();

// ---------------------------------------------------------------------------
// The root of the class tree.

class TObject {
  public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }
    std::wstring ClassName() const { return ClassType().name; }
    bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
};

bool HasPublishedProperty(const TObject* obj, std::wstring_view name);
// Sets a published property by name through its setter (sub-properties dotted).
void SetPropertyValue(TObject& obj, std::wstring_view name, const TValue& value);
TValue GetPropertyValue(TObject& obj, std::wstring_view name);

// Conversions shared by the builder and the reader.
TValue ColorToValue(std::uint32_t color);
std::uint32_t ValueToColor(const TValue& v); // integers or clXxx names
long long ValueToInteger(const TValue& v, long long min, long long max);
double ValueToFloat(const TValue& v);
std::wstring ValueToString(const TValue& v);
bool ValueToBool(const TValue& v);
int ValueToEnum(const TValue& v, const TEnumInfo& info);
std::uint32_t ValueToSetBits(const TValue& v, const TEnumInfo& info);
TValue SetBitsToValue(std::uint32_t bits, const TEnumInfo& info);
TComponent* ValueToComponent(const TValue& v);

// ---------------------------------------------------------------------------
// The builder. T is the class described; Root is the type the property
// functions receive (TObject for components, T itself for a sub-object).

namespace detail {
template <class T, class Root> T& SelfAs(void* self) {
    return static_cast<T&>(*static_cast<Root*>(self));
}
std::wstring WrongEventMessage(std::wstring_view event);
// Defined with TComponent, which builds on this file.
TComponent* AsComponent(TObject* obj);
std::wstring ComponentName(const TComponent* c);
std::wstring WrongComponentMessage(std::wstring_view property, TComponent* c);
} // namespace detail

template <class T, class Root = TObject> class TClassBuilder {
  public:
    TClassBuilder(std::wstring name, const TClassInfo* parent) : info_(new TClassInfo) {
        info_->name = std::move(name);
        info_->parent = parent;
        if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*>)
            info_->factory = [](TComponent* owner) -> TComponent* {
                return detail::AsComponent(new T(owner));
            };
    }

    // Integer, float, string and boolean properties with a getter and a setter.
    template <class C, class CS, class G, class S>
    TClassBuilder& Property(std::wstring name, G (C::*get)() const, void (CS::*set)(S)) {
        using V = std::decay_t<S>;
        TPropertyInfo p;
        p.name = std::move(name);
        if constexpr (std::is_same_v<V, bool>) {
            p.kind = TPropertyKind::Boolean;
            p.set = [set](void* s, const TValue& v) { (SelfAs(s).*set)(ValueToBool(v)); };
            p.get = [get](void* s) { return TValue::Bool((SelfAs(s).*get)()); };
        } else if constexpr (std::is_integral_v<V>) {
            p.kind = TPropertyKind::Integer;
            p.set = [set](void* s, const TValue& v) {
                (SelfAs(s).*set)(V(ValueToInteger(v, std::numeric_limits<V>::min(),
                                                  std::numeric_limits<V>::max())));
            };
            p.get = [get](void* s) { return TValue::Int((long long)(SelfAs(s).*get)()); };
        } else if constexpr (std::is_floating_point_v<V>) {
            p.kind = TPropertyKind::Float;
            p.set = [set](void* s, const TValue& v) { (SelfAs(s).*set)(V(ValueToFloat(v))); };
            p.get = [get](void* s) { return TValue::Float(double((SelfAs(s).*get)())); };
        } else {
            static_assert(std::is_same_v<V, std::wstring>, "use Enum, Set, Color, ...");
            p.kind = TPropertyKind::String;
            p.set = [set](void* s, const TValue& v) { (SelfAs(s).*set)(ValueToString(v)); };
            p.get = [get](void* s) { return TValue::Str(std::wstring((SelfAs(s).*get)())); };
        }
        return Add(std::move(p));
    }

    template <class C, class CS, class G, class S>
    TClassBuilder& Enum(std::wstring name, G (C::*get)() const, void (CS::*set)(S),
                        const TEnumInfo& info) {
        using V = std::decay_t<S>;
        TPropertyInfo p;
        p.name = std::move(name);
        p.kind = TPropertyKind::Enum;
        p.enumInfo = &info;
        p.set = [set, &info](void* s, const TValue& v) {
            (SelfAs(s).*set)(static_cast<V>(ValueToEnum(v, info)));
        };
        p.get = [get, &info](void* s) {
            return TValue::Ident(info.NameOf(static_cast<int>((SelfAs(s).*get)())));
        };
        return Add(std::move(p));
    }

    // Sets: any type with Bits() and a static FromBits().
    template <class C, class CS, class G, class S>
    TClassBuilder& Set(std::wstring name, G (C::*get)() const, void (CS::*set)(S),
                       const TEnumInfo& info) {
        using V = std::decay_t<S>;
        TPropertyInfo p;
        p.name = std::move(name);
        p.kind = TPropertyKind::Set;
        p.enumInfo = &info;
        p.set = [set, &info](void* s, const TValue& v) {
            (SelfAs(s).*set)(V::FromBits(decltype(V().Bits())(ValueToSetBits(v, info))));
        };
        p.get = [get, &info](void* s) {
            return SetBitsToValue(std::uint32_t((SelfAs(s).*get)().Bits()), info);
        };
        return Add(std::move(p));
    }

    template <class C, class CS, class G, class S>
    TClassBuilder& Color(std::wstring name, G (C::*get)() const, void (CS::*set)(S)) {
        TPropertyInfo p;
        p.name = std::move(name);
        p.kind = TPropertyKind::Color;
        p.set = [set](void* s, const TValue& v) { (SelfAs(s).*set)(ValueToColor(v)); };
        p.get = [get](void* s) { return ColorToValue((SelfAs(s).*get)()); };
        return Add(std::move(p));
    }

    // A string list reached through an accessor; the stored lines replace its content.
    template <class C, class L> TClassBuilder& Strings(std::wstring name, L& (C::*access)()) {
        TPropertyInfo p;
        p.name = std::move(name);
        p.kind = TPropertyKind::Strings;
        p.set = [access](void* s, const TValue& v) {
            if (v.kind != TValue::Kind::StringList && v.kind != TValue::Kind::String)
                throw EPropertyError(L"a list of strings ( 'a' 'b' ) is expected, not " +
                                     v.Describe());
            L& list = (SelfAs(s).*access)();
            if (v.kind == TValue::Kind::String)
                list.SetText(v.text);
            else
                list.Assign(v.list);
        };
        p.get = [access](void* s) { return TValue::Strings((SelfAs(s).*access)().ToVector()); };
        return Add(std::move(p));
    }

    // A reference to another component (not owned), by name in a description.
    template <class C, class CS, class R, class Comp>
    TClassBuilder& Component(std::wstring name, R (C::*get)() const, void (CS::*set)(Comp*)) {
        TPropertyInfo p;
        p.name = name;
        p.kind = TPropertyKind::Component;
        p.set = [set, name](void* s, const TValue& v) {
            TComponent* c = ValueToComponent(v);
            Comp* typed = c ? dynamic_cast<Comp*>(c) : nullptr;
            if (c && !typed) throw EPropertyError(detail::WrongComponentMessage(name, c));
            (SelfAs(s).*set)(typed);
        };
        p.get = [get](void* s) {
            return TValue::Ref(static_cast<TComponent*>((SelfAs(s).*get)()));
        };
        return Add(std::move(p));
    }

    // An event: a public std::function member, bound to a form's handler by name.
    template <class C, class Sig>
    TClassBuilder& Event(std::wstring name, std::function<Sig> C::*member) {
        TPropertyInfo p;
        p.name = name;
        p.kind = TPropertyKind::Event;
        p.set = [member, name](void* s, const TValue& v) {
            if (v.kind == TValue::Kind::None) {
                SelfAs(s).*member = nullptr;
                return;
            }
            const auto* f = std::any_cast<std::function<Sig>>(&v.handler);
            if (!f) throw EPropertyError(detail::WrongEventMessage(name));
            SelfAs(s).*member = *f;
        };
        p.get = [member](void* s) { return TValue::Event<Sig>(SelfAs(s).*member); };
        return Add(std::move(p));
    }

    // A sub-object whose own properties are written dotted (Font.Style).
    template <class C, class Sub>
    TClassBuilder& Object(std::wstring name, Sub& (C::*access)(), const TClassInfo& subClass) {
        TPropertyInfo p;
        p.name = std::move(name);
        p.kind = TPropertyKind::Object;
        p.subClass = &subClass;
        p.subObject = [access](void* s) -> void* { return &(SelfAs(s).*access)(); };
        p.set = [](void*, const TValue& v) {
            throw EPropertyError(L"a sub-object takes no value of its own: " + v.Describe());
        };
        p.get = [](void*) { return TValue(); };
        return Add(std::move(p));
    }

    // A property converting the stored value itself (collections, binary data).
    TClassBuilder& Custom(std::wstring name, std::function<void(T&, const TValue&)> set,
                          std::function<TValue(T&)> get = {}) {
        TPropertyInfo p;
        p.name = std::move(name);
        p.kind = TPropertyKind::Other;
        p.set = [set](void* s, const TValue& v) { set(SelfAs(s), v); };
        p.get = [get](void* s) { return get ? get(SelfAs(s)) : TValue(); };
        return Add(std::move(p));
    }

    // Properties that several classes publish alike, added by one function.
    template <class F> TClassBuilder& With(F&& add) {
        add(*this);
        return *this;
    }

    // A handler method a description can bind to events (OnClick = TBjsClick).
    template <class C, class R, class... A>
    TClassBuilder& Handler(std::wstring name, R (C::*method)(A...)) {
        THandlerInfo h;
        h.name = std::move(name);
        h.bind = [method](TObject& form) -> std::any {
            C* self = dynamic_cast<C*>(&form);
            return std::function<R(A...)>([self, method](A... args) -> R {
                return (self->*method)(std::forward<A>(args)...);
            });
        };
        info_->handlers.push_back(std::move(h));
        return *this;
    }

    // A form field that receives the component of that name when it is created.
    template <class C, class Comp> TClassBuilder& Field(std::wstring name, Comp* C::*member) {
        TFieldInfo f;
        f.name = std::move(name);
        f.assign = [member](TObject& form, TComponent* c) {
            Comp* typed = dynamic_cast<Comp*>(c);
            if (!typed) return false;
            static_cast<C&>(form).*member = typed;
            return true;
        };
        info_->fields.push_back(std::move(f));
        return *this;
    }

    // The finished description; it lives as long as the program, and a class
    // with a factory becomes known by name.
    const TClassInfo& Build() {
        const TClassInfo* done = info_.release();
        if (done->factory) RegisterClassInfo(*done);
        return *done;
    }

  private:
    static T& SelfAs(void* s) { return detail::SelfAs<T, Root>(s); }
    TClassBuilder& Add(TPropertyInfo p) {
        info_->properties.push_back(std::move(p));
        return *this;
    }
    std::unique_ptr<TClassInfo> info_;
};
