#pragma once

#include "toolkit/graphics/Object.h"

#include <string>
#include <vector>

// An ordered list of texts.
class TStringList : public TPersistent {
public:
    const char* ClassName() const override { return "TStringList"; }

    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& Strings(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    const std::string& operator[](int index) const { return Strings(index); }
    void Add(std::string text) { items_.push_back(std::move(text)); }
    void Clear() { items_.clear(); }
    const std::vector<std::string>& Items() const { return items_; }

    void Assign(const TPersistent& source) override
    {
        if (auto* list = dynamic_cast<const TStringList*>(&source)) {
            items_ = list->items_;
            return;
        }
        TPersistent::Assign(source);
    }

private:
    std::vector<std::string> items_;
};
