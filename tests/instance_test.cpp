// Making and ending instances: what the entry export asks of the host, every way it can fail and what
// it releases then, the fresh record, and the entries that bridge nothing.
#include <cstring>

#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

using simhost::Host;

// Operations of the host's event log, in order, optionally only those in `only`.
std::vector<std::string> ops(const Host& host) {
    std::vector<std::string> out;
    for (const auto& e : host.events()) out.push_back(e.op);
    return out;
}

class InstanceTest : public BridgeTest {};

TEST_P(InstanceTest, VersionExportsWriteTheInterfaceVersionAndReplaceTheServiceRecord) {
    int64_t major = -9;
    int64_t minor = -9;
    Host other;
    EXPECT_EQ(lib->vxextver(other.services(), &major, &minor), 0);
    EXPECT_EQ(major, 5);
    EXPECT_EQ(minor, 1);
    // vxextent hands over the record that is now in use; the option lookup shows which one it is.
    EXPECT_EQ(lib->vxextent(host.services()), 0);
    other.set_option_missing(true);
    BridgeInstance* made = lib->make_instance(host.context(), nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(other.events().empty());
    rec = made;
}

TEST_P(InstanceTest, EntryExportPassesTheDocumentedArgumentsToTheHost) {
    int handed_on_marker = 0;
    host.set_session_encoding(simhost::kIso88591);
    rec = lib->make_instance(host.context(), &handed_on_marker);
    ASSERT_NE(rec, nullptr);

    ASSERT_EQ(host.pools_created(), 1u);
    const simhost::Pool& p = pool();
    EXPECT_EQ(p.name(), "vxjobs Pool");
    EXPECT_EQ(p.handed_on(), &handed_on_marker);
    EXPECT_FALSE(p.attributes_were_null());
    const unsigned char zeros[24] = {};
    EXPECT_EQ(std::memcmp(p.attributes_seen(), zeros, sizeof zeros), 0);

    // The record and the conversion state come from the new pool, with flag word 0.
    ASSERT_EQ(p.allocation_count(), 2u);
    EXPECT_EQ(p.allocations()[0].size, 1168u);
    EXPECT_EQ(p.allocations()[0].flags, 0u);
    EXPECT_EQ(p.allocations()[0].block, rec);
    EXPECT_EQ(p.allocations()[1].flags, 0u);
    EXPECT_EQ(p.allocations()[1].block, rec->conversion);

    const Host::Event* option = nullptr;
    for (const auto& e : host.events()) {
        if (e.op == "get_option") option = &e;
    }
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->text, "VXNLS.OMX_SESSION_CEI");
    EXPECT_EQ(option->ints[0], 21);  // length in 16-bit characters, no terminator
    EXPECT_EQ(option->ints[1], 3);   // type
    EXPECT_EQ(option->ints[2], 8);   // size of the value slot
    EXPECT_EQ(state().session_encoding, simhost::kIso88591);
    EXPECT_EQ(ops(host), (std::vector<std::string>{"create_pool", "pool.allocate", "pool.allocate", "get_option",
                                                   "needs_conversion", "create_transcoder", "create_transcoder"}));
}

TEST_P(InstanceTest, FreshRecordHoldsItsStateAndLeavesEverythingElseAsAllocated) {
    make_instance();
    const auto* bytes = reinterpret_cast<const unsigned char*>(rec);
    EXPECT_EQ(std::memcmp(bytes, "nevo", 4), 0);
    EXPECT_EQ(rec->pool, pool().record());
    EXPECT_EQ(rec->acj_handle, nullptr);
    EXPECT_EQ(rec->rta_handle, nullptr);
    EXPECT_EQ(rec->server[0], '\0');
    EXPECT_EQ(rec->port, -1);

    // Bytes the extension never writes still hold the pool's fill pattern.
    auto untouched = [&](size_t from, size_t to) {
        for (size_t b = from; b < to; ++b) {
            if (bytes[b] != simhost::kFillByte) return false;
        }
        return true;
    };
    EXPECT_TRUE(untouched(4, 8)) << "entry 0, bytes 4-7";
    for (int n : {1, 2, 5, 7, 8}) EXPECT_TRUE(untouched(8 * n, 8 * n + 8)) << "entry " << n;
    EXPECT_TRUE(untouched(105, 168)) << "server beyond its first byte";
    EXPECT_TRUE(untouched(172, 176)) << "entry 21, bytes 4-7";
    EXPECT_TRUE(untouched(584, 1168)) << "entries 73-145";

    // Operation entries: 3, 4, 6 and 22-72 are all filled, 3 and 4 with the same operation.
    for (int n = 22; n <= 72; ++n) EXPECT_NE(rec->entry[n], nullptr) << "entry " << n;
    EXPECT_NE(rec->entry[3], nullptr);
    EXPECT_EQ(rec->entry[3], rec->entry[4]);
    EXPECT_NE(rec->entry[6], nullptr);
}

TEST_P(InstanceTest, SessionThatNeedsNoConversionGetsNoTranscoders) {
    make_instance(simhost::kUtf8Alias);
    EXPECT_EQ(state().to_utf8, nullptr);
    EXPECT_EQ(state().from_utf8, nullptr);
    EXPECT_EQ(host.transcoders_created(), 0u);
}

TEST_P(InstanceTest, SessionThatNeedsConversionGetsBothTranscoders) {
    make_instance(simhost::kShiftJis);
    ASSERT_EQ(host.transcoders_created(), 2u);
    EXPECT_EQ(host.transcoders()[0]->from(), simhost::kShiftJis);
    EXPECT_EQ(host.transcoders()[0]->to(), simhost::kUtf8);
    EXPECT_EQ(host.transcoders()[1]->from(), simhost::kUtf8);
    EXPECT_EQ(host.transcoders()[1]->to(), simhost::kShiftJis);
    EXPECT_EQ(state().to_utf8, host.transcoders()[0]->record());
    EXPECT_EQ(state().from_utf8, host.transcoders()[1]->record());
}

// Every way the entry export can fail: what the host sees afterwards, in order.
struct CreateFailure {
    const char* what;
    void (*arrange)(Host&);
    std::vector<std::string> ops;
};

const CreateFailure kCreateFailures[] = {
    {"pool not created", [](Host& h) { h.fail_create_pool(true); }, {"create_pool"}},
    {"record not allocated",
     [](Host& h) { h.fail_allocation_at(1); },
     {"create_pool", "pool.allocate", "pool.destroy"}},
    {"conversion state not allocated",
     [](Host& h) { h.fail_allocation_at(2); },
     {"create_pool", "pool.allocate", "pool.allocate", "pool.destroy"}},
    {"option missing",
     [](Host& h) { h.set_option_missing(true); },
     {"create_pool", "pool.allocate", "pool.allocate", "get_option", "pool.destroy"}},
    {"first transcoder not made",
     [](Host& h) { h.fail_create_transcoder(1); },
     {"create_pool", "pool.allocate", "pool.allocate", "get_option", "needs_conversion", "create_transcoder",
      "pool.destroy"}},
    {"second transcoder not made",
     [](Host& h) { h.fail_create_transcoder(2); },
     {"create_pool", "pool.allocate", "pool.allocate", "get_option", "needs_conversion", "create_transcoder",
      "create_transcoder", "transcoder.destroy", "pool.destroy"}},
};

TEST_P(InstanceTest, EachCreationFailureReleasesWhatWasMadeInOrderAndReturnsNull) {
    for (const CreateFailure& failure : kCreateFailures) {
        SCOPED_TRACE(failure.what);
        Host fresh;
        lib->vxextent(fresh.services());
        fresh.set_session_encoding(simhost::kIso88591);
        failure.arrange(fresh);
        EXPECT_EQ(lib->make_instance(fresh.context(), nullptr), nullptr);
        EXPECT_EQ(ops(fresh), failure.ops);
        EXPECT_EQ(fresh.transcoders_live(), 0u);
        EXPECT_EQ(sim->call_count(), 0u) << "the client library is never involved";
        for (const auto& p : fresh.pools()) {
            EXPECT_TRUE(p->destroyed());
            EXPECT_TRUE(p->errors().empty());
        }
    }
    lib->vxextent(host.services());
}

TEST_P(InstanceTest, VersionEntryWritesThreeNumbersAndAnswersANullRecord) {
    make_instance();
    for (int number : {3, 4}) {
        int64_t v[3] = {-1, -1, -1};
        EXPECT_EQ(ENTRY(rec, number, bridge_get_version)(rec, &v[0], &v[1], &v[2]), 0);
        EXPECT_EQ(v[0], 5);
        EXPECT_EQ(v[1], 1);
        EXPECT_EQ(v[2], 1);
        int64_t untouched[3] = {-1, -1, -1};
        EXPECT_EQ(ENTRY(rec, number, bridge_get_version)(nullptr, &untouched[0], &untouched[1], &untouched[2]), 1);
        EXPECT_EQ(untouched[0], -1);
        EXPECT_EQ(untouched[1], -1);
        EXPECT_EQ(untouched[2], -1);
    }
}

TEST_P(InstanceTest, DestroyReleasesTranscodersThenThePoolAndLeavesConnectionsAlone) {
    make_instance();
    auto destroy = ENTRY(rec, 6, bridge_destroy);
    EXPECT_EQ(destroy(nullptr), 1);
    host.clear_events();
    rec->acj_handle = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(destroy(rec), 0);
    rec = nullptr;
    EXPECT_EQ(ops(host), (std::vector<std::string>{"transcoder.destroy", "transcoder.destroy", "pool.destroy"}));
    EXPECT_EQ(host.transcoders()[0]->destroyed_serial() < host.transcoders()[1]->destroyed_serial(), true);
    EXPECT_TRUE(pool().destroyed());
    EXPECT_EQ(pool().live(), 0u);
    EXPECT_EQ(sim->call_count(), 0u) << "destroying an instance ends no connection";
}

TEST_P(InstanceTest, DestroyWithoutTranscodersOnlyDestroysThePool) {
    make_instance(simhost::kUtf8);
    host.clear_events();
    EXPECT_EQ(ENTRY(rec, 6, bridge_destroy)(rec), 0);
    rec = nullptr;
    EXPECT_EQ(ops(host), std::vector<std::string>{"pool.destroy"});
}

TEST_P(InstanceTest, ConstantEntriesIgnoreTheirRecord) {
    make_instance();
    EXPECT_EQ(ENTRY(rec, 56, bridge_const_minus_one)(), -1);
    EXPECT_EQ(ENTRY(rec, 59, bridge_const_one)(), 1);
    using AnyArguments = int32_t (*)(void*, int64_t);
    EXPECT_EQ(reinterpret_cast<AnyArguments>(rec->entry[56])(nullptr, 99), -1);
    EXPECT_EQ(reinterpret_cast<AnyArguments>(rec->entry[59])(nullptr, 99), 1);
}

TEST_P(InstanceTest, SslAnswerHandedToTheClientMatchesTheBuild) {
    make_instance();
    ENTRY(rec, 22, bridge_acj_initialize)(nullptr, "http://h", 1);
    AcjOptionFn answer = sim->ssl_answer();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), deliverable.ssl);
}

TEST_P(InstanceTest, InstancesAreIndependent) {
    make_instance();
    BridgeInstance* second = lib->make_instance(host.context(), nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, rec);
    EXPECT_NE(second->conversion, rec->conversion);
    EXPECT_NE(second->pool, rec->pool);
    EXPECT_EQ(ENTRY(second, 6, bridge_destroy)(second), 0);
    EXPECT_TRUE(host.pools()[1]->destroyed());
    EXPECT_FALSE(host.pools()[0]->destroyed());
}

INSTANTIATE_TEST_SUITE_P(Deliverables, InstanceTest, ::testing::ValuesIn(sessions({simhost::kIso88591})), session_name);

}  // namespace
}  // namespace vxtest
