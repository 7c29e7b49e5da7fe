#include "framework/Classes.h"

#include <algorithm>
#include <cwctype>

#include "base/ByteText.h"

namespace kv {

// ---- TComponent

TComponent::~TComponent() {
  FDestroying = true;
  DestroyComponents();
  for (TComponent* other : std::vector<TComponent*>(FFreeNotifies)) {
    other->RemoveFreeNotification(this);
    other->Notification(this, opRemove);
  }
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) DestroyComponent(FComponents.back().get());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : FComponents) {
    if (SameTextAscii(c->FName, name)) return c.get();
  }
  return nullptr;
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  component->FOwner = this;
  TComponent* raw = component.get();
  FComponents.push_back(std::move(component));
  Notification(raw, opInsert);
}

void TComponent::NotifyRemoval(TComponent* component) {
  Notification(component, opRemove);
  for (const auto& c : FComponents)
    if (c.get() != component) c->Notification(component, opRemove);
}

void TComponent::DestroyComponent(TComponent* component) {
  auto it =
      std::find_if(FComponents.begin(), FComponents.end(), [component](const auto& c) { return c.get() == component; });
  if (it == FComponents.end()) return;
  NotifyRemoval(component);
  // Take it out of the list before it dies, so that nothing sees a half-destroyed entry.
  std::unique_ptr<TComponent> dying = std::move(*it);
  FComponents.erase(it);
  dying.reset();
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(other);
    other->FreeNotification(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) { std::erase(FFreeNotifies, other); }

void TComponent::Notification(TComponent*, TOperation) {}

// ---- TStringList

namespace {
bool SameTextW(std::wstring_view a, std::wstring_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}
}  // namespace

void TStringList::Changed() {
  if (OnChange) OnChange();
}

void TStringList::Put(int index, std::wstring_view line) {
  FLines.at(index) = line;
  Changed();
}

int TStringList::Add(std::wstring_view line) {
  FLines.emplace_back(line);
  Changed();
  return Count() - 1;
}

void TStringList::Insert(int index, std::wstring_view line) {
  FLines.insert(FLines.begin() + std::clamp(index, 0, Count()), std::wstring(line));
  Changed();
}

void TStringList::Delete(int index) {
  FLines.erase(FLines.begin() + index);
  Changed();
}

void TStringList::Clear() {
  FLines.clear();
  Changed();
}

int TStringList::IndexOf(std::wstring_view line) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextW(FLines[i], line)) return i;
  return -1;
}

std::wstring TStringList::Names(int index) const {
  const std::wstring& line = FLines.at(index);
  const auto eq = line.find(L'=');
  return eq == std::wstring::npos ? std::wstring() : line.substr(0, eq);
}

std::wstring TStringList::ValueFromIndex(int index) const {
  const std::wstring& line = FLines.at(index);
  const auto eq = line.find(L'=');
  return eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
}

int TStringList::IndexOfName(std::wstring_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const auto eq = FLines[i].find(L'=');
    if (eq != std::wstring::npos && SameTextW(std::wstring_view(FLines[i]).substr(0, eq), name)) return i;
  }
  return -1;
}

std::wstring TStringList::Values(std::wstring_view name) const {
  const int i = IndexOfName(name);
  return i < 0 ? std::wstring() : ValueFromIndex(i);
}

void TStringList::SetValue(std::wstring_view name, std::wstring_view value) {
  const int i = IndexOfName(name);
  std::wstring line = std::wstring(name) + L"=" + std::wstring(value);
  if (i >= 0 && value.empty()) {
    Delete(i);
  } else if (i >= 0) {
    Put(i, line);
  } else if (!value.empty()) {
    Add(line);
  }
}

std::wstring TStringList::Text() const {
  std::wstring text;
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    if (i) text += L"\r\n";
    text += FLines[i];
  }
  return text;
}

void TStringList::SetText(std::wstring_view text) {
  FLines.clear();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      if (start < text.size()) FLines.emplace_back(text.substr(start));
      break;
    }
    FLines.emplace_back(text.substr(start, end - start));
    start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
  }
  Changed();
}

void TStringList::Sort() {
  std::stable_sort(FLines.begin(), FLines.end(), [](const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return std::towlower(x) < std::towlower(y); });
  });
  Changed();
}

// ---- properties by name

namespace {
std::vector<TPropertyInfo>& Registry() {
  static std::vector<TPropertyInfo> registry;
  return registry;
}

const TPropertyInfo* FindProperty(const TComponent& component, std::string_view name) {
  // Later registrations (more derived classes) win.
  const auto& registry = Registry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
    if (SameTextAscii(it->Name, name) && it->Applies(component)) return &*it;
  }
  return nullptr;
}
}  // namespace

void RegisterProperty(TPropertyInfo info) { Registry().push_back(std::move(info)); }

bool HasProperty(const TComponent& component, std::string_view name) {
  return FindProperty(component, name) != nullptr;
}

bool SetPropertyByName(TComponent& component, std::string_view name, std::string_view value) {
  const TPropertyInfo* info = FindProperty(component, name);
  if (!info) return false;
  for (std::size_t i = 0; i < info->Members.size(); ++i) {
    const std::string& m = info->Members[i];
    if (SameTextAscii(m, value)) {
      info->Set(component, static_cast<int>(i));
      return true;
    }
  }
  return false;
}

std::optional<std::string> GetPropertyText(const TComponent& component, std::string_view name) {
  const TPropertyInfo* info = FindProperty(component, name);
  if (!info) return std::nullopt;
  const int v = info->Get(component);
  if (v < 0 || v >= static_cast<int>(info->Members.size())) return std::to_string(v);
  return info->Members[v];
}

}  // namespace kv
