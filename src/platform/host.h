// The host kernel's records as this extension sees them.
//
// Every record is a table of function pointers at fixed byte positions, and every operation receives
// its own record as first argument. Only the operations the extension calls are named; the gaps in
// between belong to the host and are never touched. The positions are part of the host's binary
// interface, so each one is pinned with a static_assert.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

struct HostContext;
struct HostServices;
struct HostNls;
struct HostPool;
struct HostTranscoder;

// The host's encoding id of UTF-8; every text exchanged with the client library is in it.
inline constexpr int32_t UTF8_ENCODING_ID = 20;

// Flag word the host's pool understands for array allocations (its meaning is the host's).
inline constexpr uint32_t POOL_FLAG_ARRAY = 0x80000000u;

// Handed to the entry export; makes the instance's memory pool.
struct HostContext {
    void* host_reserved[6];
    // attributes: a 24-byte record, all zero; handed_on: the entry export's second argument, unchanged;
    // name: 8-bit pool name.
    HostPool* (*create_pool)(HostContext* self, const void* attributes, void* handed_on, const char* name);
};

// Handed over by vxextver / vxextent; shared by every instance of the module.
struct HostServices {
    void* host_reserved_a[14];
    // key: UTF-16 text of key_length 16-bit characters (no terminator); type 3 asks for an integer;
    // value: 8-byte slot, the value in its low 32 bits; size: holds the slot's size (8). 0 when found.
    int32_t (*get_option)(HostServices* self, const uint16_t* key, uint64_t key_length, int32_t type, void* value,
                          uint64_t* size);
    void* host_reserved_b[12];
    HostNls* nls;
};

// Character-set services. Encoding ids are signed 32-bit values widened to 64 bits.
struct HostNls {
    void* host_reserved_a[10];
    // Sets *count to the bytes `text` needs in `to_encoding`, without terminator. A null text of
    // length 0 measures 0. The result is not meaningful to callers.
    int32_t (*measure)(HostNls* self, int64_t from_encoding, const char* text, uint64_t length, int64_t to_encoding,
                       uint64_t* count);
    // The truth value stands in the low byte of the result.
    uint32_t (*needs_conversion)(HostNls* self, int64_t from_encoding, int64_t to_encoding, int64_t reserved);
    void* host_reserved_b[2];
    HostTranscoder* (*create_transcoder)(HostNls* self, int64_t from_encoding, int64_t to_encoding, int64_t reserved_a,
                                         int64_t reserved_b);
};

// One memory pool; destroying it releases every block it handed out.
struct HostPool {
    void* host_reserved[2];
    void (*destroy)(HostPool* self);
    void* (*allocate)(HostPool* self, uint64_t size, uint32_t flags);
    void (*free)(HostPool* self, void* block);
};

// Converts texts from one encoding to another.
struct HostTranscoder {
    void* host_reserved_a[2];
    void (*destroy)(HostTranscoder* self);
    void* host_reserved_b;
    // Writes at most `capacity` bytes into `buffer` and sets *written to their number; no terminator.
    // *run is set to 1 by the caller at the start of a conversion run. 0 on success.
    int32_t (*transcode)(HostTranscoder* self, const char* text, uint64_t length, char* buffer, uint64_t capacity,
                         uint64_t* written, uint32_t* run);
};

}  // extern "C"

static_assert(offsetof(HostContext, create_pool) == 48);
static_assert(offsetof(HostServices, get_option) == 112);
static_assert(offsetof(HostServices, nls) == 216);
static_assert(offsetof(HostNls, measure) == 80);
static_assert(offsetof(HostNls, needs_conversion) == 88);
static_assert(offsetof(HostNls, create_transcoder) == 112);
static_assert(offsetof(HostPool, destroy) == 16);
static_assert(offsetof(HostPool, allocate) == 24);
static_assert(offsetof(HostPool, free) == 32);
static_assert(offsetof(HostTranscoder, destroy) == 16);
static_assert(offsetof(HostTranscoder, transcode) == 32);
