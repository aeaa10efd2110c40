#pragma once

// Components: a name, an owner that frees what it owns (the newest first),
// removal notifications, and the Loading and Destroying states.

#include "framework/Classes.h"

#include <memory>
#include <string>
#include <vector>

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
  public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    // BeforeDestruction, then delete: the way to free a component, so a form
    // can still run OnDestroy while it is whole.
    void Free();
    virtual void BeforeDestruction() {}

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    const std::wstring& Name() const { return name_; }
    // Names are unique among the components of one owner (case-insensitive);
    // an empty name is always allowed.
    virtual void SetName(const std::wstring& name);
    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(size_t(index)); }
    TComponent* FindComponent(std::wstring_view name) const;

    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Frees every owned component, the newest first.
    void DestroyComponents();

    // Asks to be told (Notification with opRemove) when other goes away.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    bool Loading() const { return loading_; }
    bool Destroying() const { return destroying_; }
    // Called by the form reader around the application of a description.
    void SetLoading(bool value) { loading_ = value; }
    // Called once on every component after a whole description is applied.
    virtual void Loaded();

    // Set by the description (Tag = 3); the program's own marker.
    long long Tag() const { return tag_; }
    void SetTag(long long tag) { tag_ = tag; }

  protected:
    // Another component was inserted into or removed from an owner we share,
    // or one we asked about is going away. Clear every reference to it here.
    virtual void Notification(TComponent* component, TOperation operation);
    // Marks this component and everything it owns as going away.
    void Destroying_();
    virtual void ValidateRename(TComponent* component, const std::wstring& newName) const;

  private:
    void Insert(TComponent* c);
    void Remove(TComponent* c);

    std::wstring name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_; // both directions: who wants to hear from whom
    bool loading_ = false;
    bool destroying_ = false;
    long long tag_ = 0;
};

// For std::unique_ptr of components: frees through Free().
struct TComponentDeleter {
    void operator()(TComponent* c) const {
        if (c) c->Free();
    }
};
template <class T> using TOwned = std::unique_ptr<T, TComponentDeleter>;
