// The conversion primitives on their own, against ICU converting the same texts directly: slots,
// pair copies, string lists and pair lists in every session encoding the host knows, with host
// failures armed now and then. Unfailed conversions must equal ICU's (or the bytes themselves where the
// session needs no conversion); failed ones must stop where their failure leaves them, and the pool
// must always hold exactly what the instance reaches.
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "frame/convert.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/input_reader.h"
#include "reliability/instance_audit.h"
#include "sim/host/sim_host.h"

HostServices* g_host_services = nullptr;

namespace {

using vxfuzz::InputReader;
using vxfuzz::require;

struct Bench {
    simhost::Host host;
    simhost::Pool* pool = nullptr;
    BridgeInstance* rec = nullptr;
    int32_t encoding = 0;

    // An instance with just what the primitives use, its record and state taken from its own pool as
    // the entry export takes them.
    explicit Bench(int32_t session_encoding) : encoding(session_encoding) {
        host.set_logging(false);
        g_host_services = host.services();
        HostContext* context = host.context();
        HostPool* record = context->create_pool(context, nullptr, nullptr, "fuzz");
        pool = simhost::Pool::from_record(record);
        rec = static_cast<BridgeInstance*>(record->allocate(record, sizeof(BridgeInstance), 0));
        auto* state = static_cast<ConversionState*>(record->allocate(record, sizeof(ConversionState), 0));
        *state = ConversionState{};
        state->session_encoding = session_encoding;
        rec->pool = record;
        rec->conversion = state;
        HostNls* nls = host.nls();
        if ((nls->needs_conversion(nls, session_encoding, simhost::kUtf8, 0) & 0xFF) != 0) {
            state->to_utf8 = nls->create_transcoder(nls, session_encoding, simhost::kUtf8, 0, 0);
            state->from_utf8 = nls->create_transcoder(nls, simhost::kUtf8, session_encoding, 0, 0);
        }
    }
    ~Bench() { g_host_services = nullptr; }

    ConversionState& state() { return *rec->conversion; }
    bool converting() { return state().to_utf8 != nullptr; }
    std::string expected(const char* text, bool inbound) {
        return vxfuzz::expected_conversion(text, encoding, converting(), inbound);
    }
    void check() {
        for (const std::string& problem : vxrel::audit_instance(rec, *pool)) vxfuzz::fail(problem);
        require(host.errors().empty(), host.errors().empty() ? "" : host.errors().front());
    }
};

void slots(Bench& b, InputReader& in, std::deque<std::string>& keep, bool exact) {
    const bool inbound = in.chance(2);
    const int32_t n = static_cast<int32_t>(1 + in.below(inbound ? kInSlots : kOutSlots));
    std::vector<const char*> texts;
    for (int32_t k = 0; k < n; ++k) texts.push_back(in.text(keep));
    const int32_t done = inbound ? conv_in_args(b.rec, n, texts.data()) : conv_out_args(b.rec, n, texts.data());
    require(done >= 0 && done <= n, "count converted out of range");
    if (exact) require(done == n, "an unfailed conversion converts every text");
    for (int32_t k = 0; k < done; ++k) {
        const char* slot = inbound ? b.state().in_text[k] : b.state().out_text[k];
        require(slot != nullptr && b.expected(texts[k], inbound) == slot, "slot text differs from ICU");
    }
}

void pairs(Bench& b, InputReader& in, std::deque<std::string>& keep, bool exact) {
    std::vector<NameValuePair> records(1 + in.below(5));
    for (NameValuePair& p : records) p = {in.text(keep), in.text(keep)};
    const auto count = static_cast<int32_t>(records.size());
    NameValuePair* copy = conv_in_pairs(b.rec, records.data(), count);
    if (exact) require(copy != nullptr, "an unfailed pair copy is made");
    if (copy == nullptr) return;
    for (int32_t i = 0; i < count && exact; ++i) {
        require(b.expected(records[i].name, true) == copy[i].name, "pair name differs from ICU");
        require(b.expected(records[i].value, true) == copy[i].value, "pair value differs from ICU");
    }
    free_pairs(b.rec, copy, count);
}

void string_list(Bench& b, InputReader& in, std::deque<std::string>& keep, bool exact) {
    std::vector<const char*> texts(in.below(6));
    for (const char*& t : texts) t = in.text(keep);
    int32_t count = in.chance(6) ? -static_cast<int32_t>(in.below(3)) : static_cast<int32_t>(texts.size());
    const int32_t asked = count;
    char** list = conv_out_list(b.rec, texts.data(), &count);
    require(list == b.state().string_list && count == b.state().string_count, "list stored as returned");
    if (exact) require(count == (asked < 0 ? 0 : asked), "an unfailed list converts every text");
    for (int32_t i = 0; i < count; ++i) {
        require(exact ? b.expected(texts[i], false) == list[i] : vxrel::terminated_in_block(*b.pool, list[i]),
                "list text differs from ICU");
    }
}

void pair_list(Bench& b, InputReader& in, std::deque<std::string>& keep, bool exact) {
    release_pair_list(b.rec);
    std::vector<NameValuePair> records(in.below(5));
    std::vector<NameValuePair*> pointers;
    for (NameValuePair& p : records) {
        p = {in.text(keep), in.text(keep)};
        pointers.push_back(in.chance(5) ? nullptr : &p);
    }
    const auto count = static_cast<int32_t>(pointers.size());
    NameValuePair** list = conv_out_pair_list(b.rec, pointers.data(), count);
    require(list == b.state().pair_list, "pair list stored as returned");
    if (exact) require((list != nullptr) == (count > 0), "an unfailed pair list is stored");
    for (int32_t i = 0; list != nullptr && i < count && exact; ++i) {
        const NameValuePair* from = pointers[i];
        require(b.expected(from ? from->name : nullptr, false) == list[i]->name, "pair list name differs from ICU");
        require(b.expected(from ? from->value : nullptr, false) == list[i]->value, "pair list value differs");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputReader in(data, size);
    const auto& known = simhost::encodings();
    Bench b(known[in.below(static_cast<uint32_t>(known.size()))].id);
    std::deque<std::string> keep;
    for (int ops = 0; ops < 32 && !in.empty(); ++ops) {
        bool exact = true;
        switch (in.below(8)) {
            case 0:
                b.host.fail_allocation_at(1 + in.below(8));
                exact = false;
                break;
            case 1:
                b.host.fail_transcode(1 + in.below(6), in.below(6));
                exact = false;
                break;
            case 2:
                b.host.measure_underreport(1 + in.below(4));
                exact = false;
                break;
            default:
                break;
        }
        switch (in.below(4)) {
            case 0:
                slots(b, in, keep, exact);
                break;
            case 1:
                pairs(b, in, keep, exact);
                break;
            case 2:
                string_list(b, in, keep, exact);
                break;
            default:
                pair_list(b, in, keep, exact);
                break;
        }
        b.host.clear_faults();
        b.check();
        keep.clear();
    }
    return 0;
}
