// What a step should hand over when nothing fails: the UTF-8 texts the client receives and the
// session-encoding texts the host receives, worked out with the host's converters directly.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "reliability/sweep_model.h"
#include "reliability/sweep_steps.h"

namespace vxrel {

struct Expected {
    std::vector<std::string> in;                    // by inbound slot, UTF-8
    std::vector<std::array<std::string, 2>> pairs;  // the pair copy, UTF-8
    std::vector<std::string> out;                   // by outbound slot or list position, session encoding
    std::vector<std::array<std::string, 2>> outputs;
};

// `blank` replaces every text of the step by an empty one (a warm-up that gives each slot its smallest
// buffer).
Expected expected_for(const Step& step, int32_t encoding, bool blank);

// The host work of the step on slots in the state `slots`.
Plan plan_for(const Step& step, const Expected& expected, const SlotModel& slots, bool converting, bool blank);

// The host's inputs (session encoding) of the step; texts kept in `in.storage`.
Inputs inputs_for(const Step& step, int32_t encoding, bool blank);

// Queues the client's answer for the step.
void script_for(const Step& step, const JwSimApi& sim, bool blank);

}  // namespace vxrel
