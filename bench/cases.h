// The measured cases: representative entries, each beside its baseline. The baseline makes the same
// client call directly and has the host do the same measuring, transcoding and (where the interface
// hands out fresh buffers) allocating; what an entry costs beyond it is the bridge's own work.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "bench_session.h"

namespace vxbench {

// One case set up in one session. Both sides leave the client library in the state they found it, so
// the client does the same work on every call of either.
class CaseRun {
  public:
    virtual ~CaseRun() = default;
    virtual void entry() = 0;     // through the instance's record
    virtual void baseline() = 0;  // the direct client call plus the host work
};

struct Case {
    const char* name;
    int entry_number;
    const char* shape;    // what crosses per call
    uint64_t text_bytes;  // bytes of the long text per call, reported as throughput; 0 for short texts
    std::unique_ptr<CaseRun> (*make)(Session& session);
};

const std::vector<Case>& cases();
// The case of that name, or null.
const Case* find_case(std::string_view name);

// Calls both sides a few times so that slots, lists and the host's converters are warm.
void warm_up(CaseRun& run);

}  // namespace vxbench
