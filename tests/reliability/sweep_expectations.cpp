#include "reliability/sweep_expectations.h"

#include "sim/host/sim_host.h"

namespace vxrel {
namespace {

void* const kHandle = reinterpret_cast<void*>(0x5001);

Text maybe_blank(Text text, bool blank) { return blank ? "" : text; }

std::string round_trip_utf8(Text text, int32_t encoding) {
    if (text == nullptr) return {};
    return simhost::convert(simhost::convert(text, simhost::kUtf8, encoding), encoding, simhost::kUtf8);
}

std::string to_session(Text text, int32_t encoding) {
    return text == nullptr ? std::string() : simhost::convert(text, simhost::kUtf8, encoding);
}

bool is_blank(Text text) { return text == nullptr || *text == '\0'; }

}  // namespace

Expected expected_for(const Step& step, int32_t encoding, bool blank) {
    Expected e;
    for (Text t : step.texts) e.in.push_back(round_trip_utf8(maybe_blank(t, blank), encoding));
    for (const Pair& p : step.pairs) {
        e.pairs.push_back({round_trip_utf8(maybe_blank(p.first, blank), encoding),
                           round_trip_utf8(maybe_blank(p.second, blank), encoding)});
    }
    for (Text t : step.answers) e.out.push_back(to_session(maybe_blank(t, blank), encoding));
    for (const Pair& p : step.answer_pairs) {
        e.outputs.push_back(
            {to_session(maybe_blank(p.first, blank), encoding), to_session(maybe_blank(p.second, blank), encoding)});
    }
    return e;
}

Plan plan_for(const Step& step, const Expected& expected, const SlotModel& slots, bool converting, bool blank) {
    Planner planner(slots, converting);
    auto texts = [&](const std::vector<Text>& sources, const std::vector<std::string>& converted) {
        std::vector<PlannedText> out;
        for (size_t i = 0; i < sources.size(); ++i) out.push_back({blank || is_blank(sources[i]), converted[i]});
        return out;
    };
    auto pairs = [](const std::vector<std::array<std::string, 2>>& converted) {
        std::vector<std::array<PlannedText, 2>> out;
        for (const auto& p : converted)
            out.push_back({PlannedText{p[0].empty(), p[0]}, PlannedText{p[1].empty(), p[1]}});
        return out;
    };
    switch (step.shape) {
        case Shape::inbound:
            planner.inbound_slots(texts(step.texts, expected.in));
            planner.pair_copy(pairs(expected.pairs));
            break;
        case Shape::outbound:
            planner.outbound_slots(texts(step.answers, expected.out));
            break;
        case Shape::string_list:
            planner.string_list(texts(step.answers, expected.out), static_cast<int32_t>(step.answers.size()));
            break;
        case Shape::pair_list:
            planner.pair_list(pairs(expected.outputs), static_cast<int32_t>(step.answer_pairs.size()));
            break;
        case Shape::release:
            break;
    }
    return planner.plan();
}

Inputs inputs_for(const Step& step, int32_t encoding, bool blank) {
    Inputs in;
    auto keep = [&](Text utf8) -> const char* {
        Text t = maybe_blank(utf8, blank);
        if (t == nullptr) return nullptr;
        return in.storage.emplace_back(to_session(t, encoding)).c_str();
    };
    for (Text t : step.texts) in.texts.push_back(keep(t));
    for (const Pair& p : step.pairs) in.pairs.push_back({keep(p.first), keep(p.second)});
    in.count = -7777;  // what the host leaves behind the count address before the call
    return in;
}

void script_for(const Step& step, const JwSimApi& sim, bool blank) {
    std::vector<Text> answers;
    for (Text t : step.answers) answers.push_back(maybe_blank(t, blank));
    std::vector<NameValuePair> pairs;
    for (const Pair& p : step.answer_pairs)
        pairs.push_back({maybe_blank(p.first, blank), maybe_blank(p.second, blank)});

    JwAnswer a{};
    a.func = step.func;
    switch (step.answer) {
        case Answer::none:
            return;
        case Answer::status:
            a.result = step.success_result;
            break;
        case Answer::handle:
            a.pointer = kHandle;
            break;
        case Answer::out_texts:
            a.out_count = static_cast<int32_t>(answers.size());
            for (size_t i = 0; i < answers.size(); ++i) a.out_texts[i] = answers[i];
            break;
        case Answer::text_and_out_texts:
            a.text = answers[0];
            a.out_count = static_cast<int32_t>(answers.size() - 1);
            for (size_t i = 1; i < answers.size(); ++i) a.out_texts[i - 1] = answers[i];
            break;
        case Answer::text:
            a.text = answers[0];
            break;
        case Answer::list:
            a.has_count = 1;
            a.count = static_cast<int32_t>(answers.size());
            a.list_length = a.count;
            a.list = answers.data();
            break;
        case Answer::pairs:
            a.has_count = 1;
            a.count = static_cast<int32_t>(pairs.size());
            a.pair_length = a.count;
            a.pairs = pairs.data();
            break;
    }
    sim.script(&a);
}

}  // namespace vxrel
