// A host session on one deliverable: a stand-in host kernel with its services handed over, the client
// library's control API reset, and helpers to make an instance and call its entries by number.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "bridge/entries.h"
#include "frame/convert.h"
#include "sim/host/sim_host.h"
#include "support/deliverable.h"

namespace vxtest {

// The entry at `number` of `rec`, typed like the bridge function `fn`, e.g. ENTRY(rec, 36,
// bridge_acj_terminate_job)(rec, "17"). The number is the test's own statement of where the entry lives.
#define ENTRY(rec, number, fn) (reinterpret_cast<decltype(&fn)>((rec)->entry[number]))

// One deliverable in one session encoding.
struct Session {
    Deliverable deliverable;
    int32_t encoding;
};
std::ostream& operator<<(std::ostream& out, const Session& s);
// Both deliverables in each of the given session encodings.
std::vector<Session> sessions(std::initializer_list<int32_t> encodings);
// A readable test name such as "vxjobcssl_ISO_8859_1".
std::string session_name(const ::testing::TestParamInfo<Session>& info);

// Instantiates a BridgeTest suite over both deliverables in a session that converts (ISO-8859-1) and
// one that does not (UTF-8).
#define VX_INSTANTIATE_OVER_SESSIONS(suite)                                                                        \
    INSTANTIATE_TEST_SUITE_P(Sessions, suite, ::testing::ValuesIn(sessions({simhost::kIso88591, simhost::kUtf8})), \
                             session_name)

class BridgeTest : public ::testing::TestWithParam<Session> {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes an instance in the session's encoding, or in another one; fails the test when it cannot.
    BridgeInstance* make_instance();
    BridgeInstance* make_instance(int32_t session_encoding);
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
