// The per-instance interface record and the module's exports.
//
// A host makes an instance with the entry export and from then on calls the operation entries of the
// record, always passing the record itself first. The record also carries the instance's state; its
// layout is fixed to the byte because hosts address entries by position.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/host.h"

struct ConversionState;

extern "C" {

// An operation entry as stored in the record; each entry has its own signature (docs/interface.md).
using EntryFn = void (*)(void);

inline constexpr int kRecordEntries = 146;
inline constexpr int kFirstUnusedEntry = 73;  // entries 73-145 are never written

struct BridgeInstance {
    union {
        // Entry n occupies bytes 8n to 8n+7; operation entries are addressed by number.
        EntryFn entry[kRecordEntries];
        struct {
            char eyecatcher[4];  // "nevo"; bytes 4-7 are never written
            uint32_t reserved0;
            EntryFn reserved1_8[8];
            HostPool* pool;               // entry 9
            void* acj_handle;             // entry 10: the batch connection
            void* rta_handle;             // entry 11: the real-time connection
            ConversionState* conversion;  // entry 12
            char server[64];              // entries 13-20: last server text given to entry 22, as given
            int32_t port;                 // entry 21, first half
            uint32_t reserved21;
        };
    };
};

// Exports. The entry export's name differs per deliverable (variant.cpp).
__attribute__((visibility("default"))) int32_t vxextver(HostServices* services, int64_t* major, int64_t* minor);
__attribute__((visibility("default"))) int32_t vxextent(HostServices* services);

// Makes an instance; shared by the two deliverables' entry exports.
BridgeInstance* bridge_create_instance(HostContext* context, void* handed_on);

// Answers the client library's "sslenab" question: 1 in the SSL build, 0 in the plain one.
int32_t bridge_ssl_enabled(void);

// Entries of the record that do not bridge a client call.
int32_t bridge_get_version(BridgeInstance* rec, int64_t* major, int64_t* minor, int64_t* revision);
int32_t bridge_destroy(BridgeInstance* rec);
int32_t bridge_const_minus_one(void);
int32_t bridge_const_one(void);

}  // extern "C"

// The module-wide service record, handed over by vxextver or vxextent.
extern HostServices* g_host_services;

static_assert(sizeof(BridgeInstance) == 1168);
static_assert(offsetof(BridgeInstance, eyecatcher) == 0);
static_assert(offsetof(BridgeInstance, pool) == 72);
static_assert(offsetof(BridgeInstance, acj_handle) == 80);
static_assert(offsetof(BridgeInstance, rta_handle) == 88);
static_assert(offsetof(BridgeInstance, conversion) == 96);
static_assert(offsetof(BridgeInstance, server) == 104);
static_assert(offsetof(BridgeInstance, port) == 168);
