#include "platform/graphics/Resources.h"

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace zelvar {

struct TModule {
  std::string Name;
  std::map<std::string, HBITMAP> Bitmaps;  // keyed by upper-case name
};

namespace {

struct TRegistry {
  std::mutex Lock;
  std::map<std::string, std::unique_ptr<TModule>> Modules;  // keyed by upper-case name
  // A deque never moves its elements, and nothing is ever removed, so every handle given out
  // stays valid even after its name is given a new image.
  std::deque<TImageData> Images;

  TModule* Find(HMODULE module) {
    // Compared by address only: a stale or foreign pointer must not be dereferenced.
    for (auto& [key, m] : Modules) {
      if (m.get() == module) return m.get();
    }
    return nullptr;
  }
};

TRegistry& Registry() {
  // Never destroyed, so images stay usable from other objects' destructors at exit.
  static TRegistry& registry = *new TRegistry;
  return registry;
}

}  // namespace

HMODULE RegisterModule(std::string_view name) {
  TRegistry& r = Registry();
  std::lock_guard lock(r.Lock);
  auto& slot = r.Modules[UpperCase(name)];
  if (!slot) slot = std::make_unique<TModule>(TModule{std::string(name), {}});
  return slot.get();
}

void RegisterBitmapResource(HMODULE module, std::string_view name, TImageData image) {
  if (image.Width < 0 || image.Height < 0 ||
      image.Pixels.size() != static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
    throw EInvalidGraphic("Bitmap resource '" + std::string(name) +
                          "': pixel count does not match its size");
  TRegistry& r = Registry();
  std::lock_guard lock(r.Lock);
  TModule* m = module ? r.Find(module) : nullptr;
  if (!m)
    throw EInvalidOperation("Bitmap resource '" + std::string(name) + "': module not registered");
  r.Images.push_back(std::move(image));
  m->Bitmaps[UpperCase(name)] = &r.Images.back();
}

HBITMAP LoadBitmapA(HMODULE module, std::string_view name) {
  if (!module) return nullptr;
  TRegistry& r = Registry();
  std::lock_guard lock(r.Lock);
  TModule* m = r.Find(module);
  if (!m) return nullptr;
  auto it = m->Bitmaps.find(UpperCase(name));
  return it == m->Bitmaps.end() ? nullptr : it->second;
}

}  // namespace zelvar
