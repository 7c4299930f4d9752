// Small helpers the server methods share for the arguments a caller may leave out.
#pragma once

namespace jwsim {

// Writes an out-value only where the caller gave an address.
template <class T, class V>
void put(T* out, V value) {
    if (out != nullptr) *out = value;
}

// A required text that is null or empty.
inline bool missing(const char* text) { return text == nullptr || *text == '\0'; }

}  // namespace jwsim
