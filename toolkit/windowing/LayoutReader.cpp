#include "toolkit/windowing/LayoutReader.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/Resources.h"
#include "toolkit/windowing/ClassRegistry.h"
#include "toolkit/windowing/Form.h"

#include <cctype>
#include <vector>

namespace {

// Reads the layout text token by token, keeping the line for messages.
class TLayoutParser {
public:
    TLayoutParser(std::string_view text, TLayoutContext& context) : text_(text), context_(context) { }

    void ReadRoot(TForm& root)
    {
        Expect("object");
        std::string name = Identifier();
        Expect(":");
        Identifier(); // the window's own class
        root.SetName(name);
        const TClassInfo* info = TClassRegistry::Find(root.ClassName());
        if (!info)
            info = TClassRegistry::Find("TForm");
        root.SetLoading(true);
        ReadBody(root, *info, &root);
        for (TComponent* component : created_)
            component->Loaded();
        root.Loaded();
        SkipSpace();
        if (pos_ < text_.size())
            Fail("text after the end of the window");
    }

private:
    void ReadBody(TPersistent& object, const TClassInfo& info, TWinControl* parentForChildren)
    {
        for (;;) {
            SkipSpace();
            context_.SetLine(line_);
            std::string word = Identifier();
            if (word == "end")
                return;
            if (word == "object") {
                ReadChild(parentForChildren);
                continue;
            }
            Expect("=");
            ApplyProperty(object, info, word);
        }
    }

    void ReadChild(TWinControl* parent)
    {
        std::string name = Identifier();
        Expect(":");
        std::string className = Identifier();
        const TClassInfo* info = TClassRegistry::Find(className);
        if (!info || !info->create)
            Fail("unknown class '" + className + "'");
        TForm& root = context_.Root();
        TComponent* component = info->create(&root);
        component->SetName(name);
        component->SetLoading(true);
        created_.push_back(component);
        auto* control = dynamic_cast<TControl*>(component);
        if (control && parent)
            control->SetParent(parent);
        auto* windowed = dynamic_cast<TWinControl*>(component);
        ReadBody(*component, *info, windowed ? windowed : parent);
    }

    void ApplyProperty(TPersistent& object, const TClassInfo& info, const std::string& path)
    {
        TPersistent* target = &object;
        const TClassInfo* targetInfo = &info;
        std::string_view rest = path;
        for (;;) {
            auto dot = rest.find('.');
            std::string_view name = rest.substr(0, dot);
            const TPropertyInfo* property = targetInfo->FindProperty(name);
            if (!property)
                Fail("unknown property '" + std::string(name) + "' of " + targetInfo->name);
            if (dot == std::string_view::npos) {
                if (!property->write)
                    Fail("property '" + std::string(name) + "' takes nested values");
                TLayoutValue value = Value();
                property->write(*target, value, context_);
                return;
            }
            if (!property->subObject)
                Fail("property '" + std::string(name) + "' has no nested values");
            target = property->subObject(*target);
            targetInfo = TClassRegistry::Find(target->ClassName());
            if (!targetInfo)
                Fail(std::string("unknown class '") + target->ClassName() + "'");
            rest = rest.substr(dot + 1);
        }
    }

    TLayoutValue Value()
    {
        SkipSpace();
        TLayoutValue value;
        char c = Peek();
        if (c == '\'') {
            value.kind = TLayoutValue::Kind::String;
            value.text = QuotedText();
        } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
            value.kind = TLayoutValue::Kind::Integer;
            value.integer = Number();
        } else if (c == '[') {
            value.kind = TLayoutValue::Kind::Set;
            ++pos_;
            SkipSpace();
            while (Peek() != ']') {
                value.items.push_back(Identifier());
                SkipSpace();
                if (Peek() == ',')
                    ++pos_;
                SkipSpace();
            }
            ++pos_;
        } else if (c == '(') {
            value.kind = TLayoutValue::Kind::List;
            ++pos_;
            SkipSpace();
            while (Peek() != ')') {
                if (Peek() != '\'')
                    Fail("a quoted text is expected in the list");
                value.items.push_back(QuotedText());
                SkipSpace();
            }
            ++pos_;
        } else {
            value.kind = TLayoutValue::Kind::Identifier;
            value.text = Identifier();
        }
        return value;
    }

    std::string QuotedText()
    {
        std::string text;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size() || text_[pos_] == '\n')
                Fail("unterminated text");
            char c = text_[pos_++];
            if (c != '\'') {
                text += c;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == '\'') {
                text += '\'';
                ++pos_;
                continue;
            }
            return text;
        }
    }

    long long Number()
    {
        bool negative = false;
        if (Peek() == '-' || Peek() == '+')
            negative = text_[pos_++] == '-';
        int base = 10;
        if (Peek() == '$') {
            base = 16;
            ++pos_;
        }
        std::size_t start = pos_;
        long long number = 0;
        while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
            char c = text_[pos_];
            if (base == 10 && !std::isdigit(static_cast<unsigned char>(c)))
                break;
            int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
            number = number * base + digit;
            if (number > 0xFFFFFFFFLL)
                Fail("number too large");
            ++pos_;
        }
        if (pos_ == start)
            Fail("a number is expected");
        return negative ? -number : number;
    }

    std::string Identifier()
    {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == ':') {
            ++pos_;
            return ":";
        }
        if (pos_ < text_.size() && text_[pos_] == '=') {
            ++pos_;
            return "=";
        }
        std::size_t start = pos_;
        while (pos_ < text_.size() &&
            (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_' || text_[pos_] == '.'))
            ++pos_;
        if (pos_ == start)
            Fail(pos_ >= text_.size() ? "unexpected end of the layout" : "a name is expected");
        return std::string(text_.substr(start, pos_ - start));
    }

    void Expect(std::string_view word)
    {
        std::string got = Identifier();
        if (got != word)
            Fail("'" + std::string(word) + "' is expected, not '" + got + "'");
    }

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    void SkipSpace()
    {
        while (pos_ < text_.size()) {
            char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            } else {
                break;
            }
        }
        context_.SetLine(line_);
    }

    [[noreturn]] void Fail(const std::string& message) { context_.Fail(message); }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    TLayoutContext& context_;
    std::vector<TComponent*> created_;
};

} // namespace

void ReadLayoutText(TForm& root, std::string_view text, const std::string& fileName)
{
    TLayoutContext context(root, fileName);
    TLayoutParser parser(text, context);
    parser.ReadRoot(root);
}

void ReadLayout(TForm& root, const std::string& resourceName)
{
    auto bytes = FindEmbeddedFile(resourceName);
    if (bytes.empty())
        throw ELayoutError(resourceName + ": no such window layout is embedded");
    ReadLayoutText(root, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), resourceName);
}
