#include "handle_table.h"

#include <cstdint>

#include "library_identity.h"

namespace jwsim {
namespace {

// Bits 32..46 of every handle: a hash of the library's name (kept below 2^47 so values look like
// ordinary user-space addresses in a debugger).
uintptr_t library_tag() {
    static const uintptr_t tag = [] {
        uint32_t hash = 2166136261u;  // FNV-1a
        for (const char* c = library_name(); *c != '\0'; ++c)
            hash = (hash ^ static_cast<unsigned char>(*c)) * 16777619u;
        return static_cast<uintptr_t>((hash & 0x7FFFu) | 0x100u) << 32;
    }();
    return tag;
}

// Shared by every table the library ever makes, so a table made at reset never repeats a number.
uint64_t last_serial = 0;

}  // namespace

void* new_handle_value() { return reinterpret_cast<void*>(library_tag() | static_cast<uintptr_t>(++last_serial << 4)); }

}  // namespace jwsim
