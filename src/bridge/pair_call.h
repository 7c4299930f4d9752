// Runs a client call with a UTF-8 copy of the host's name/value pairs and releases the copy afterwards,
// the sequence shared by the entries that hand pairs to the client.
#pragma once

#include "frame/convert.h"

// Calls call(copy) where copy is the converted pairs, or null when the host passed none (null array or
// count of 0 or less). Returns 1 without calling when the copy cannot be made.
template <typename Call>
int32_t with_pair_copy(BridgeInstance* rec, const NameValuePair* pairs, int32_t count, Call call) {
    if (pairs == nullptr || count <= 0) return call(static_cast<const NameValuePair*>(nullptr));
    NameValuePair* copy = conv_in_pairs(rec, pairs, count);
    if (copy == nullptr) return 1;
    const int32_t status = call(static_cast<const NameValuePair*>(copy));
    free_pairs(rec, copy, count);
    return status;
}
