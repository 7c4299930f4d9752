// Text out-parameters: the client fills them with UTF-8 texts, the entry hands back converted copies.
// A host that passes no address for one gets nothing back there, and nothing is read through it.
#pragma once

inline const char* filled_text(const char* const* out) { return out != nullptr ? *out : nullptr; }

inline void hand_back(const char** out, const char* text) {
    if (out != nullptr) *out = text;
}
