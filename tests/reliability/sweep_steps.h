// The entry calls the allocation sweep drives: one step per entry that allocates or transcodes, each
// with the texts it passes, the client's answer, and how the host observes the result.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "frame/instance.h"
#include "sim/jobwire/jwsim.h"

namespace vxrel {

// Texts by direction; the step's texts are written in UTF-8 and converted to the session encoding where
// the host passes them.
enum class Shape {
    inbound,      // host texts (and pairs) converted into inbound slots and copies, then the client call
    outbound,     // the client's texts converted into outbound slots
    string_list,  // the client's list converted into the stored string list
    pair_list,    // the client's pairs converted into the stored pair list
    release,      // releases the stored pair list; allocates nothing
};

// How the client's scripted answer is shaped.
enum class Answer { status, handle, out_texts, text_and_out_texts, text, list, pairs, none };

// A text argument the client receives: its position in the client call, the inbound slot it comes
// from, and whether an empty text goes as null.
struct TextArg {
    int position;
    int slot;
    bool null_when_empty = false;
};

// What the host hands over, in the session encoding, and what the entry writes back.
struct Inputs {
    std::deque<std::string> storage;
    std::vector<const char*> texts;
    std::vector<NameValuePair> pairs;
    int32_t count = 0;  // behind the count address of the list entries
};

// What the host gets back: the integer or pointer result and the texts it receives by outbound slot.
struct Outcome {
    int64_t result = 0;
    const void* pointer = nullptr;
    const char* outs[3] = {};
};

using Text = const char*;  // UTF-8; null stays null
using Pair = std::pair<Text, Text>;

struct Step {
    const char* label;
    int entry;
    JwFunc func;
    Shape shape;
    Answer answer;
    int failure_result;       // when an inbound text or the pair copy is not converted
    int64_t success_result;   // the scripted status, or what a successful call returns
    bool returns_text;        // the result is outbound slot 0's text, not a status
    std::vector<Text> texts;  // host texts, by inbound slot
    std::vector<TextArg> text_args;
    std::vector<Pair> pairs;         // host pairs
    std::vector<Text> answers;       // client texts: out-parameters, result text, or list
    std::vector<Pair> answer_pairs;  // client pairs
    Outcome (*call)(BridgeInstance* rec, Inputs& in);
};

const std::vector<Step>& steps();
const Step& step(int entry);

// A scenario is a run of steps on one instance: one step alone, or a realistic sequence.
struct Scenario {
    std::string label;
    std::vector<const Step*> steps;
};
const std::vector<Scenario>& scenarios();

}  // namespace vxrel
