// The opaque handles the library gives out: connections and response handles.
//
// A handle is a number, never an address, so a stale or foreign handle can be recognised instead of
// dereferenced. Numbers are never reused, not even across a reset, and carry a tag derived from the
// library's name, so a handle of one client library is unknown to the other. Each kind of handle has a
// table of its own, so a handle of another kind is simply not found.
#pragma once

#include <memory>
#include <unordered_map>
#include <utility>

namespace jwsim {

// A handle value no table of this library has given out before.
void* new_handle_value();

template <class T>
class HandleTable {
  public:
    // A new handle and the object behind it; the object stays at its address until released.
    std::pair<void*, T*> make() {
        void* handle = new_handle_value();
        T* object = (entries_[handle] = std::make_unique<T>()).get();
        return {handle, object};
    }
    // The object behind `handle` when it is a live handle of this table, else null.
    T* find(const void* handle) const {
        auto found = entries_.find(handle);
        return found != entries_.end() ? found->second.get() : nullptr;
    }
    // Forgets `handle`; false when it was not a live handle of this table.
    bool release(const void* handle) { return entries_.erase(handle) != 0; }

  private:
    std::unordered_map<const void*, std::unique_ptr<T>> entries_;
};

}  // namespace jwsim
