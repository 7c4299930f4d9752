#include "bench_session.h"

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "bridge/entries.h"
#include "entry_call.h"

namespace vxbench {
namespace {

const void* const kBatchHandle = reinterpret_cast<const void*>(0xBA7C);

[[noreturn]] void give_up(const char* what) {
    std::fprintf(stderr, "benchmark session: %s\n", what);
    std::abort();
}

}  // namespace

const char* session_label(SessionKind kind) { return kind == SessionKind::utf8 ? "utf-8" : "iso-8859-1"; }

bool parse_session(std::string_view label, SessionKind* kind) {
    for (SessionKind k : kSessionKinds) {
        if (label == session_label(k)) {
            *kind = k;
            return true;
        }
    }
    return false;
}

Session::Session(SessionKind kind, const vxtest::Deliverable& deliverable)
    : lib_(&vxtest::load(deliverable)), encoding_(kind == SessionKind::utf8 ? simhost::kUtf8 : simhost::kIso88591) {
    // The stand-in's bookkeeping is for tests; here it would only add its own cost to both sides.
    host_.set_logging(false);
    host_.set_allocation_history(false);
    host_.set_session_encoding(encoding_);
    lib_->sim->reset();
    int64_t major = 0;
    int64_t minor = 0;
    lib_->vxextver(host_.services(), &major, &minor);
    rec_ = lib_->make_instance(host_.context(), nullptr);
    if (rec_ == nullptr) give_up("the deliverable made no instance");
    // Every client call of a case is answered from a script, so the client's work is small, fixed and
    // the same for the entry and its baseline whatever the stand-in's job server does.
    JwAnswer connect{};
    connect.func = JW_acj_initialize;
    connect.pointer = kBatchHandle;
    script(connect);
    const std::string server = session_text("http://jobs.example");
    if (record_entry<decltype(&bridge_acj_initialize)>(rec_, 22)(rec_, server.c_str(), 8080) != 0) {
        give_up("no batch connection");
    }
    // Both sides then make the same client calls; recording would only add the client's bookkeeping.
    lib_->sim->set_recording(0);

    const std::array<unsigned char, 24> attributes{};
    baseline_pool_ = host_.context()->create_pool(host_.context(), attributes.data(), nullptr, "baseline Pool");
    if (baseline_pool_ == nullptr) give_up("no baseline pool");
    HostNls* n = host_.nls();
    if ((n->needs_conversion(n, encoding_, UTF8_ENCODING_ID, 0) & 0xFFu) != 0) {
        to_utf8_ = n->create_transcoder(n, encoding_, UTF8_ENCODING_ID, 0, 0);
        from_utf8_ = n->create_transcoder(n, UTF8_ENCODING_ID, encoding_, 0, 0);
        if (to_utf8_ == nullptr || from_utf8_ == nullptr) give_up("no baseline transcoders");
    }
}

Session::~Session() {
    if (to_utf8_ != nullptr) to_utf8_->destroy(to_utf8_);
    if (from_utf8_ != nullptr) from_utf8_->destroy(from_utf8_);
    baseline_pool_->destroy(baseline_pool_);
    record_entry<decltype(&bridge_destroy)>(rec_, 6)(rec_);
    lib_->sim->reset();
}

std::string Session::session_text(std::string_view utf8) const {
    return simhost::convert(utf8, simhost::kUtf8, encoding_);
}

void* Session::client_symbol(const char* name) const {
    // The deliverable's handle searches its dependencies too: this finds its own client library.
    void* found = dlsym(lib_->handle, name);
    if (found == nullptr) give_up(name);
    return found;
}

}  // namespace vxbench
