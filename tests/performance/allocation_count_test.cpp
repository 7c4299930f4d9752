// Pool allocations per call once an instance is warm. Entries that convert into the scratch slots
// allocate nothing; list entries allocate one array (the pair list: a pointer array and a record block)
// plus one buffer per text and release the list before; entries that hand pairs to the client allocate
// exactly their pair copy, 1 + 2 x pairs blocks, and release all of it before they return.
#include <functional>
#include <string>
#include <vector>

#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

void* const kBatchHandle = reinterpret_cast<void*>(0x7001);
void* const kRealtimeHandle = reinterpret_cast<void*>(0x7002);
void* const kResponse = reinterpret_cast<void*>(0x7003);

// One text as the host passes it (session encoding) and as the client library answers it (UTF-8).
struct Text {
    const char* session;
    const char* utf8;
};

class AllocationCountTest : public BridgeTest {
  public:
    // What the pool saw during one call.
    struct PoolDelta {
        std::vector<simhost::Allocation> made;  // in order, as the pool records them after the call
        size_t frees = 0;
        size_t live_before = 0;
        size_t live_after = 0;
    };

    PoolDelta during(const std::function<void()>& call) {
        PoolDelta delta;
        const size_t made_before = pool().allocation_count();
        const size_t frees_before = pool().free_count();
        delta.live_before = pool().live();
        call();
        const auto& all = pool().allocations();
        delta.made.assign(all.begin() + static_cast<std::ptrdiff_t>(made_before), all.end());
        delta.frees = pool().free_count() - frees_before;
        delta.live_after = pool().live();
        return delta;
    }

    void answer(JwAnswer a) const { script(a); }
    BridgeInstance* instance() const { return rec; }

  protected:
    void SetUp() override {
        BridgeTest::SetUp();
        make_instance();
        script({.func = JW_acj_initialize, .pointer = kBatchHandle});
        ASSERT_EQ(ENTRY(rec, 22, bridge_acj_initialize)(rec, "http://jobs", 80), 0);
        script({.func = JW_rta_initialize, .pointer = kRealtimeHandle});
        ASSERT_EQ(ENTRY(rec, 41, bridge_rta_initialize)(rec, "http://rt", 81, "svc", 5), 0);
    }

    // The block the bridge allocates for a UTF-8 text converted into the session encoding.
    uint64_t buffer_size_in_session(const std::string& utf8_text) const { return session(utf8_text).size() + 1; }
};

// ---- Scratch slots -----------------------------------------------------------------------------------

struct SlotCase {
    const char* name;
    int entry;
    // Calls the entry once with `text` wherever it takes a text or the client answers with one. Results
    // are not looked at here: other suites check them.
    std::function<void(AllocationCountTest&, const Text&)> call;
};

using SlotTest = AllocationCountTest;

const SlotCase kSlotCases[] = {
    {"bridge_acj_initialize", 22,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_acj_initialize, .pointer = kBatchHandle});
         (void)ENTRY(r, 22, bridge_acj_initialize)(r, text.session, 80);
     }},
    {"bridge_acj_set_credentials", 24,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 24, bridge_acj_set_credentials)(r, text.session, text.session);
     }},
    {"bridge_acj_run_prof_job", 30,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 30, bridge_acj_run_prof_job)(r, text.session, text.session, text.session, 1, text.session,
                                                     text.session, nullptr, 0, nullptr);
     }},
    {"bridge_acj_run_arch_job", 31,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 31, bridge_acj_run_arch_job)(r, text.session, nullptr, 0, nullptr);
     }},
    {"bridge_acj_get_job_status", 32,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         int32_t state = 0;
         (void)ENTRY(r, 32, bridge_acj_get_job_status)(r, text.session, &state);
     }},
    {"bridge_acj_get_job_status_item", 33,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_acj_get_job_status_item, .out_count = 3, .out_texts = {text.utf8, text.utf8, text.utf8}});
         const char* texts[3] = {};
         int32_t state = 0;
         (void)ENTRY(r, 33, bridge_acj_get_job_status_item)(r, 0, &texts[0], &texts[1], &state, &texts[2]);
     }},
    {"bridge_acj_get_job_status_item2", 34,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer(
             {.func = JW_acj_get_job_status_item2, .out_count = 3, .out_texts = {text.utf8, text.utf8, text.utf8}});
         const char* texts[3] = {};
         int32_t state = 0;
         int64_t sequence = 0;
         (void)ENTRY(r, 34, bridge_acj_get_job_status_item2)(r, 0, &texts[0], &texts[1], &state, &texts[2], &sequence);
     }},
    {"bridge_acj_get_job_log", 35,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 35, bridge_acj_get_job_log)(r, text.session, text.session);
     }},
    {"bridge_acj_terminate_job", 36,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 36, bridge_acj_terminate_job)(r, text.session);
     }},
    {"bridge_acj_delete_job_log", 37,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 37, bridge_acj_delete_job_log)(r, text.session);
     }},
    {"bridge_acj_rt_io_info", 38,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         int32_t numbers[4] = {};
         (void)ENTRY(r, 38, bridge_acj_rt_io_info)(r, text.session, &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
     }},
    {"bridge_acj_rt_input_fieldinfo", 39,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_acj_rt_input_fieldinfo, .out_count = 1, .out_texts = {text.utf8}});
         const char* name = nullptr;
         int32_t type = 0;
         int32_t length = 0;
         (void)ENTRY(r, 39, bridge_acj_rt_input_fieldinfo)(r, 0, &name, &type, &length);
     }},
    {"bridge_acj_rt_output_fieldinfo", 40,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_acj_rt_output_fieldinfo, .out_count = 1, .out_texts = {text.utf8}});
         const char* name = nullptr;
         int32_t type = 0;
         int32_t length = 0;
         (void)ENTRY(r, 40, bridge_acj_rt_output_fieldinfo)(r, 0, &name, &type, &length);
     }},
    {"bridge_rta_initialize", 41,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_rta_initialize, .pointer = kRealtimeHandle});
         (void)ENTRY(r, 41, bridge_rta_initialize)(r, text.session, 1, text.session, 1);
     }},
    {"bridge_rta_set_credentials", 43,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 43, bridge_rta_set_credentials)(r, text.session, text.session);
     }},
    {"bridge_rta_set_infield_info", 45,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 45, bridge_rta_set_infield_info)(r, 0, text.session, 1, 8);
     }},
    {"bridge_rta_set_data_value", 47,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         (void)ENTRY(r, 47, bridge_rta_set_data_value)(r, 0, text.session);
     }},
    {"bridge_rta_get_error", 49,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_rta_get_error, .text = text.utf8, .out_count = 2, .out_texts = {text.utf8, text.utf8}});
         const char* code = nullptr;
         const char* origin = nullptr;
         (void)ENTRY(r, 49, bridge_rta_get_error)(r, &code, &origin);
     }},
    {"bridge_rta_output_fieldinfo", 52,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_rta_output_fieldinfo, .out_count = 1, .out_texts = {text.utf8}});
         const char* name = nullptr;
         int32_t type = 0;
         int32_t length = 0;
         (void)ENTRY(r, 52, bridge_rta_output_fieldinfo)(r, 0, &name, &type, &length);
     }},
    {"bridge_rta_output_data", 53,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_rta_output_data, .text = text.utf8});
         (void)ENTRY(r, 53, bridge_rta_output_data)(r, 0, 0);
     }},
    {"bridge_rta_run_workflow_job", 61,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         AcjResponse service = nullptr;
         (void)ENTRY(r, 61, bridge_rta_run_workflow_job)(r, text.session, nullptr, 1, &service);
     }},
    {"bridge_acj_get_workflow_job_params", 65,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         AcjResponse params = nullptr;
         (void)ENTRY(r, 65, bridge_acj_get_workflow_job_params)(r, text.session, 0, &params);
     }},
    {"bridge_acj_get_product_full_version", 72,
     [](SlotTest& t, const Text& text) {
         BridgeInstance* r = t.instance();
         t.answer({.func = JW_acj_get_product_full_version, .text = text.utf8});
         (void)ENTRY(r, 72, bridge_acj_get_product_full_version)(r, kResponse);
     }},
};

TEST_P(AllocationCountTest, SlotEntriesAllocateNothingOnceWarm) {
    const std::string long_utf8 =
        "Gr\xC3\xB6\xC3\x9F"
        "e der Ausgabe, Zeile f\xC3\xBC"
        "nf";
    const std::string short_utf8 = "\xC3\x9F";
    const std::string long_text = session(long_utf8);
    const std::string short_text = session(short_utf8);
    // After a warm call with the longest text, the same text, a shorter one and an empty one all fit.
    const Text warm{long_text.c_str(), long_utf8.c_str()};
    const Text later[] = {warm, {short_text.c_str(), short_utf8.c_str()}, {"", ""}};
    for (const SlotCase& c : kSlotCases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.entry << " " << c.name);
        c.call(*this, warm);
        for (const Text& text : later) {
            SCOPED_TRACE(testing::Message() << "text \"" << text.utf8 << "\"");
            const PoolDelta delta = during([&] { c.call(*this, text); });
            EXPECT_TRUE(delta.made.empty()) << delta.made.size() << " allocations";
            EXPECT_EQ(delta.frees, 0u);
        }
    }
}

// ---- Pair copies -------------------------------------------------------------------------------------

struct PairCase {
    const char* name;
    int entry;
    std::function<void(BridgeInstance*, const NameValuePair*, int32_t)> call;
};

const PairCase kPairCases[] = {
    {"bridge_acj_run_prof_job", 30,
     [](BridgeInstance* rec, const NameValuePair* pairs, int32_t count) {
         (void)ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "p", "q", "", 1, "", "o", pairs, count, nullptr);
     }},
    {"bridge_acj_run_arch_job", 31,
     [](BridgeInstance* rec, const NameValuePair* pairs, int32_t count) {
         (void)ENTRY(rec, 31, bridge_acj_run_arch_job)(rec, "job", pairs, count, nullptr);
     }},
    {"bridge_rta_run2", 55,
     [](BridgeInstance* rec, const NameValuePair* pairs, int32_t count) {
         (void)ENTRY(rec, 55, bridge_rta_run2)(rec, pairs, count);
     }},
};

TEST_P(AllocationCountTest, PairEntriesAllocateTheirCopyOnlyAndReleaseItBeforeReturning) {
    const std::vector<std::string> utf8_texts = {
        "gr\xC3\xB6\xC3\x9F"
        "e",
        "zw\xC3\xB6lf",
        "",
        "x",
        "\xC3\x84nderung",
        "1"};
    std::vector<std::string> texts;
    for (const std::string& u : utf8_texts) texts.push_back(session(u));
    const NameValuePair pairs[] = {{texts[0].c_str(), texts[1].c_str()},
                                   {texts[2].c_str(), texts[3].c_str()},
                                   {texts[4].c_str(), texts[5].c_str()}};
    constexpr int32_t kPairs = 3;
    for (const PairCase& c : kPairCases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.entry << " " << c.name);
        c.call(rec, pairs, kPairs);  // warms the slots of the entry's own texts
        const PoolDelta delta = during([&] { c.call(rec, pairs, kPairs); });

        ASSERT_EQ(delta.made.size(), 1u + 2u * kPairs);
        EXPECT_EQ(delta.made[0].size, kPairs * sizeof(NameValuePair));
        EXPECT_EQ(delta.made[0].flags, POOL_FLAG_ARRAY);
        for (size_t i = 1; i < delta.made.size(); ++i) {
            EXPECT_EQ(delta.made[i].size, utf8_texts[i - 1].size() + 1) << "block " << i;  // names, values
            EXPECT_EQ(delta.made[i].flags, 0u) << "block " << i;
        }
        for (const simhost::Allocation& a : delta.made) EXPECT_TRUE(a.freed) << "block #" << a.serial;
        EXPECT_EQ(delta.frees, delta.made.size());
        EXPECT_EQ(delta.live_after, delta.live_before);
    }
}

// ---- Stored lists ------------------------------------------------------------------------------------

// Client answers of varied sizes, the empty text included.
const std::vector<std::string> kListTexts = {
    "gr\xC3\xB6\xC3\x9F"
    "e",
    "", "x",
    "\xC3\x84rger mit \xC3\x9C"
    "bergr\xC3\xB6\xC3\x9F"
    "en"};

struct ListCase {
    const char* name;
    int entry;
    JwFunc func;
    std::function<void(BridgeInstance*, int32_t*)> call;
};

const ListCase kListCases[] = {
    {"bridge_acj_joblist", 29, JW_acj_joblist,
     [](BridgeInstance* rec, int32_t* count) { (void)ENTRY(rec, 29, bridge_acj_joblist)(rec, -1, count, 0); }},
    {"bridge_acj_get_output_names", 63, JW_acj_get_output_names,
     [](BridgeInstance* rec, int32_t* count) {
         (void)ENTRY(rec, 63, bridge_acj_get_output_names)(rec, kResponse, count);
     }},
    {"bridge_acj_get_input_names", 64, JW_acj_get_input_names,
     [](BridgeInstance* rec, int32_t* count) {
         (void)ENTRY(rec, 64, bridge_acj_get_input_names)(rec, kResponse, count);
     }},
};

TEST_P(AllocationCountTest, ListEntriesAllocateOneArrayAndOneBufferPerText) {
    std::vector<const char*> answer;
    for (const std::string& t : kListTexts) answer.push_back(t.c_str());
    const auto n = static_cast<int32_t>(answer.size());
    for (const ListCase& c : kListCases) {
        SCOPED_TRACE(testing::Message() << "entry " << c.entry << " " << c.name);
        script({.func = c.func, .has_count = 1, .count = n, .list_length = n, .list = answer.data(), .times = 2});
        int32_t count = 0;
        c.call(rec, &count);  // leaves a list of n texts to be released by the next call
        const PoolDelta delta = during([&] { c.call(rec, &count); });

        EXPECT_EQ(count, n);
        ASSERT_EQ(delta.made.size(), 1u + answer.size());
        EXPECT_EQ(delta.made[0].size, answer.size() * sizeof(char*));
        EXPECT_EQ(delta.made[0].flags, POOL_FLAG_ARRAY);
        for (size_t i = 0; i < kListTexts.size(); ++i) {
            EXPECT_EQ(delta.made[1 + i].size, buffer_size_in_session(kListTexts[i])) << "text " << i;
            EXPECT_EQ(delta.made[1 + i].flags, 0u) << "text " << i;
        }
        EXPECT_EQ(delta.frees, 1u + answer.size()) << "the previous list: its texts and its array";
        EXPECT_EQ(delta.live_after, delta.live_before);
    }
}

TEST_P(AllocationCountTest, OutputsAllocatePointerArrayRecordBlockAndOneBufferPerText) {
    const NameValuePair records[] = {{kListTexts[0].c_str(), kListTexts[1].c_str()},
                                     {kListTexts[2].c_str(), kListTexts[3].c_str()}};
    constexpr int32_t kPairs = 2;
    script({.func = JW_acj_get_outputs,
            .has_count = 1,
            .count = kPairs,
            .pair_length = kPairs,
            .pairs = records,
            .times = 2});
    auto get_outputs = ENTRY(rec, 60, bridge_acj_get_outputs);
    int32_t count = 0;
    get_outputs(rec, kResponse, &count);  // leaves a list to be released by the next call
    const PoolDelta delta = during([&] { get_outputs(rec, kResponse, &count); });

    ASSERT_EQ(delta.made.size(), 2u + 2u * kPairs);
    EXPECT_EQ(delta.made[0].size, kPairs * sizeof(NameValuePair*));
    EXPECT_EQ(delta.made[1].size, kPairs * sizeof(NameValuePair));
    for (size_t i = 0; i < kListTexts.size(); ++i) {
        EXPECT_EQ(delta.made[2 + i].size, buffer_size_in_session(kListTexts[i])) << "text " << i;
    }
    for (const simhost::Allocation& a : delta.made) EXPECT_EQ(a.flags, 0u) << "block #" << a.serial;
    EXPECT_EQ(delta.frees, 2u + 2u * kPairs) << "the previous list: its texts, its block and its array";
    EXPECT_EQ(delta.live_after, delta.live_before);
}

VX_INSTANTIATE_OVER_SESSIONS(AllocationCountTest);

}  // namespace
}  // namespace vxtest
