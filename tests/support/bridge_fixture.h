// A host session on one deliverable: a stand-in host kernel with its services handed over, the client
// library's control API reset, and helpers to make an instance and call its entries by number.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bridge/entries.h"
#include "frame/convert.h"
#include "sim/host/sim_host.h"
#include "support/deliverable.h"

namespace vxtest {

// The entry at `number` of `rec`, typed like the bridge function `fn`, e.g. ENTRY(rec, 36,
// bridge_acj_terminate_job)(rec, "17"). The number is the test's own statement of where the entry lives.
#define ENTRY(rec, number, fn) (reinterpret_cast<decltype(&fn)>((rec)->entry[number]))

class BridgeTest : public ::testing::TestWithParam<Deliverable> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes an instance in the given session encoding; fails the test when it cannot.
    BridgeInstance* make_instance(int32_t session_encoding = simhost::kIso88591);
    // Destroys the instance made by make_instance (TearDown does it otherwise).
    void destroy_instance();
    simhost::Pool& pool() { return *host.last_pool(); }
    ConversionState& state() { return *rec->conversion; }

    // Calls recorded by the client library.
    size_t calls() const { return sim->call_count(); }
    const JwCall& call(size_t index) const;
    const JwCall& last_call() const { return call(calls() - 1); }
    // Queues a scripted answer; fields not set are zero.
    void script(JwAnswer answer) const { sim->script(&answer); }

    // Text in the session encoding for UTF-8 `utf8`, and back.
    std::string session(const std::string& utf8) const;
    std::string utf8(const std::string& session_text) const;

    Deliverable deliverable;
    const Loaded* lib = nullptr;
    const JwSimApi* sim = nullptr;
    simhost::Host host;
    BridgeInstance* rec = nullptr;
    int32_t encoding = simhost::kIso88591;
};

}  // namespace vxtest
