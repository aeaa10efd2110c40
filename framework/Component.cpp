#include "framework/Component.h"

#include <algorithm>

namespace {

bool IsIdentifier(std::wstring_view s) {
    if (s.empty()) return false;
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        bool letter = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
        bool digit = c >= L'0' && c <= L'9';
        if (!letter && !(digit && i > 0)) return false;
    }
    return true;
}

void Erase(std::vector<TComponent*>& v, TComponent* c) {
    v.erase(std::remove(v.begin(), v.end(), c), v.end());
}

} // namespace

const TClassInfo& TComponent::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TComponent>(L"TComponent", &TObject::StaticClass())
            .Property(L"Tag", &TComponent::Tag, &TComponent::SetTag)
            .Build();
    return info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying_();
    // Everyone who asked about us hears of our end before anything else goes.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::Destroying_() {
    if (destroying_) return;
    destroying_ = true;
    for (TComponent* c : components_)
        c->Destroying_();
}

void TComponent::SetName(const std::wstring& name) {
    if (name == name_) return;
    if (!name.empty() && !IsIdentifier(name))
        throw EComponentError(L"'" + name + L"' is not a valid component name");
    if (owner_)
        owner_->ValidateRename(this, name);
    else
        ValidateRename(this, name);
    name_ = name;
}

void TComponent::ValidateRename(TComponent* component, const std::wstring& newName) const {
    if (newName.empty()) return;
    for (TComponent* c : components_)
        if (c != component && SameText(c->Name(), newName))
            throw EComponentError(L"A component named " + newName + L" already exists");
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
    if (c->owner_) c->owner_->RemoveComponent(c);
    ValidateRename(c, c->Name());
    Insert(c);
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    Notification(c, TOperation::opRemove);
    Remove(c);
}

void TComponent::Insert(TComponent* c) {
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
    Erase(components_, c);
    c->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        c->Free();
    }
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    // Components of one owner already hear of each other through it.
    if (owner_ && other->owner_ == owner_) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    Erase(freeNotifies_, other);
    Erase(other->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // Copy: a handler may free a component we own.
    std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::Loaded() {
    loading_ = false;
}

// ---------------------------------------------------------------------------
// What the class metadata needs to know of components

namespace detail {
TComponent* AsComponent(TObject* obj) {
    return static_cast<TComponent*>(obj);
}
std::wstring ComponentName(const TComponent* c) {
    return c->Name();
}
std::wstring WrongComponentMessage(std::wstring_view property, TComponent* c) {
    return c->Name() + L" (" + c->ClassName() + L") does not fit property " +
           std::wstring(property);
}
} // namespace detail
