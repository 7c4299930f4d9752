// Calls an operation entry the way a host does: by its number in the instance's record.
#pragma once

#include "frame/instance.h"

namespace vxbench {

// The entry at `number`, typed as Fn (a pointer to the bridge function's type).
template <class Fn>
Fn record_entry(const BridgeInstance* rec, int number) {
    return reinterpret_cast<Fn>(rec->entry[number]);
}

}  // namespace vxbench
