#pragma once

#include "toolkit/graphics/Object.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

enum TComponentStateFlag : std::uint8_t {
    csLoading = 1 << 0,   // its properties are being read from a window layout
    csDesigning = 1 << 1, // edited in a form designer (never at run time here)
    csDestroying = 1 << 2,
};
using TComponentState = std::uint8_t;

enum class TOperation : std::uint8_t { opInsert, opRemove };

// A named object with an owner. The owner holds it and destroys it with
// itself, later-created components first, unless it is freed before.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner) : owner_(owner) { }
    ~TComponent() override;
    const char* ClassName() const override { return "TComponent"; }

    // Creates a component owned by owner (which must not be null) and
    // hands back a reference that lives as long as the owner keeps it.
    template <typename T, typename... Args>
    static T* Create(TComponent* owner, Args&&... args)
    {
        auto component = std::make_unique<T>(owner, std::forward<Args>(args)...);
        T* raw = component.get();
        owner->InsertComponent(std::move(component));
        return raw;
    }

    // Destroys this component now; its owner lets go of it first.
    void Free();

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)).get(); }
    // An owned component by name, letter case ignored; null when none.
    TComponent* FindComponent(const std::string& name) const;

    TComponentState ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    void SetLoading(bool loading);

    // Runs once after a window layout has set every property.
    virtual void Loaded() { SetLoading(false); }

    // Told of components inserted into or removed from the owner; the
    // default passes the news to every owned component.
    virtual void Notification(TComponent* component, TOperation operation);

    void InsertComponent(std::unique_ptr<TComponent> component);
    std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

protected:
    // Destroys the owned components, last created first. Windows call it
    // at the start of their destructors, while their own parts still live.
    void DestroyComponents();

private:
    TComponent* owner_;
    std::string name_;
    TComponentState state_ = 0;
    std::vector<std::unique_ptr<TComponent>> components_;
};
