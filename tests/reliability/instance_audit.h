// Ownership audit of one instance: what its pool holds must be exactly what its record can reach.
//
// The record, its conversion state, the slot buffers and the stored lists are the only things an
// instance may keep between calls. A live block nothing reaches is a leak (a pair copy not released,
// a list dropped without freeing); a reachable block that is not live is a dangling pointer the host
// would be handed next. Shared by the allocation sweep and the entry fuzzer.
#pragma once

#include <string>
#include <vector>

#include "frame/convert.h"
#include "sim/host/sim_host.h"

namespace vxrel {

// Problems found, empty when the instance is sound: ownership, slot invariants (a slot is empty or owns
// capacity + 1 bytes holding a terminated text), terminated list texts, guard bytes and pool misuse.
std::vector<std::string> audit_instance(const BridgeInstance* rec, simhost::Pool& pool);

// True when `text` is the start of a live block of `pool` and a NUL stands inside that block.
bool terminated_in_block(const simhost::Pool& pool, const char* text);

}  // namespace vxrel
