// Drives one instance of a deliverable with a sequence of entry calls made from the input: any texts,
// any session encoding the host knows, scripted client answers of every shape (null, empty, counts of
// zero, below zero or huge, null texts and records), and host failures armed before a call
// (allocations, transcodes, over-reporting transcoders, short or missing measures). After every call
// the instance must be sound: what the pool holds is exactly what the instance reaches, every slot and
// list text is terminated inside its own block, guards are intact, the host saw no misuse, and live
// memory stays bounded. Without armed failures, texts must arrive converted exactly as ICU converts them.
#include <algorithm>
#include <climits>
#include <cstring>
#include <deque>

#include "bridge/entries.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_reader.h"
#include "reliability/instance_audit.h"
#include "sim/host/sim_host.h"
#include "support/deliverable.h"

namespace {

using vxfuzz::InputReader;
using vxfuzz::require;

#define CALL(rec, number, fn) (reinterpret_cast<decltype(&fn)>((rec)->entry[number]))

AcjResponse const kResponse = reinterpret_cast<AcjResponse>(0x7100);
void* const kHandle = reinterpret_cast<void*>(0x7001);

// The ways one call can go wrong on the host's side.
enum class Armed { nothing, allocation, transcode, overreport, underreport, unmeasured };

struct Session {
    simhost::Host& host;
    const vxtest::Loaded& lib;
    BridgeInstance* rec;
    int32_t encoding;
    bool converting;
    std::deque<std::string> keep;

    simhost::Pool& pool() { return *simhost::Pool::from_record(rec->pool); }
    // The conversion ICU gives for a text (the bytes themselves when the session needs none).
    std::string expected(const char* text, bool inbound) const {
        return vxfuzz::expected_conversion(text, encoding, converting, inbound);
    }
};

// ---- client answers

int32_t list_count(InputReader& in, int32_t length) {
    static const int32_t kCounts[] = {0, -1, INT32_MIN, INT32_MAX, 1, 2, 3};
    switch (in.below(4)) {
        case 0:
            return in.pick(kCounts);
        case 1:
            return length + static_cast<int32_t>(in.below(40));  // the client pads with nulls
        default:
            return length;
    }
}

// The texts a scripted answer gives: the result text and the text out-parameters.
struct Given {
    const char* text = nullptr;
    const char* outs[3] = {};
    int32_t out_count = 0;
};

Given script_status(Session& s, InputReader& in, JwFunc func) {
    static const int64_t kStatuses[] = {0, 0, 0, 1, 2, -1, INT32_MAX};
    JwAnswer a{};
    a.func = func;
    a.result = in.pick(kStatuses);
    const bool gives_handle = func == JW_acj_initialize || func == JW_rta_initialize;
    a.pointer = gives_handle && !in.chance(4) ? kHandle : nullptr;
    a.out_count = static_cast<int32_t>(in.below(4));
    for (int i = 0; i < 3; ++i) a.out_texts[i] = in.text(s.keep);
    a.text = in.chance(3) ? nullptr : in.text(s.keep);
    s.lib.sim->script(&a);
    return {a.text, {a.out_texts[0], a.out_texts[1], a.out_texts[2]}, a.out_count};
}

// A list answer as scripted.
struct GivenList {
    bool null_answer = false;
    int32_t count = 0;       // behind the count address after the client call
    int32_t host_count = 0;  // what the host leaves there before
    std::vector<const char*> texts;
    std::vector<NameValuePair> records;
    const char* text(int32_t i) const { return i < static_cast<int32_t>(texts.size()) ? texts[i] : nullptr; }
};

GivenList script_list(Session& s, InputReader& in, JwFunc func, bool pairs) {
    GivenList g;
    JwAnswer a{};
    a.func = func;
    const int32_t length = static_cast<int32_t>(in.below(6));
    for (int32_t i = 0; i < length; ++i) {
        g.texts.push_back(in.text(s.keep));
        g.records.push_back({in.text(s.keep), in.text(s.keep)});
    }
    a.has_count = in.chance(8) ? 0 : 1;
    a.count = list_count(in, length);
    // Without a count from the client the host's own value stands; a truthful client's array is that long.
    g.host_count = a.has_count ? 12345 : static_cast<int32_t>(in.below(static_cast<uint32_t>(length) + 1));
    g.count = a.has_count ? a.count : g.host_count;
    g.null_answer = in.chance(6);
    if (g.null_answer) {
        a.pointer = nullptr;
    } else if (pairs) {
        static const NameValuePair kNoRecord{};
        a.pair_length = length;
        a.pairs = length == 0 ? &kNoRecord : g.records.data();  // an empty list, not a null answer
    } else {
        static const char* const kNoText = nullptr;
        a.list_length = length;
        a.list = length == 0 ? &kNoText : g.texts.data();
    }
    s.lib.sim->script(&a);
    return g;
}

// An array of this many pointers is more than the stand-in host ever gives.
bool refused(int32_t count, uint64_t element) { return static_cast<uint64_t>(count) * element > (uint64_t{256} << 20); }

// ---- checks

void check_host_text(Session& s, const char* text, const char* what) {
    if (text == nullptr) return;
    require(vxrel::terminated_in_block(s.pool(), text), std::string(what) + ": not terminated inside its block");
}

void check_instance(Session& s) {
    for (const std::string& problem : vxrel::audit_instance(s.rec, s.pool())) vxfuzz::fail(problem);
    require(s.host.errors().empty(), s.host.errors().empty() ? "" : s.host.errors().front());
    require(s.pool().live_bytes() < (uint64_t{64} << 20), "live memory beyond 64 MiB");
}

// Slot k holds text k converted exactly.
void check_slots(Session& s, const std::vector<const char*>& texts, bool inbound) {
    const ConversionState& state = *s.rec->conversion;
    for (size_t k = 0; k < texts.size(); ++k) {
        const char* slot = inbound ? state.in_text[k] : state.out_text[k];
        require(slot != nullptr && s.expected(texts[k], inbound) == slot,
                std::string(inbound ? "inbound" : "outbound") + " slot " + std::to_string(k) + " differs from ICU");
    }
}

// ---- one call

void call_inbound(Session& s, InputReader& in, bool exact) {
    std::vector<const char*> t;
    for (int i = 0; i < 5; ++i) t.push_back(in.text(s.keep));
    std::vector<NameValuePair> pairs(in.below(4));
    for (NameValuePair& p : pairs) p = {in.text(s.keep), in.text(s.keep)};
    const int32_t count = in.chance(5) ? static_cast<int32_t>(in.below(3)) - 1 : static_cast<int32_t>(pairs.size());
    const NameValuePair* array = pairs.empty() || in.chance(8) ? nullptr : pairs.data();
    static const JwFunc kFuncs[] = {JW_acj_initialize,       JW_acj_set_credentials,
                                    JW_acj_run_prof_job,     JW_acj_run_arch_job,
                                    JW_acj_get_job_status,   JW_acj_get_job_log,
                                    JW_acj_terminate_job,    JW_acj_delete_job_log,
                                    JW_acj_rt_io_info,       JW_rta_initialize,
                                    JW_rta_set_credentials,  JW_rta_set_infield_info,
                                    JW_rta_set_data_value,   JW_rta_run2,
                                    JW_rta_run_workflow_job, JW_acj_get_workflow_job_params};
    const JwFunc func = in.pick(kFuncs);
    script_status(s, in, func);
    BridgeInstance* rec = s.rec;
    const size_t calls_before = s.lib.sim->call_count();
    int32_t out = 0, a = 0, b = 0, c = 0, d = 0;
    AcjResponse response = nullptr;
    size_t texts = 1;
    switch (func) {
        case JW_acj_initialize:
            CALL(rec, 22, bridge_acj_initialize)(rec, t[0], 80);
            {
                // The server host points into the record's 64-byte server field, which keeps its terminator.
                const char* host = CALL(rec, 57, bridge_get_server_host)(rec);
                require(host >= rec->server && host <= rec->server + 8, "server host points into the record");
                require(std::memchr(rec->server, '\0', sizeof rec->server) != nullptr, "server field terminated");
            }
            break;
        case JW_acj_set_credentials:
            CALL(rec, 24, bridge_acj_set_credentials)(rec, t[0], t[1]);
            texts = 2;
            break;
        case JW_acj_run_prof_job:
            CALL(rec, 30, bridge_acj_run_prof_job)(rec, t[0], t[1], t[2], 1, t[3], t[4], array, count, &out);
            texts = 5;
            break;
        case JW_acj_run_arch_job:
            CALL(rec, 31, bridge_acj_run_arch_job)(rec, t[0], array, count, &out);
            break;
        case JW_acj_get_job_status:
            CALL(rec, 32, bridge_acj_get_job_status)(rec, t[0], &out);
            break;
        case JW_acj_get_job_log:
            CALL(rec, 35, bridge_acj_get_job_log)(rec, t[0], t[1]);
            texts = 2;
            break;
        case JW_acj_terminate_job:
            CALL(rec, 36, bridge_acj_terminate_job)(rec, t[0]);
            break;
        case JW_acj_delete_job_log:
            CALL(rec, 37, bridge_acj_delete_job_log)(rec, t[0]);
            break;
        case JW_acj_rt_io_info:
            CALL(rec, 38, bridge_acj_rt_io_info)(rec, t[0], &a, &b, &c, &d);
            break;
        case JW_rta_initialize:
            CALL(rec, 41, bridge_rta_initialize)(rec, t[0], 1, t[1], 2);
            texts = 2;
            break;
        case JW_rta_set_credentials:
            CALL(rec, 43, bridge_rta_set_credentials)(rec, t[0], t[1]);
            texts = 2;
            break;
        case JW_rta_set_infield_info:
            CALL(rec, 45, bridge_rta_set_infield_info)(rec, 0, t[0], 1, 2);
            break;
        case JW_rta_set_data_value:
            CALL(rec, 47, bridge_rta_set_data_value)(rec, 0, t[0]);
            break;
        case JW_rta_run2:
            CALL(rec, 55, bridge_rta_run2)(rec, array, count);
            texts = 0;
            break;
        case JW_rta_run_workflow_job:
            CALL(rec, 61, bridge_rta_run_workflow_job)(rec, t[0], kResponse, 3, &response);
            break;
        default:
            CALL(rec, 65, bridge_acj_get_workflow_job_params)(rec, t[0], 0, &response);
            break;
    }
    if (!exact) return;
    // Nothing armed: the client was called, with every text converted exactly.
    require(s.lib.sim->call_count() > calls_before, "the client was not called");
    t.resize(texts);
    check_slots(s, t, true);
    const JwCall* call = s.lib.sim->call(s.lib.sim->call_count() - 1);
    const bool takes_pairs = func == JW_acj_run_prof_job || func == JW_acj_run_arch_job || func == JW_rta_run2;
    if (takes_pairs && array != nullptr && count > 0) {
        require(call->pair_count == count, "pair count");
        for (int32_t i = 0; i < count; ++i) {
            require(s.expected(array[i].name, true) == call->pairs[i].name, "pair name differs from ICU");
            require(s.expected(array[i].value, true) == call->pairs[i].value, "pair value differs from ICU");
        }
    }
}

void call_outbound(Session& s, InputReader& in, bool exact) {
    static const int kEntries[] = {33, 34, 39, 40, 49, 52, 53, 72};
    static const JwFunc kFuncs[] = {JW_acj_get_job_status_item, JW_acj_get_job_status_item2,
                                    JW_acj_rt_input_fieldinfo,  JW_acj_rt_output_fieldinfo,
                                    JW_rta_get_error,           JW_rta_output_fieldinfo,
                                    JW_rta_output_data,         JW_acj_get_product_full_version};
    const uint32_t which = in.below(8);
    const int entry = kEntries[which];
    const Given given = script_status(s, in, kFuncs[which]);
    BridgeInstance* rec = s.rec;
    const char* const host_left[3] = {"x", "y", "z"};
    const char* outs[3] = {host_left[0], host_left[1], host_left[2]};
    int32_t state = 0, type = 0, length = 0;
    int64_t sequence = 0;
    int32_t status = 0;
    const bool null_response = entry == 72 && in.chance(8);
    switch (entry) {
        case 33:
            status = CALL(rec, 33, bridge_acj_get_job_status_item)(rec, 0, &outs[0], &outs[1], &state, &outs[2]);
            break;
        case 34:
            status =
                CALL(rec, 34, bridge_acj_get_job_status_item2)(rec, 0, &outs[0], &outs[1], &state, &outs[2], &sequence);
            break;
        case 39:
            status = CALL(rec, 39, bridge_acj_rt_input_fieldinfo)(rec, 0, &outs[0], &type, &length);
            break;
        case 40:
            status = CALL(rec, 40, bridge_acj_rt_output_fieldinfo)(rec, 0, &outs[0], &type, &length);
            break;
        case 49:
            outs[0] = CALL(rec, 49, bridge_rta_get_error)(rec, &outs[1], &outs[2]);
            break;
        case 52:
            status = CALL(rec, 52, bridge_rta_output_fieldinfo)(rec, 0, &outs[0], &type, &length);
            break;
        case 53:
            outs[0] = CALL(rec, 53, bridge_rta_output_data)(rec, 1, 2);
            break;
        default:
            outs[0] = CALL(rec, 72, bridge_acj_get_product_full_version)(rec, null_response ? nullptr : kResponse);
            require(!null_response || (outs[0] != nullptr && *outs[0] == '\0'), "a null response gives the empty text");
            break;
    }
    // What the client handed out, in outbound slot order: the result text first where there is one.
    const bool text_result = entry == 49 || entry == 53 || entry == 72;
    std::vector<const char*> client;
    if (text_result) client.push_back(given.text);
    const int params = entry == 33 || entry == 34 ? 3 : entry == 49 ? 2 : text_result ? 0 : 1;
    for (int i = 0; i < params; ++i) {
        client.push_back(i < given.out_count ? given.outs[i] : host_left[text_result ? i + 1 : i]);
    }
    const bool converted = status == 0 && !null_response && (!text_result || given.text != nullptr);
    if (!converted) return;
    for (size_t k = 0; k < client.size(); ++k) check_host_text(s, outs[k], "text handed to the host");
    if (exact) check_slots(s, client, false);
    for (size_t k = 0; k < client.size() && exact; ++k) require(outs[k] == rec->conversion->out_text[k], "slot handed");
}

void call_list(Session& s, InputReader& in, bool exact) {
    static const int kEntries[] = {29, 63, 64, 60, 62};
    const int entry = in.pick(kEntries);
    BridgeInstance* rec = s.rec;
    const ConversionState& state = *rec->conversion;
    switch (entry) {
        case 29:
        case 63:
        case 64: {
            const JwFunc func = entry == 29   ? JW_acj_joblist
                                : entry == 63 ? JW_acj_get_output_names
                                              : JW_acj_get_input_names;
            const GivenList g = script_list(s, in, func, false);
            char** const before = state.string_list;
            int32_t count = g.host_count;
            char** list = entry == 29   ? CALL(rec, 29, bridge_acj_joblist)(rec, -1, &count, 0)
                          : entry == 63 ? CALL(rec, 63, bridge_acj_get_output_names)(rec, kResponse, &count)
                                        : CALL(rec, 64, bridge_acj_get_input_names)(rec, kResponse, &count);
            if (g.null_answer) {
                require(list == nullptr && state.string_list == before, "a null answer keeps the stored list");
                break;
            }
            require(list == state.string_list, "the list returned is the stored one");
            require(count == state.string_count, "the count written back is the stored count");
            for (int32_t i = 0; list != nullptr && i < count; ++i) check_host_text(s, list[i], "list text");
            if (!exact) break;
            const bool stored = g.count >= 0 && !refused(g.count, sizeof(char*));
            require((list != nullptr) == stored, "a list is stored exactly when its array can be had");
            require(count == (stored ? g.count : 0), "every text converted");
            for (int32_t i = 0; i < count; ++i) {
                require(s.expected(g.text(i), false) == list[i], "list text differs from ICU");
            }
            break;
        }
        case 60: {
            const GivenList g = script_list(s, in, JW_acj_get_outputs, true);
            int32_t count = g.host_count;
            NameValuePair** list = CALL(rec, 60, bridge_acj_get_outputs)(rec, kResponse, &count);
            require(list == state.pair_list, "the outputs returned are the stored ones");
            require(count == g.count, "the outputs entry leaves the count as the client gave it");
            if (!exact || g.null_answer) break;
            const bool stored = g.count > 0 && !refused(g.count, sizeof(NameValuePair));
            require((list != nullptr) == stored, "outputs are stored exactly when their arrays can be had");
            for (int32_t i = 0; stored && i < g.count; ++i) {
                const bool real = i < static_cast<int32_t>(g.records.size());
                require(s.expected(real ? g.records[i].name : nullptr, false) == list[i]->name, "output name");
                require(s.expected(real ? g.records[i].value : nullptr, false) == list[i]->value, "output value");
            }
            break;
        }
        default:
            CALL(rec, 62, bridge_acj_destroy_wf_job_params_rsp_handle)(rec, in.chance(2) ? nullptr : kResponse);
            require(state.pair_list == nullptr, "the outputs list is released");
            break;
    }
}

Armed arm(Session& s, InputReader& in) {
    const Armed armed = static_cast<Armed>(in.below(12) < 6 ? 0 : in.below(6));
    switch (armed) {
        case Armed::nothing:
            break;
        case Armed::allocation:
            s.host.fail_allocation_at(1 + in.below(12));
            break;
        case Armed::transcode:
            s.host.fail_transcode(1 + in.below(8), in.below(8));
            break;
        case Armed::overreport:
            s.host.transcode_overreport(in.chance(2) ? 1 : UINT64_MAX / 2);
            break;
        case Armed::underreport:
            s.host.measure_underreport(1 + in.below(8));
            break;
        case Armed::unmeasured:
            s.host.measure_leaves_count_unset(true);
            break;
    }
    return armed;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (const vxtest::Deliverable& d : vxtest::kBothDeliverables) vxtest::load(d);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputReader in(data, size);
    simhost::Host host;
    host.set_logging(false);
    const vxtest::Loaded& lib = vxtest::load(in.pick(vxtest::kBothDeliverables));
    lib.sim->reset();
    const auto& known = simhost::encodings();
    const int32_t encoding = known[in.below(static_cast<uint32_t>(known.size()))].id;
    host.set_session_encoding(encoding);
    int64_t major = 0, minor = 0;
    lib.vxextver(host.services(), &major, &minor);

    BridgeInstance* rec = lib.make_instance(host.context(), nullptr);
    require(rec != nullptr, "a known encoding makes an instance");
    Session s{host, lib, rec, encoding, rec->conversion->to_utf8 != nullptr, {}};

    for (int calls = 0; calls < 48 && !in.empty(); ++calls) {
        lib.sim->reset();  // an answer scripted for a call the bridge did not make must not leak into the next
        const bool exact = arm(s, in) == Armed::nothing;
        switch (in.below(3)) {
            case 0:
                call_inbound(s, in, exact);
                break;
            case 1:
                call_outbound(s, in, exact);
                break;
            default:
                call_list(s, in, exact);
                break;
        }
        host.clear_faults();
        check_instance(s);
        s.keep.clear();
    }

    simhost::Pool& pool = s.pool();
    require(CALL(rec, 6, bridge_destroy)(rec) == 0, "destroy answers 0");
    require(pool.destroyed() && pool.live() == 0, "destroying the instance releases its pool");
    require(host.transcoders_live() == 0, "destroying the instance releases its transcoders");
    require(pool.errors().empty(), pool.errors().empty() ? "" : pool.errors().front());
    return 0;
}
