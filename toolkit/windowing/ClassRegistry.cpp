#include "toolkit/windowing/ClassRegistry.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/Resources.h"

#include <map>
#include <memory>
#include <strings.h>

namespace {

struct TRegistryStore {
    std::vector<std::unique_ptr<TClassInfo>> classes;
};

TRegistryStore& store()
{
    static TRegistryStore registry;
    return registry;
}

const TClassInfo* findRegistered(std::string_view name)
{
    for (const auto& info : store().classes) {
        if (info->name.size() == name.size() && strncasecmp(info->name.c_str(), name.data(), name.size()) == 0)
            return info.get();
    }
    return nullptr;
}

// The toolkit's own classes come first, whoever registers or looks up first.
void ensureStandardClasses()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterStandardClasses();
}

const std::map<std::string, TColor, std::less<>>& colorNames()
{
    static const std::map<std::string, TColor, std::less<>> names = {
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clOlive", clOlive},
        {"clNavy", clNavy},
        {"clPurple", clPurple},
        {"clTeal", clTeal},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clYellow", clYellow},
        {"clBlue", clBlue},
        {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},
        {"clWhite", clWhite},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow},
        {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},
        {"clBtnHighlight", clBtnHighlight},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight},
        {"clInfoText", clInfoText},
        {"clInfoBk", clInfoBk},
    };
    return names;
}

} // namespace

void TLayoutContext::Fail(const std::string& message) const
{
    throw ELayoutError(file_ + ":" + std::to_string(line_) + ": " + message);
}

const TPropertyInfo* TClassInfo::FindProperty(std::string_view propertyName) const
{
    for (const TClassInfo* info = this; info; info = info->parent) {
        for (const auto& property : info->properties) {
            if (property.name.size() == propertyName.size() &&
                strncasecmp(property.name.c_str(), propertyName.data(), propertyName.size()) == 0)
                return &property;
        }
    }
    return nullptr;
}

TClassInfo& TClassRegistry::Register(const std::string& name, const std::string& parentName)
{
    ensureStandardClasses();
    if (auto* existing = findRegistered(name))
        return const_cast<TClassInfo&>(*existing);
    auto info = std::make_unique<TClassInfo>();
    info->name = name;
    if (!parentName.empty()) {
        info->parent = findRegistered(parentName);
        if (!info->parent)
            throw EInvalidOperation("Class " + name + " derives from the unknown class " + parentName);
    }
    store().classes.push_back(std::move(info));
    return *store().classes.back();
}

const TClassInfo* TClassRegistry::Find(std::string_view name)
{
    ensureStandardClasses();
    return findRegistered(name);
}

TColor LayoutColor(const TLayoutValue& value, TLayoutContext& context)
{
    if (value.kind == TLayoutValue::Kind::Identifier) {
        auto it = colorNames().find(value.text);
        if (it == colorNames().end())
            context.Fail("unknown colour '" + value.text + "'");
        return it->second;
    }
    return static_cast<TColor>(static_cast<std::uint32_t>(LayoutInteger(value, context, -2147483648LL, 0xFFFFFFFFLL)));
}

long long LayoutInteger(const TLayoutValue& value, TLayoutContext& context, long long low, long long high)
{
    if (value.kind != TLayoutValue::Kind::Integer)
        context.Fail("a number is expected");
    if (value.integer < low || value.integer > high)
        context.Fail("the number " + std::to_string(value.integer) + " is out of range");
    return value.integer;
}

bool LayoutBoolean(const TLayoutValue& value, TLayoutContext& context)
{
    if (value.kind == TLayoutValue::Kind::Identifier) {
        if (strcasecmp(value.text.c_str(), "True") == 0)
            return true;
        if (strcasecmp(value.text.c_str(), "False") == 0)
            return false;
    }
    context.Fail("True or False is expected");
}

const std::string& LayoutString(const TLayoutValue& value, TLayoutContext& context)
{
    if (value.kind != TLayoutValue::Kind::String)
        context.Fail("a quoted text is expected");
    return value.text;
}

std::unique_ptr<TBitmap> LayoutBitmap(const TLayoutValue& value, TLayoutContext& context)
{
    const std::string& name = LayoutString(value, context);
    auto bytes = FindEmbeddedFile(name);
    if (bytes.empty())
        context.Fail("no embedded picture '" + name + "'");
    auto bitmap = std::make_unique<TBitmap>();
    try {
        bitmap->LoadFromMemory(bytes);
    } catch (const EToolkitError& error) {
        context.Fail("picture '" + name + "': " + error.what());
    }
    return bitmap;
}

const THandler& LayoutHandler(const TLayoutValue& value, TLayoutContext& context)
{
    if (value.kind != TLayoutValue::Kind::Identifier)
        context.Fail("a handler name is expected");
    const THandler* handler = context.Root().FindHandler(value.text);
    if (!handler)
        context.Fail("unknown handler '" + value.text + "'");
    return *handler;
}
