#include "toolkit/windowing/Component.h"

#include <algorithm>
#include <strings.h>

TComponent::~TComponent()
{
    DestroyComponents();
}

void TComponent::DestroyComponents()
{
    state_ |= csDestroying;
    while (!components_.empty()) {
        auto last = std::move(components_.back());
        components_.pop_back();
        Notification(last.get(), TOperation::opRemove);
    }
}

void TComponent::Free()
{
    if (owner_) {
        // Dropping the returned owner destroys the component.
        owner_->RemoveComponent(this);
        return;
    }
    delete this;
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    for (const auto& component : components_) {
        if (strcasecmp(component->Name().c_str(), name.c_str()) == 0)
            return component.get();
    }
    return nullptr;
}

void TComponent::SetLoading(bool loading)
{
    if (loading)
        state_ |= csLoading;
    else
        state_ &= static_cast<TComponentState>(~csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    for (const auto& owned : components_) {
        if (owned.get() != component)
            owned->Notification(component, operation);
    }
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component)
{
    component->owner_ = this;
    TComponent* raw = component.get();
    components_.push_back(std::move(component));
    Notification(raw, TOperation::opInsert);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component)
{
    auto it = std::find_if(
        components_.begin(), components_.end(), [component](const auto& owned) { return owned.get() == component; });
    if (it == components_.end())
        return nullptr;
    auto removed = std::move(*it);
    components_.erase(it);
    Notification(component, TOperation::opRemove);
    return removed;
}
