#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/windowing/Component.h"
#include "toolkit/windowing/Form.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// One value as a window layout writes it.
struct TLayoutValue {
    enum class Kind { Integer, String, Identifier, Set, List };
    Kind kind = Kind::Integer;
    long long integer = 0;
    std::string text;               // String and Identifier
    std::vector<std::string> items; // Set (identifiers) and List (strings)
};

// Where a value is being applied: the window it binds handlers on and the
// file position that errors name.
class TLayoutContext {
public:
    TLayoutContext(TForm& root, std::string file) : root_(root), file_(std::move(file)) { }
    TForm& Root() const { return root_; }
    void SetLine(int line) { line_ = line; }
    [[noreturn]] void Fail(const std::string& message) const;

private:
    TForm& root_;
    std::string file_;
    int line_ = 0;
};

using TPropertyWriter = std::function<void(TPersistent& object, const TLayoutValue& value, TLayoutContext& context)>;
using TSubObjectGetter = std::function<TPersistent*(TPersistent& object)>;

struct TPropertyInfo {
    std::string name;
    TPropertyWriter write;      // for plain values
    TSubObjectGetter subObject; // for nested ones such as Font.Height
};

// What a layout may say about one class: how to create it and how to set
// each published property, by name (letter case ignored).
class TClassInfo {
public:
    std::string name;
    const TClassInfo* parent = nullptr;
    std::function<TComponent*(TComponent* owner)> create;
    std::vector<TPropertyInfo> properties;

    const TPropertyInfo* FindProperty(std::string_view propertyName) const;
};

class TClassRegistry {
public:
    // Adds (or returns) the class of that name; parentName must be known.
    static TClassInfo& Register(const std::string& name, const std::string& parentName);
    static const TClassInfo* Find(std::string_view name);
};

// Reads identifiers, integers and names of colours and values.
TColor LayoutColor(const TLayoutValue& value, TLayoutContext& context);
long long LayoutInteger(const TLayoutValue& value, TLayoutContext& context, long long low, long long high);
bool LayoutBoolean(const TLayoutValue& value, TLayoutContext& context);
const std::string& LayoutString(const TLayoutValue& value, TLayoutContext& context);
// Loads the embedded picture the value names.
std::unique_ptr<TBitmap> LayoutBitmap(const TLayoutValue& value, TLayoutContext& context);
const THandler& LayoutHandler(const TLayoutValue& value, TLayoutContext& context);

// Declares a class and its published properties for layouts:
//   TClassBuilder<TPanel>("TPanel", "TWinControl").Color("Color", &TControl::SetColor);
template <typename T>
class TClassBuilder {
public:
    TClassBuilder(const std::string& name, const std::string& parentName, bool creatable = true)
        : info_(TClassRegistry::Register(name, parentName))
    {
        if constexpr (std::is_constructible_v<T, TComponent*> && std::is_base_of_v<TComponent, T>) {
            if (creatable)
                info_.create = [](TComponent* owner) -> TComponent* { return TComponent::Create<T>(owner); };
        }
    }

    template <typename U, typename V>
    TClassBuilder& Integer(const std::string& name, void (U::*setter)(V))
    {
        return Add(name, [setter](T& object, const TLayoutValue& value, TLayoutContext& context) {
            using Limits = std::numeric_limits<V>;
            (object.*setter)(static_cast<V>(LayoutInteger(value, context, Limits::min(), Limits::max())));
        });
    }

    template <typename U>
    TClassBuilder& Boolean(const std::string& name, void (U::*setter)(bool))
    {
        return Add(name, [setter](T& object, const TLayoutValue& value, TLayoutContext& context) {
            (object.*setter)(LayoutBoolean(value, context));
        });
    }

    template <typename U>
    TClassBuilder& String(const std::string& name, void (U::*setter)(std::string))
    {
        return Add(name, [setter](T& object, const TLayoutValue& value, TLayoutContext& context) {
            (object.*setter)(LayoutString(value, context));
        });
    }

    template <typename U>
    TClassBuilder& Color(const std::string& name, void (U::*setter)(TColor))
    {
        return Add(name, [setter](T& object, const TLayoutValue& value, TLayoutContext& context) {
            (object.*setter)(LayoutColor(value, context));
        });
    }

    template <typename U, typename E>
    TClassBuilder& Enum(
        const std::string& name, void (U::*setter)(E), std::initializer_list<std::pair<const char*, E>> names)
    {
        std::vector<std::pair<std::string, E>> table(names.begin(), names.end());
        return Add(name, [setter, table](T& object, const TLayoutValue& value, TLayoutContext& context) {
            if (value.kind == TLayoutValue::Kind::Identifier) {
                for (const auto& [text, item] : table) {
                    if (text == value.text) {
                        (object.*setter)(item);
                        return;
                    }
                }
            }
            context.Fail("unknown value '" + value.text + "'");
        });
    }

    // A set of flags written as [flagA, flagB].
    template <typename U, typename S>
    TClassBuilder& Set(
        const std::string& name, void (U::*setter)(S), std::initializer_list<std::pair<const char*, S>> names)
    {
        std::vector<std::pair<std::string, S>> table(names.begin(), names.end());
        return Add(name, [setter, table](T& object, const TLayoutValue& value, TLayoutContext& context) {
            if (value.kind != TLayoutValue::Kind::Set)
                context.Fail("a set in brackets is expected");
            S flags{};
            for (const auto& item : value.items) {
                auto it =
                    std::find_if(table.begin(), table.end(), [&](const auto& entry) { return entry.first == item; });
                if (it == table.end())
                    context.Fail("unknown value '" + item + "'");
                flags = static_cast<S>(flags | it->second);
            }
            (object.*setter)(flags);
        });
    }

    template <typename U>
    TClassBuilder& Bitmap(const std::string& name, void (U::*setter)(const TBitmap&))
    {
        return Add(name, [setter](T& object, const TLayoutValue& value, TLayoutContext& context) {
            (object.*setter)(*LayoutBitmap(value, context));
        });
    }

    // A nested object whose own properties follow the dot: Font.Height.
    template <typename U, typename P>
    TClassBuilder& Object(const std::string& name, P& (U::*getter)())
    {
        TPropertyInfo property{name, {}, {}};
        property.subObject = [getter](
                                 TPersistent& object) -> TPersistent* { return &(static_cast<T&>(object).*getter)(); };
        info_.properties.push_back(std::move(property));
        return *this;
    }

    // An event bound to a handler of the window by name.
    template <typename U, typename E>
    TClassBuilder& Event(const std::string& name, E U::*field)
    {
        return Add(name, [field](T& object, const TLayoutValue& value, TLayoutContext& context) {
            const THandler& handler = LayoutHandler(value, context);
            if (!std::holds_alternative<E>(handler))
                context.Fail("handler '" + value.text + "' does not fit the event");
            object.*field = std::get<E>(handler);
        });
    }

    // Stored by layouts but of no use at run time (credits, designer data).
    TClassBuilder& Ignored(const std::string& name)
    {
        return Add(name, [](T&, const TLayoutValue&, TLayoutContext&) {});
    }

    template <typename F>
    TClassBuilder& Custom(const std::string& name, F write)
    {
        return Add(name, std::move(write));
    }

private:
    template <typename F>
    TClassBuilder& Add(const std::string& name, F write)
    {
        TPropertyInfo property{name, {}, {}};
        property.write = [write = std::move(write)](
                             TPersistent& object, const TLayoutValue& value, TLayoutContext& context) {
            auto* typed = dynamic_cast<T*>(&object);
            if (!typed)
                context.Fail("property of another class");
            write(*typed, value, context);
        };
        info_.properties.push_back(std::move(property));
        return *this;
    }

    TClassInfo& info_;
};

// Declares the toolkit's own classes; runs once, on first use of the registry.
void RegisterStandardClasses();
