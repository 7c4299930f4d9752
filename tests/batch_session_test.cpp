// The batch connection entries: opening it with the build's SSL answer, the stored server text and
// port, credentials, the pass-through entries, the server version and its fallback, and the product
// version of a server-version response.
#include <cstring>

#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

void* const kHandle = reinterpret_cast<void*>(0x5001);
void* const kOtherHandle = reinterpret_cast<void*>(0x5002);
void* const kResponse = reinterpret_cast<void*>(0x7001);

class BatchSessionTest : public BridgeTest {
  protected:
    void SetUp() override {
        BridgeTest::SetUp();
        make_instance();
    }
    int32_t initialize(const char* server, int32_t port) {
        return ENTRY(rec, 22, bridge_acj_initialize)(rec, server, port);
    }
    void open(void* handle) {
        script({.func = JW_acj_initialize, .pointer = handle});
        ASSERT_EQ(initialize("http://jobs", 80), 0);
    }
};

TEST_P(BatchSessionTest, InitializeHandsOverTheSslAnswerFirstEvenForANullRecord) {
    EXPECT_EQ(ENTRY(rec, 22, bridge_acj_initialize)(nullptr, "http://h", 80), -1);
    ASSERT_EQ(calls(), 1u);
    EXPECT_EQ(call(0).func, JW_acj_set_adv_option);
    EXPECT_EQ(call(0).arg_count, 2);
    EXPECT_STREQ(call(0).texts[0], "sslenab");
    auto answer = reinterpret_cast<AcjOptionFn>(call(0).args[1]);
    EXPECT_EQ(answer(), deliverable.ssl);

    script({.func = JW_acj_initialize, .pointer = kHandle});
    EXPECT_EQ(initialize("http://h", 80), 0);
    ASSERT_EQ(calls(), 3u);
    EXPECT_EQ(call(1).func, JW_acj_set_adv_option);
    EXPECT_EQ(call(2).func, JW_acj_initialize);
    EXPECT_EQ(call(2).arg_count, 2);
}

TEST_P(BatchSessionTest, InitializeStoresAShortenedServerButHandsTheClientTheWholeConvertedText) {
    const std::string server_utf8 = "http://bücher.example/" + std::string(100 - 23, 'q');
    const std::string server = session(server_utf8);
    ASSERT_GE(server.size(), 99u);
    script({.func = JW_acj_initialize, .pointer = kHandle});
    EXPECT_EQ(initialize(server.c_str(), 8443), 0);
    EXPECT_EQ(std::string(rec->server), server.substr(0, 63));
    EXPECT_EQ(rec->port, 8443);
    EXPECT_EQ(rec->acj_handle, kHandle);
    EXPECT_EQ(std::string(last_call().texts[0]), server_utf8);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 8443);
}

TEST_P(BatchSessionTest, InitializeWithANullServerSendsAnEmptyText) {
    script({.func = JW_acj_initialize, .pointer = kHandle});
    EXPECT_EQ(initialize(nullptr, 1), 0);
    EXPECT_STREQ(rec->server, "");
    ASSERT_NE(last_call().texts[0], nullptr);
    EXPECT_STREQ(last_call().texts[0], "");
}

TEST_P(BatchSessionTest, InitializeReplacesTheHandleWithWhateverTheClientGives) {
    open(kHandle);
    open(kOtherHandle);
    EXPECT_EQ(rec->acj_handle, kOtherHandle);
    // A failed connection leaves a null handle but the new server and port.
    script({.func = JW_acj_initialize, .pointer = nullptr});
    EXPECT_EQ(initialize("http://second", 81), 1);
    EXPECT_EQ(rec->acj_handle, nullptr);
    EXPECT_STREQ(rec->server, "http://second");
    EXPECT_EQ(rec->port, 81);
    for (size_t i = 0; i < calls(); ++i) EXPECT_NE(call(i).func, JW_acj_terminate) << "no connection is ended";
}

TEST_P(BatchSessionTest, InitializeWhoseServerCannotBeConvertedKeepsTheOldHandle) {
    open(kHandle);
    const size_t before = calls();
    host.fail_all_allocations(true);
    const std::string longer = "http://" + std::string(200, 'x');
    EXPECT_EQ(initialize(longer.c_str(), 99), -1);
    host.clear_faults();
    EXPECT_EQ(rec->acj_handle, kHandle);
    EXPECT_EQ(std::string(rec->server), longer.substr(0, 63));
    EXPECT_EQ(rec->port, 99);
    ASSERT_EQ(calls(), before + 1);
    EXPECT_EQ(last_call().func, JW_acj_set_adv_option);
}

TEST_P(BatchSessionTest, CredentialsAreConvertedIntoTwoSlots) {
    open(kHandle);
    const std::string user = session("jürgen");
    script({.func = JW_acj_set_credentials, .result = 11});
    EXPECT_EQ(ENTRY(rec, 24, bridge_acj_set_credentials)(rec, user.c_str(), nullptr), 11);
    EXPECT_EQ(last_call().func, JW_acj_set_credentials);
    EXPECT_EQ(last_call().arg_count, 3);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kHandle);
    EXPECT_STREQ(last_call().texts[1], "jürgen");
    EXPECT_STREQ(last_call().texts[2], "");

    const size_t before = calls();
    host.fail_allocation_at(1);  // the password outgrows its slot, and the larger buffer is refused
    const std::string password(100, 'p');
    EXPECT_EQ(ENTRY(rec, 24, bridge_acj_set_credentials)(rec, "u", password.c_str()), 1);
    EXPECT_EQ(calls(), before) << "the client is not called when a text fails";
}

TEST_P(BatchSessionTest, PassThroughEntriesSwapOnlyTheRecordForTheHandle) {
    open(kHandle);
    const std::string env = session("prod-ü");
    script({.func = JW_acj_set_timeout, .result = 41});
    EXPECT_EQ(ENTRY(rec, 23, bridge_acj_set_timeout)(rec, -7), 41);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), -7);
    script({.func = JW_acj_set_orbenv, .result = 42});
    EXPECT_EQ(ENTRY(rec, 25, bridge_acj_set_orbenv)(rec, env.c_str()), 42);
    EXPECT_EQ(std::string(last_call().texts[1]), env) << "passed through unconverted";
    EXPECT_EQ(last_call().args[1], reinterpret_cast<uint64_t>(env.c_str()));
    script({.func = JW_acj_terminate, .result = 43});
    EXPECT_EQ(ENTRY(rec, 26, bridge_acj_terminate)(rec), 43);
    const char* error = "ошибка";
    script({.func = JW_acj_get_error, .pointer = error});
    EXPECT_EQ(ENTRY(rec, 27, bridge_acj_get_error)(rec), error) << "the client's own text, unconverted";
    AcjResponse response = nullptr;
    script({.func = JW_acj_get_server_version2, .result = 44, .handle_out = kResponse});
    EXPECT_EQ(ENTRY(rec, 67, bridge_acj_get_server_version2)(rec, &response), 44);
    EXPECT_EQ(response, kResponse);
    EXPECT_EQ(last_call().args[1], reinterpret_cast<uint64_t>(&response));
    for (JwFunc f :
         {JW_acj_set_timeout, JW_acj_set_orbenv, JW_acj_terminate, JW_acj_get_error, JW_acj_get_server_version2}) {
        for (size_t i = 0; i < calls(); ++i) {
            if (call(i).func == f) {
                EXPECT_EQ(reinterpret_cast<void*>(call(i).args[0]), kHandle);
            }
        }
    }
}

TEST_P(BatchSessionTest, ServerVersionFallbackWritesWhatItsArgumentsAllow) {
    open(kHandle);
    struct Case {
        int64_t status;
        int32_t capacity;
        bool with_numbers;
        int32_t result;
        const char* buffer;  // what B holds afterwards (started as "abcdef")
        int32_t numbers[3];  // afterwards (started as -1)
    };
    const Case cases[] = {
        {1, 1, true, 0, "abcdef", {7, 1, 0}},  // no room for "7" and its NUL
        {1, 2, true, 0, "7", {7, 1, 0}},       // "7", NUL, the rest of B as it was
        {1, 0, false, 0, "abcdef", {-1, -1, -1}},
        {0, 16, true, 0, "abcdef", {-1, -1, -1}},  // the client's own answer is left alone
        {2, 16, true, 2, "abcdef", {-1, -1, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "status " << c.status << " capacity " << c.capacity);
        char buffer[8] = "abcdef";
        int32_t n[3] = {-1, -1, -1};
        script({.func = JW_acj_get_server_version, .result = c.status});
        auto entry = ENTRY(rec, 28, bridge_acj_get_server_version);
        const int32_t result = c.with_numbers ? entry(rec, buffer, c.capacity, &n[0], &n[1], &n[2])
                                              : entry(rec, buffer, c.capacity, nullptr, nullptr, nullptr);
        EXPECT_EQ(result, c.result);
        EXPECT_STREQ(buffer, c.buffer);
        if (c.buffer[0] == '7') {
            EXPECT_STREQ(buffer + 2, "cdef");
        }
        EXPECT_EQ(n[0], c.numbers[0]);
        EXPECT_EQ(n[1], c.numbers[1]);
        EXPECT_EQ(n[2], c.numbers[2]);
        EXPECT_EQ(last_call().arg_count, 6);
        EXPECT_EQ(static_cast<int32_t>(last_call().args[2]), c.capacity);
    }
}

TEST_P(BatchSessionTest, ServerHostSkipsOneLeadingScheme) {
    struct Case {
        const char* server;
        const char* host;
    };
    const Case cases[] = {
        {"https://secure:9", "secure:9"}, {"http://plain", "plain"}, {"HTTPS://LOUD", "HTTPS://LOUD"}, {"http://", ""},
        {"http://http://x", "http://x"},  {"http:/", "http:/"},      {"jobs.local", "jobs.local"},     {"", ""},
    };
    auto server_host = ENTRY(rec, 57, bridge_get_server_host);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        initialize(c.server, 1);
        const char* got = server_host(rec);
        EXPECT_STREQ(got, c.host);
        EXPECT_GE(got, rec->server);
        EXPECT_LT(got, rec->server + sizeof(rec->server));
    }
    EXPECT_EQ(server_host(nullptr), nullptr);
}

TEST_P(BatchSessionTest, ServerPortIsMinusOneUntilInitializeAndForANullRecord) {
    auto port = ENTRY(rec, 58, bridge_get_server_port);
    EXPECT_EQ(port(rec), -1);
    initialize("http://h", 4711);
    EXPECT_EQ(port(rec), 4711);
    EXPECT_EQ(port(nullptr), -1);
}

TEST_P(BatchSessionTest, ProductVersionEntriesIgnoreANullResponse) {
    const size_t before = calls();
    ENTRY(rec, 68, bridge_acj_destroy_get_server_version_rsp_handle)(rec, nullptr);
    EXPECT_EQ(ENTRY(rec, 69, bridge_acj_get_product_major_version)(rec, nullptr), 0);
    EXPECT_EQ(ENTRY(rec, 70, bridge_acj_get_product_minor_version)(rec, nullptr), 0);
    EXPECT_EQ(ENTRY(rec, 71, bridge_acj_get_product_revision_version)(rec, nullptr), 0);
    const char* full = ENTRY(rec, 72, bridge_acj_get_product_full_version)(rec, nullptr);
    ASSERT_NE(full, nullptr);
    EXPECT_STREQ(full, "");
    EXPECT_EQ(calls(), before);
    EXPECT_EQ(state().out_text[0], nullptr) << "no slot is touched";
}

TEST_P(BatchSessionTest, ProductVersionEntriesHandTheResponseToTheClient) {
    script({.func = JW_acj_get_product_major_version, .result = 9});
    script({.func = JW_acj_get_product_minor_version, .result = -2});
    script({.func = JW_acj_get_product_revision_version, .result = 77});
    EXPECT_EQ(ENTRY(rec, 69, bridge_acj_get_product_major_version)(nullptr, kResponse), 9);
    EXPECT_EQ(ENTRY(rec, 70, bridge_acj_get_product_minor_version)(nullptr, kResponse), -2);
    EXPECT_EQ(ENTRY(rec, 71, bridge_acj_get_product_revision_version)(nullptr, kResponse), 77);
    ENTRY(rec, 68, bridge_acj_destroy_get_server_version_rsp_handle)(nullptr, kResponse);
    for (size_t i = 0; i < calls(); ++i) {
        EXPECT_EQ(call(i).arg_count, 1);
        EXPECT_EQ(reinterpret_cast<void*>(call(i).args[0]), kResponse);
    }
    EXPECT_EQ(last_call().func, JW_acj_destroy_get_server_version_rsp_handle);

    script({.func = JW_acj_get_product_full_version, .text = "Édition 10.2"});
    const char* full = ENTRY(rec, 72, bridge_acj_get_product_full_version)(rec, kResponse);
    EXPECT_EQ(std::string(full), session("Édition 10.2"));
    EXPECT_EQ(full, state().out_text[0]);
    script({.func = JW_acj_get_product_full_version, .pointer = nullptr});
    EXPECT_STREQ(ENTRY(rec, 72, bridge_acj_get_product_full_version)(rec, kResponse), "");
}

TEST_P(BatchSessionTest, OutboundSlotZeroIsSharedByEveryEntryThatReturnsOneText) {
    script({.func = JW_acj_get_product_full_version, .text = "a long product version text"});
    const char* full = ENTRY(rec, 72, bridge_acj_get_product_full_version)(rec, kResponse);
    const std::string before = full;

    const char* name = nullptr;
    script({.func = JW_acj_rt_input_fieldinfo, .out_count = 1, .out_texts = {"in"}});
    ASSERT_EQ(ENTRY(rec, 39, bridge_acj_rt_input_fieldinfo)(rec, 0, &name, nullptr, nullptr), 0);
    EXPECT_EQ(name, full) << "the same buffer, reused in place";
    EXPECT_STREQ(full, "in");
    script({.func = JW_acj_rt_output_fieldinfo, .out_count = 1, .out_texts = {"out"}});
    ASSERT_EQ(ENTRY(rec, 40, bridge_acj_rt_output_fieldinfo)(rec, 0, &name, nullptr, nullptr), 0);
    EXPECT_STREQ(full, "out");
    const char *a = nullptr, *b = nullptr, *c = nullptr;
    script({.func = JW_acj_get_job_status_item, .out_count = 3, .out_texts = {"id", "n", "m"}});
    ASSERT_EQ(ENTRY(rec, 33, bridge_acj_get_job_status_item)(rec, 0, &a, &b, nullptr, &c), 0);
    EXPECT_STREQ(full, "id");
    EXPECT_NE(before, full);
}

TEST_P(BatchSessionTest, SteadyStateSlotEntriesAllocateNothing) {
    open(kHandle);
    auto credentials = ENTRY(rec, 24, bridge_acj_set_credentials);
    auto full_version = ENTRY(rec, 72, bridge_acj_get_product_full_version);
    credentials(rec, "user-name", "password");
    script({.func = JW_acj_get_product_full_version, .text = "1.2.3"});
    full_version(rec, kResponse);
    const size_t allocations = pool().allocation_count();
    for (int i = 0; i < 10; ++i) {
        credentials(rec, "user", "pw");
        initialize("http://h", 1);
        script({.func = JW_acj_get_product_full_version, .text = "1.2"});
        full_version(rec, kResponse);
    }
    EXPECT_EQ(pool().allocation_count(), allocations);
}

TEST_P(BatchSessionTest, EntriesBeforeInitializeHandTheClientANullHandle) {
    ENTRY(rec, 23, bridge_acj_set_timeout)(rec, 5);
    ENTRY(rec, 24, bridge_acj_set_credentials)(rec, "u", "p");
    ENTRY(rec, 28, bridge_acj_get_server_version)(rec, nullptr, 0, nullptr, nullptr, nullptr);
    ASSERT_EQ(calls(), 3u);
    for (size_t i = 0; i < calls(); ++i) EXPECT_EQ(call(i).args[0], 0u);
}

VX_INSTANTIATE_OVER_SESSIONS(BatchSessionTest);

}  // namespace
}  // namespace vxtest
