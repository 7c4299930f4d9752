// Conversion primitives. Every text goes the same way: measure the converted size, obtain a buffer of
// at least that size plus a terminator, let the host's transcoder write straight into it (or copy the
// bytes when the session needs no conversion), terminate. Sizes derived from host or client answers
// are checked, and the terminator never lands outside the buffer whatever the host reports.
#include "frame/convert.h"

#include <cstring>

namespace {

constexpr uint64_t kEmptySlotSize = 64;

enum class Direction { inbound, outbound };

struct Route {
    int64_t from;
    int64_t to;
    HostTranscoder* transcoder;
};

Route route(const ConversionState* state, Direction direction) {
    if (direction == Direction::inbound) return {state->session_encoding, UTF8_ENCODING_ID, state->to_utf8};
    return {UTF8_ENCODING_ID, state->session_encoding, state->from_utf8};
}

uint64_t text_length(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

// Bytes the converted text needs, without terminator. Without a transcoder the bytes are copied, so
// the buffer must hold the whole text even when the host measures less.
uint64_t measure(const Route& r, const char* text, uint64_t length) {
    uint64_t needed = 0;
    HostNls* nls = g_host_services->nls;
    nls->measure(nls, r.from, text, length, r.to, &needed);
    if (r.transcoder == nullptr && needed < length) needed = length;
    return needed;
}

// `size` bytes from the pool, or null; a size that cannot be represented is a failed allocation.
void* allocate(BridgeInstance* rec, uint64_t size, uint32_t flags) {
    return rec->pool->allocate(rec->pool, size, flags);
}

void release(BridgeInstance* rec, void* block) { rec->pool->free(rec->pool, block); }

bool checked_size(uint64_t count, uint64_t element, uint64_t* size) {
    return !__builtin_mul_overflow(count, element, size);
}

// Writes the converted text into `buffer` (capacity bytes plus one for the NUL) and terminates it.
// Returns the transcoder's status (0 for a plain copy).
int32_t write_text(const Route& r, const char* text, uint64_t length, char* buffer, uint64_t capacity, uint32_t* run) {
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
char* convert_to_new_buffer(BridgeInstance* rec, Direction direction, const char* text) {
    const Route r = route(rec->conversion, direction);
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

// The scratch-slot loop shared by both directions.
int32_t convert_into_slots(BridgeInstance* rec, Direction direction, int32_t n, const char* const* texts) {
    ConversionState* state = rec->conversion;
    if (state == nullptr || n <= 0) return 0;
    char** slot_text = direction == Direction::inbound ? state->in_text : state->out_text;
    uint64_t* slot_capacity = direction == Direction::inbound ? state->in_capacity : state->out_capacity;
    const Route r = route(state, direction);
    uint32_t run = 1;  // one conversion run for all texts of the call
    for (int32_t k = 0; k < n; ++k) {
        const char* text = texts[k];
        const uint64_t length = text_length(text);
        if (length == 0) {
            // Empty texts cost no host call once the slot has a buffer.
            if (slot_text[k] == nullptr) {
                slot_text[k] = static_cast<char*>(allocate(rec, kEmptySlotSize, 0));
                if (slot_text[k] == nullptr) return k;
                slot_capacity[k] = kEmptySlotSize - 1;
            }
            slot_text[k][0] = '\0';
            continue;
        }
        const uint64_t needed = measure(r, text, length);
        if (slot_text[k] == nullptr || needed > slot_capacity[k]) {
            if (slot_text[k] != nullptr) release(rec, slot_text[k]);
            slot_text[k] = nullptr;
            slot_capacity[k] = 0;
            uint64_t size = 0;
            if (__builtin_add_overflow(needed, uint64_t{1}, &size)) return k;
            auto* buffer = static_cast<char*>(allocate(rec, size, 0));
            if (buffer == nullptr) return k;
            slot_text[k] = buffer;
            slot_capacity[k] = needed;
        }
        if (write_text(r, text, length, slot_text[k], slot_capacity[k], &run) != 0) return k;
    }
    return n;
}

}  // namespace

int32_t conv_in_args(BridgeInstance* rec, int32_t n, const char* const* texts) {
    return convert_into_slots(rec, Direction::inbound, n, texts);
}

int32_t conv_out_args(BridgeInstance* rec, int32_t n, const char* const* texts) {
    return convert_into_slots(rec, Direction::outbound, n, texts);
}

NameValuePair* conv_in_pairs(BridgeInstance* rec, const NameValuePair* pairs, int32_t count) {
    uint64_t size = 0;
    if (count <= 0 || !checked_size(static_cast<uint64_t>(count), sizeof(NameValuePair), &size)) return nullptr;
    auto* copy = static_cast<NameValuePair*>(allocate(rec, size, POOL_FLAG_ARRAY));
    if (copy == nullptr) return nullptr;
    for (int32_t i = 0; i < count; ++i) {
        copy[i].name = convert_to_new_buffer(rec, Direction::inbound, pairs[i].name);
        copy[i].value = nullptr;
        if (copy[i].name != nullptr) copy[i].value = convert_to_new_buffer(rec, Direction::inbound, pairs[i].value);
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
    state->string_list = static_cast<char**>(allocate(rec, size, POOL_FLAG_ARRAY));
    if (state->string_list == nullptr) {
        *count = 0;
        return nullptr;
    }
    for (int32_t i = 0; i < wanted; ++i) {
        state->string_list[i] = convert_to_new_buffer(rec, Direction::outbound, texts[i]);
        if (state->string_list[i] == nullptr) break;
        ++state->string_count;
    }
    *count = state->string_count;
    return state->string_list;
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
    for (int32_t i = 0; i < count; ++i) {
        const NameValuePair* source = pairs[i];
        block[i].name = convert_to_new_buffer(rec, Direction::outbound, source ? source->name : nullptr);
        block[i].value = convert_to_new_buffer(rec, Direction::outbound, source ? source->value : nullptr);
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
