#pragma once
// Components and the small helper classes around them.
//
//   TComponent     name, tag, owner; owns the components created on it
//   TStringList    a list of lines with name=value access
//   Properties     set/get a few published properties by name (what skins touch)
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

enum TOperation { opInsert, opRemove };

class TComponent {
 public:
  TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // Frees the owned components, last created first.
  virtual ~TComponent();

  // The class's own name ("TButton"); skins classify components by it.
  virtual std::string_view ClassName() const { return "TComponent"; }

  const std::string& Name() const { return FName; }
  void SetName(std::string_view name) { FName = name; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }
  TComponent* Owner() const { return FOwner; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(index).get(); }
  TComponent* FindComponent(std::string_view name) const;

  // Creates a component owned by this one; it is freed with its owner.
  template <class T, class... Args>
  T* Make(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = component.get();
    InsertComponent(std::move(component));
    return raw;
  }
  void InsertComponent(std::unique_ptr<TComponent> component);
  // Frees one owned component now (after telling the others it goes).
  void DestroyComponent(TComponent* component);

  // Tells `other` when this component is removed, whoever owns them.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Points `field` at `value` and hears of that component's end (Notification with
  // opRemove), so the field can be cleared in time. The old one may still be heard of:
  // another field may point at it, and Notification compares with the fields anyway.
  template <class T>
  void WatchReference(T*& field, T* value) {
    field = value;
    if (value) FreeNotification(value);
  }

 protected:
  // A component this one knows of is going away (or has arrived).
  virtual void Notification(TComponent* component, TOperation operation);
  bool Destroying() const { return FDestroying; }
  void DestroyComponents();

 private:
  void NotifyRemoval(TComponent* component);
  std::string FName;
  int FTag = 0;
  TComponent* FOwner = nullptr;
  bool FDestroying = false;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

class TStringList {
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::wstring> lines) : FLines(lines) {}

  int Count() const { return static_cast<int>(FLines.size()); }
  const std::wstring& operator[](int index) const { return FLines.at(index); }
  void Put(int index, std::wstring_view line);
  int Add(std::wstring_view line);
  void Insert(int index, std::wstring_view line);
  void Delete(int index);
  void Clear();
  // Case-insensitive, as the lists of the form compare.
  int IndexOf(std::wstring_view line) const;

  // "name=value" lines.
  std::wstring Names(int index) const;
  std::wstring ValueFromIndex(int index) const;
  int IndexOfName(std::wstring_view name) const;
  std::wstring Values(std::wstring_view name) const;
  void SetValue(std::wstring_view name, std::wstring_view value);

  // Lines joined with CR LF; setting splits at CR LF, LF or CR.
  std::wstring Text() const;
  void SetText(std::wstring_view text);
  void Sort();

  const std::vector<std::wstring>& Lines() const { return FLines; }
  std::function<void()> OnChange;

 private:
  void Changed();
  std::vector<std::wstring> FLines;
};

// ---- properties by name

enum TPropertyKind { pkBoolean, pkEnumeration };

struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = pkBoolean;
  std::vector<std::string> Members;  // enumeration member names; {"False","True"} for booleans
  std::function<bool(const TComponent&)> Applies;
  std::function<int(const TComponent&)> Get;
  std::function<void(TComponent&, int)> Set;
};

// Registers a published property. Classes register theirs once at start-up.
void RegisterProperty(TPropertyInfo info);

template <class T>
void RegisterBooleanProperty(std::string name, bool (T::*getter)() const, void (T::*setter)(bool)) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = pkBoolean;
  info.Members = {"False", "True"};
  info.Applies = [](const TComponent& c) { return dynamic_cast<const T*>(&c) != nullptr; };
  info.Get = [getter](const TComponent& c) { return (static_cast<const T&>(c).*getter)() ? 1 : 0; };
  info.Set = [setter](TComponent& c, int v) { (static_cast<T&>(c).*setter)(v != 0); };
  RegisterProperty(std::move(info));
}

// True when `component` has a published property `name` of boolean or enumeration type
// and `value` is one of its member names; it is then set.
bool SetPropertyByName(TComponent& component, std::string_view name, std::string_view value);
// The member name of the property's current value; nothing when there is no such property.
std::optional<std::string> GetPropertyText(const TComponent& component, std::string_view name);
bool HasProperty(const TComponent& component, std::string_view name);

}  // namespace kv
