// Text conversion between the host's session encoding and UTF-8, and the per-instance storage in which
// converted texts live.
//
// Inbound texts (host -> client library) go into five reusable scratch slots, outbound texts
// (client library -> host) into three. Lists the client returns are copied into one stored string
// list and one stored pair list, each rebuilt by the calls that return them. Everything comes from the
// instance's pool; the host never frees what it is handed and copies what it wants to keep.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/instance.h"
#include "platform/jobwire.h"

inline constexpr int kInSlots = 5;
inline constexpr int kOutSlots = 3;

struct ConversionState {
    HostTranscoder* to_utf8;    // session encoding -> UTF-8; null when no conversion is needed
    HostTranscoder* from_utf8;  // UTF-8 -> session encoding; present exactly when to_utf8 is
    int32_t session_encoding;
    char* in_text[kInSlots];  // a slot is empty (null, capacity 0) or owns capacity + 1 bytes
    uint64_t in_capacity[kInSlots];
    char* out_text[kOutSlots];
    uint64_t out_capacity[kOutSlots];
    char** string_list;  // stored string list: string_count converted texts
    int32_t string_count;
    NameValuePair** pair_list;  // stored pair list: pointer i leads to record i of one block
    int32_t pair_count;
};

// Converts n texts from the session encoding into inbound slots 0..n-1. Returns how many were
// converted; text k failing leaves slot k as the failure left it and slots after k untouched.
int32_t conv_in_args(BridgeInstance* rec, int32_t n, const char* const* texts);
// Converts n UTF-8 texts into outbound slots 0..n-1, with the same result and failure rules.
int32_t conv_out_args(BridgeInstance* rec, int32_t n, const char* const* texts);

// conv_in_args and conv_out_args for exactly one text, into slot 0: the same result without an array.
int32_t conv_in_arg(BridgeInstance* rec, const char* text);
int32_t conv_out_arg(BridgeInstance* rec, const char* text);

// The texts of an entry as written at the call, conv_in_args(rec, {a, b}). A single text takes the
// path without an array, which most entries use.
template <size_t N>
inline int32_t conv_in_args(BridgeInstance* rec, const char* const (&texts)[N]) {
    if constexpr (N == 1) return conv_in_arg(rec, texts[0]);
    return conv_in_args(rec, static_cast<int32_t>(N), texts);
}
template <size_t N>
inline int32_t conv_out_args(BridgeInstance* rec, const char* const (&texts)[N]) {
    if constexpr (N == 1) return conv_out_arg(rec, texts[0]);
    return conv_out_args(rec, static_cast<int32_t>(N), texts);
}
inline const char* in_slot(const BridgeInstance* rec, int k) { return rec->conversion->in_text[k]; }
inline const char* out_slot(const BridgeInstance* rec, int k) { return rec->conversion->out_text[k]; }

// A UTF-8 copy of the host's `count` pairs, or null when any buffer cannot be allocated (then nothing
// of the copy remains). A transcoder failure is not reported: the text stands as far as written.
NameValuePair* conv_in_pairs(BridgeInstance* rec, const NameValuePair* pairs, int32_t count);
// Releases a copy made by conv_in_pairs.
void free_pairs(BridgeInstance* rec, NameValuePair* copy, int32_t count);

// Replaces the stored string list with the `*count` client texts converted to the session encoding and
// writes back how many were converted. A buffer that cannot be allocated ends the list there.
// A count of 0 stores and returns the pool's zero-byte array (nothing is written into it); a negative
// count allocates nothing and returns null. Both write 0 through `count`.
char** conv_out_list(BridgeInstance* rec, const char* const* texts, int32_t* count);

// Fills the (empty) stored pair list from the client's `count` pair pointers and returns its pointer
// array. A name or value whose buffer cannot be allocated stays null. A count of 0 or less stores
// nothing and returns null, as does a failed array allocation. A null element counts as a pair of
// empty texts.
NameValuePair** conv_out_pair_list(BridgeInstance* rec, NameValuePair* const* pairs, int32_t count);
// Frees the stored pair list, its records and texts; does nothing when it is empty.
void release_pair_list(BridgeInstance* rec);
