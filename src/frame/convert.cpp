// Conversion primitives. Every text goes the same way: measure the converted size, obtain a buffer of
// at least that size plus a terminator, let the host's transcoder write straight into it (or copy the
// bytes when the session needs no conversion), terminate. Sizes derived from host or client answers
// are checked, and the terminator never lands outside the buffer whatever the host reports.
//
// Every entry that carries texts runs through here, so the per-text path is kept lean: the direction is
// a compile-time choice (each loop reads its encodings, transcoder and slots at fixed offsets), and the
// measure/write steps are inlined into the loops so a call has one frame however many texts it converts.
#include "frame/convert.h"

#include <cstring>

#define VX_INLINE inline __attribute__((always_inline))

namespace {

constexpr uint64_t kEmptySlotSize = 64;

// Host session encoding -> UTF-8, into the inbound slots.
struct Inbound {
    static int64_t from(const ConversionState* s) { return s->session_encoding; }
    static int64_t to(const ConversionState*) { return UTF8_ENCODING_ID; }
    static HostTranscoder* transcoder(const ConversionState* s) { return s->to_utf8; }
    static char** slot_text(ConversionState* s) { return s->in_text; }
    static uint64_t* slot_capacity(ConversionState* s) { return s->in_capacity; }
};

// UTF-8 -> host session encoding, into the outbound slots.
struct Outbound {
    static int64_t from(const ConversionState*) { return UTF8_ENCODING_ID; }
    static int64_t to(const ConversionState* s) { return s->session_encoding; }
    static HostTranscoder* transcoder(const ConversionState* s) { return s->from_utf8; }
    static char** slot_text(ConversionState* s) { return s->out_text; }
    static uint64_t* slot_capacity(ConversionState* s) { return s->out_capacity; }
};

// The encodings and transcoder of one direction, read once per primitive call.
struct Route {
    int64_t from;
    int64_t to;
    HostTranscoder* transcoder;
};

template <class Way>
VX_INLINE Route route(const ConversionState* state) {
    return {Way::from(state), Way::to(state), Way::transcoder(state)};
}

VX_INLINE uint64_t text_length(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

// Bytes the converted text needs, without terminator. Without a transcoder the bytes are copied, so
// the buffer must hold the whole text even when the host measures less.
VX_INLINE uint64_t measure(const Route& r, const char* text, uint64_t length) {
    uint64_t needed = 0;
    HostNls* nls = g_host_services->nls;
    nls->measure(nls, r.from, text, length, r.to, &needed);
    if (r.transcoder == nullptr && needed < length) needed = length;
    return needed;
}

// `size` bytes from the pool, or null.
VX_INLINE void* allocate(BridgeInstance* rec, uint64_t size, uint32_t flags) {
    return rec->pool->allocate(rec->pool, size, flags);
}

VX_INLINE void release(BridgeInstance* rec, void* block) { rec->pool->free(rec->pool, block); }

VX_INLINE bool checked_size(uint64_t count, uint64_t element, uint64_t* size) {
    return !__builtin_mul_overflow(count, element, size);
}

// Writes the converted text into `buffer` (capacity bytes plus one for the NUL) and terminates it.
// Returns the transcoder's status (0 for a plain copy).
VX_INLINE int32_t write_text(const Route& r, const char* text, uint64_t length, char* buffer, uint64_t capacity,
                             uint32_t* run) {
    uint64_t written = 0;
    int32_t status = 0;
    if (r.transcoder != nullptr) {
        status = r.transcoder->transcode(r.transcoder, text, length, buffer, capacity, &written, run);
        if (written > capacity) written = capacity;
    } else {
        if (length != 0) std::memcpy(buffer, text, length);
        written = length;
    }
    buffer[written] = '\0';
    return status;
}

// Converts `text` into a buffer of its own, sized exactly for it. Null when the buffer cannot be had;
// a transcoder failure leaves the text as far as it was written.
VX_INLINE char* convert_to_new_buffer(BridgeInstance* rec, const Route& r, const char* text) {
    const uint64_t length = text_length(text);
    const uint64_t needed = measure(r, text, length);
    uint64_t size = 0;
    if (__builtin_add_overflow(needed, uint64_t{1}, &size)) return nullptr;
    auto* buffer = static_cast<char*>(allocate(rec, size, 0));
    if (buffer == nullptr) return nullptr;
    uint32_t run = 1;
    write_text(r, text, length, buffer, needed, &run);
    return buffer;
}

// Converts one text into slot k. False when the text counts as not converted: its buffer could not be
// had (the slot is then empty) or the transcoder failed (the slot holds what it wrote).
template <class Way>
VX_INLINE bool convert_into_slot(BridgeInstance* rec, ConversionState* state, const Route& r, int32_t k,
                                 const char* text, uint32_t* run) {
    char*& slot_text = Way::slot_text(state)[k];
    uint64_t& slot_capacity = Way::slot_capacity(state)[k];
    const uint64_t length = text_length(text);
    if (length == 0) {
        // Empty texts cost no host call once the slot has a buffer.
        if (slot_text == nullptr) {
            slot_text = static_cast<char*>(allocate(rec, kEmptySlotSize, 0));
            if (slot_text == nullptr) return false;
            slot_capacity = kEmptySlotSize - 1;
        }
        slot_text[0] = '\0';
        return true;
    }
    const uint64_t needed = measure(r, text, length);
    if (slot_text == nullptr || needed > slot_capacity) {
        if (slot_text != nullptr) release(rec, slot_text);
        slot_text = nullptr;
        slot_capacity = 0;
        uint64_t size = 0;
        if (__builtin_add_overflow(needed, uint64_t{1}, &size)) return false;
        auto* buffer = static_cast<char*>(allocate(rec, size, 0));
        if (buffer == nullptr) return false;
        slot_text = buffer;
        slot_capacity = needed;
    }
    return write_text(r, text, length, slot_text, slot_capacity, run) == 0;
}

// The scratch-slot loop, one instance per direction.
template <class Way>
int32_t convert_into_slots(BridgeInstance* rec, int32_t n, const char* const* texts) {
    ConversionState* state = rec->conversion;
    if (state == nullptr || n <= 0) return 0;
    const Route r = route<Way>(state);
    uint32_t run = 1;  // one conversion run for all texts of the call
    for (int32_t k = 0; k < n; ++k) {
        if (!convert_into_slot<Way>(rec, state, r, k, texts[k], &run)) return k;
    }
    return n;
}

// The same for a single text, which most entries pass: no array and no loop.
template <class Way>
int32_t convert_into_slot_0(BridgeInstance* rec, const char* text) {
    ConversionState* state = rec->conversion;
    if (state == nullptr) return 0;
    uint32_t run = 1;
    return convert_into_slot<Way>(rec, state, route<Way>(state), 0, text, &run) ? 1 : 0;
}

}  // namespace

int32_t conv_in_args(BridgeInstance* rec, int32_t n, const char* const* texts) {
    return convert_into_slots<Inbound>(rec, n, texts);
}

int32_t conv_out_args(BridgeInstance* rec, int32_t n, const char* const* texts) {
    return convert_into_slots<Outbound>(rec, n, texts);
}

int32_t conv_in_arg(BridgeInstance* rec, const char* text) { return convert_into_slot_0<Inbound>(rec, text); }

int32_t conv_out_arg(BridgeInstance* rec, const char* text) { return convert_into_slot_0<Outbound>(rec, text); }

NameValuePair* conv_in_pairs(BridgeInstance* rec, const NameValuePair* pairs, int32_t count) {
    uint64_t size = 0;
    if (count <= 0 || !checked_size(static_cast<uint64_t>(count), sizeof(NameValuePair), &size)) return nullptr;
    auto* copy = static_cast<NameValuePair*>(allocate(rec, size, POOL_FLAG_ARRAY));
    if (copy == nullptr) return nullptr;
    const Route r = route<Inbound>(rec->conversion);
    for (int32_t i = 0; i < count; ++i) {
        copy[i].name = convert_to_new_buffer(rec, r, pairs[i].name);
        copy[i].value = nullptr;
        if (copy[i].name != nullptr) copy[i].value = convert_to_new_buffer(rec, r, pairs[i].value);
        if (copy[i].value == nullptr) {
            free_pairs(rec, copy, i + 1);  // everything stored so far, then the array
            return nullptr;
        }
    }
    return copy;
}

void free_pairs(BridgeInstance* rec, NameValuePair* copy, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        if (copy[i].name != nullptr) release(rec, const_cast<char*>(copy[i].name));
        if (copy[i].value != nullptr) release(rec, const_cast<char*>(copy[i].value));
    }
    release(rec, copy);
}

char** conv_out_list(BridgeInstance* rec, const char* const* texts, int32_t* count) {
    ConversionState* state = rec->conversion;
    if (state == nullptr) return nullptr;
    if (state->string_list != nullptr) {
        for (int32_t i = 0; i < state->string_count; ++i) {
            if (state->string_list[i] != nullptr) release(rec, state->string_list[i]);
        }
        release(rec, state->string_list);
    }
    state->string_list = nullptr;
    state->string_count = 0;

    const int32_t wanted = *count;
    uint64_t size = 0;
    if (wanted < 0 || !checked_size(static_cast<uint64_t>(wanted), sizeof(char*), &size)) {
        *count = 0;
        return nullptr;
    }
    char** list = static_cast<char**>(allocate(rec, size, POOL_FLAG_ARRAY));
    state->string_list = list;
    if (list == nullptr) {
        *count = 0;
        return nullptr;
    }
    const Route r = route<Outbound>(state);
    int32_t converted = 0;
    while (converted < wanted) {
        list[converted] = convert_to_new_buffer(rec, r, texts[converted]);
        if (list[converted] == nullptr) break;
        ++converted;
    }
    state->string_count = converted;
    *count = converted;
    return list;
}

NameValuePair** conv_out_pair_list(BridgeInstance* rec, NameValuePair* const* pairs, int32_t count) {
    ConversionState* state = rec->conversion;
    uint64_t pointer_bytes = 0;
    uint64_t record_bytes = 0;
    if (state == nullptr || count <= 0 || !checked_size(static_cast<uint64_t>(count), sizeof(void*), &pointer_bytes) ||
        !checked_size(static_cast<uint64_t>(count), sizeof(NameValuePair), &record_bytes)) {
        return nullptr;
    }
    auto** list = static_cast<NameValuePair**>(allocate(rec, pointer_bytes, 0));
    if (list == nullptr) return nullptr;
    auto* block = static_cast<NameValuePair*>(allocate(rec, record_bytes, 0));
    if (block == nullptr) {
        release(rec, list);
        return nullptr;
    }
    for (int32_t i = 0; i < count; ++i) list[i] = &block[i];
    const Route r = route<Outbound>(state);
    for (int32_t i = 0; i < count; ++i) {
        const NameValuePair* source = pairs[i];
        block[i].name = convert_to_new_buffer(rec, r, source ? source->name : nullptr);
        block[i].value = convert_to_new_buffer(rec, r, source ? source->value : nullptr);
    }
    state->pair_list = list;
    state->pair_count = count;
    return list;
}

void release_pair_list(BridgeInstance* rec) {
    ConversionState* state = rec->conversion;
    if (state == nullptr || state->pair_list == nullptr) return;
    for (int32_t i = 0; i < state->pair_count; ++i) {
        NameValuePair* pair = state->pair_list[i];
        if (pair->name != nullptr) release(rec, const_cast<char*>(pair->name));
        if (pair->value != nullptr) release(rec, const_cast<char*>(pair->value));
    }
    release(rec, state->pair_list[0]);
    release(rec, state->pair_list);
    state->pair_list = nullptr;
    state->pair_count = 0;
}
