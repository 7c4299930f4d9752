// The conversion primitives on their own, on an instance assembled by hand from the stand-in host:
// slot reuse and growth, the stored lists, every allocation's size and flag word, every failure and
// what it leaves behind, and hostile answers from the host.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/convert.h"
#include "sim/host/sim_host.h"

HostServices* g_host_services = nullptr;

namespace {

using simhost::Host;

class ConversionTest : public ::testing::Test {
  protected:
    void SetUp() override { g_host_services = host.services(); }
    void TearDown() override {
        if (pool != nullptr) {
            EXPECT_TRUE(pool->check_guards());
            EXPECT_TRUE(pool->errors().empty()) << pool->errors().front();
        }
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
    }

    // An instance with just what the primitives use: pool, conversion state, transcoders.
    void make(int32_t session_encoding) {
        encoding = session_encoding;
        HostContext* context = host.context();
        HostPool* record = context->create_pool(context, nullptr, nullptr, "test");
        pool = simhost::Pool::from_record(record);
        rec.pool = record;
        rec.conversion = &state;
        state = ConversionState{};
        state.session_encoding = session_encoding;
        HostNls* nls = host.nls();
        if (nls->needs_conversion(nls, session_encoding, simhost::kUtf8, 0) & 0xFF) {
            state.to_utf8 = nls->create_transcoder(nls, session_encoding, simhost::kUtf8, 0, 0);
            state.from_utf8 = nls->create_transcoder(nls, simhost::kUtf8, session_encoding, 0, 0);
        }
        host.clear_events();
    }

    std::string session(const std::string& utf8) const { return simhost::convert(utf8, simhost::kUtf8, encoding); }

    // The pool events since the last clear, as "allocate SIZE FLAGS" / "free SIZE".
    std::vector<std::string> pool_ops() const {
        std::vector<std::string> out;
        for (const auto& e : host.events()) {
            if (e.op == "pool.allocate") {
                out.push_back("allocate " + std::to_string(e.ints[0]) + (e.ints[1] != 0 ? " array" : ""));
            } else if (e.op == "pool.free") {
                out.push_back("free " + std::to_string(e.ints[0]));
            }
        }
        return out;
    }
    size_t count_ops(const char* op) const {
        size_t n = 0;
        for (const auto& e : host.events()) n += e.op == op;
        return n;
    }

    Host host;
    simhost::Pool* pool = nullptr;
    BridgeInstance rec{};
    ConversionState state{};
    int32_t encoding = simhost::kIso88591;
};

const std::string kText100(100, 'x');

TEST_F(ConversionTest, NullAndEmptyTextsTakeA64ByteBufferWithoutAskingTheHost) {
    make(simhost::kIso88591);
    EXPECT_EQ(conv_in_args(&rec, {nullptr, ""}), 2);
    EXPECT_STREQ(in_slot(&rec, 0), "");
    EXPECT_STREQ(in_slot(&rec, 1), "");
    EXPECT_EQ(state.in_capacity[0], 63u);
    EXPECT_EQ(state.in_capacity[1], 63u);
    EXPECT_EQ(pool_ops(), (std::vector<std::string>{"allocate 64", "allocate 64"}));
    EXPECT_EQ(count_ops("measure") + count_ops("transcode"), 0u);

    // A slot that has a buffer keeps it for the next empty text; nothing is asked of the host at all.
    host.clear_events();
    EXPECT_EQ(conv_in_args(&rec, {""}), 1);
    EXPECT_TRUE(host.events().empty());
}

TEST_F(ConversionTest, SlotsGrowOnlyWhenATextNeedsMoreThanTheirCapacity) {
    make(simhost::kIso88591);
    struct Step {
        size_t length;
        std::vector<std::string> ops;
        uint64_t capacity;
    };
    const Step steps[] = {
        {0, {"allocate 64"}, 63},
        {63, {}, 63},  // fits the 64-byte buffer
        {64, {"free 64", "allocate 65"}, 64},
        {100, {"free 65", "allocate 101"}, 100},
        {10, {}, 100},  // shorter texts reuse the buffer; capacity stays
        {50, {}, 100},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.length);
        host.clear_events();
        const std::string text(step.length, 'a');
        EXPECT_EQ(conv_out_args(&rec, {text.c_str()}), 1);
        EXPECT_EQ(pool_ops(), step.ops);
        EXPECT_EQ(state.out_capacity[0], step.capacity);
        EXPECT_EQ(std::string(out_slot(&rec, 0)), text);
    }
}

TEST_F(ConversionTest, TextsRoundTripThroughRealEncodings) {
    struct Case {
        int32_t encoding;
        std::string text;
    };
    const Case cases[] = {
        {simhost::kIso88591, "Grüße, café, naïve"},
        {simhost::kWindows1252, "€ 5 – “quoted”"},
        {simhost::kShiftJis, "東京の天気は晴れ"},
        {simhost::kEbcdic037, "Hello, World 123 {}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        make(c.encoding);
        const std::string in_session = session(c.text);
        ASSERT_NE(in_session, c.text) << "the case must really need conversion";
        ASSERT_EQ(conv_in_args(&rec, {in_session.c_str()}), 1);
        EXPECT_EQ(std::string(in_slot(&rec, 0)), c.text);
        ASSERT_EQ(conv_out_args(&rec, {in_slot(&rec, 0)}), 1);
        EXPECT_EQ(std::string(out_slot(&rec, 0)), in_session);
        const char* texts[] = {c.text.c_str()};
        int32_t count = 1;
        char** list = conv_out_list(&rec, texts, &count);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(std::string(list[0]), in_session);
    }
}

TEST_F(ConversionTest, WithoutTranscodersBytesAreCopiedYetEveryNonEmptyTextIsMeasured) {
    make(simhost::kUtf8);
    ASSERT_EQ(state.to_utf8, nullptr);
    const std::string odd = "\xff\xfe raw \x80 bytes";
    EXPECT_EQ(conv_in_args(&rec, {odd.c_str(), "", "abc"}), 3);
    EXPECT_EQ(std::string(in_slot(&rec, 0)), odd);
    EXPECT_EQ(std::string(in_slot(&rec, 2)), "abc");
    EXPECT_EQ(count_ops("measure"), 2u);
    EXPECT_EQ(count_ops("transcode"), 0u);

    host.clear_events();
    const char* texts[] = {"one", nullptr};
    int32_t count = 2;
    conv_out_list(&rec, texts, &count);
    EXPECT_EQ(count_ops("measure"), 2u) << "list texts are measured even when null";
    NameValuePair pair{"n", "v"};
    host.clear_events();
    NameValuePair* copy = conv_in_pairs(&rec, &pair, 1);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(count_ops("measure"), 2u);
    free_pairs(&rec, copy, 1);
}

TEST_F(ConversionTest, TranscoderFailureStopsTheSlotsAtThatText) {
    make(simhost::kIso88591);
    ASSERT_EQ(conv_in_args(&rec, {"old0", "old1", "old2", "old3", "old4"}), 5);
    host.fail_transcode(3, 2);  // the third text fails after two bytes
    EXPECT_EQ(conv_in_args(&rec, {"new0", "new1", "new2", "new3", "new4"}), 2);
    EXPECT_STREQ(in_slot(&rec, 0), "new0");
    EXPECT_STREQ(in_slot(&rec, 1), "new1");
    EXPECT_STREQ(in_slot(&rec, 2), "ne") << "what the transcoder wrote, terminated";
    EXPECT_STREQ(in_slot(&rec, 3), "old3");
    EXPECT_STREQ(in_slot(&rec, 4), "old4");
}

TEST_F(ConversionTest, AllocationFailuresLeaveTheSlotEmptyAndLaterSlotsUntouched) {
    make(simhost::kIso88591);
    ASSERT_EQ(conv_out_args(&rec, {"a", "b", "earlier"}), 3);
    // A larger buffer for text 1 cannot be had: its old buffer is gone, the slot is empty.
    host.fail_allocations_of_size(kText100.size() + 1);
    EXPECT_EQ(conv_out_args(&rec, {"x", kText100.c_str(), "z"}), 1);
    EXPECT_STREQ(out_slot(&rec, 0), "x");
    EXPECT_EQ(out_slot(&rec, 1), nullptr);
    EXPECT_EQ(state.out_capacity[1], 0u);
    EXPECT_STREQ(out_slot(&rec, 2), "earlier");

    // The 64-byte buffer for an empty text in that now empty slot cannot be had either.
    host.clear_faults();
    host.fail_allocations_of_size(64);
    EXPECT_EQ(conv_out_args(&rec, {"x", "", "z"}), 1);
    EXPECT_EQ(out_slot(&rec, 1), nullptr);
    EXPECT_STREQ(out_slot(&rec, 2), "earlier");
    host.clear_faults();
    EXPECT_EQ(conv_out_args(&rec, {"x", "", "z"}), 3) << "the slot recovers on the next call";
}

TEST_F(ConversionTest, NothingIsConvertedWithoutStateOrForACountOfZeroOrLess) {
    make(simhost::kIso88591);
    const char* texts[] = {"a"};
    EXPECT_EQ(conv_in_args(&rec, 0, texts), 0);
    EXPECT_EQ(conv_out_args(&rec, -1, texts), 0);
    BridgeInstance bare{};
    bare.pool = rec.pool;
    EXPECT_EQ(conv_in_args(&bare, 1, texts), 0);
    int32_t count = 1;
    EXPECT_EQ(conv_out_list(&bare, texts, &count), nullptr);
    EXPECT_EQ(count, 1) << "the count is not written without a conversion state";
    EXPECT_TRUE(host.events().empty());
}

TEST_F(ConversionTest, PairCopyAllocatesAnArrayAndOneBufferPerText) {
    make(simhost::kIso88591);
    const std::string name = session("größe");
    const NameValuePair pairs[] = {{name.c_str(), "10"}, {nullptr, ""}};
    NameValuePair* copy = conv_in_pairs(&rec, pairs, 2);
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy[0].name, "größe");
    EXPECT_STREQ(copy[0].value, "10");
    EXPECT_STREQ(copy[1].name, "") << "a null name reaches the client as an empty text";
    EXPECT_STREQ(copy[1].value, "");
    EXPECT_EQ(pool_ops(),
              (std::vector<std::string>{"allocate 32 array", "allocate 8", "allocate 3", "allocate 1", "allocate 1"}));
    host.clear_events();
    free_pairs(&rec, copy, 2);
    EXPECT_EQ(pool_ops(), (std::vector<std::string>{"free 8", "free 3", "free 1", "free 1", "free 32"}));
    EXPECT_EQ(pool->live(), 0u);
}

TEST_F(ConversionTest, PairCopyFailureReleasesEverythingItMade) {
    make(simhost::kIso88591);
    const NameValuePair pairs[] = {{"n0", "v0"}, {"name1", "value_1"}};
    struct Case {
        uint64_t failing_allocation;
        std::vector<std::string> frees;
    };
    const Case cases[] = {
        {1, {}},                                         // the array
        {2, {"free 32"}},                                // name 0
        {3, {"free 3", "free 32"}},                      // value 0
        {4, {"free 3", "free 3", "free 32"}},            // name 1
        {5, {"free 3", "free 3", "free 6", "free 32"}},  // value 1: name 1 goes after record 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing_allocation);
        host.clear_events();
        host.fail_allocation_at(c.failing_allocation);
        EXPECT_EQ(conv_in_pairs(&rec, pairs, 2), nullptr);
        std::vector<std::string> frees;
        for (const std::string& op : pool_ops()) {
            if (op.rfind("free", 0) == 0) frees.push_back(op);
        }
        EXPECT_EQ(frees, c.frees);
        EXPECT_EQ(pool->live(), 0u);
        host.clear_faults();
    }
}

TEST_F(ConversionTest, StringListReplacesTheOldListAfterFreeingItInOrder) {
    make(simhost::kIso88591);
    const char* first[] = {"alpha", "be"};
    int32_t count = 2;
    ASSERT_NE(conv_out_list(&rec, first, &count), nullptr);
    EXPECT_EQ(pool_ops(), (std::vector<std::string>{"allocate 16 array", "allocate 6", "allocate 3"}));

    host.clear_events();
    const char* second[] = {"x", "yy", "zzz"};
    count = 3;
    char** list = conv_out_list(&rec, second, &count);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(pool_ops(), (std::vector<std::string>{"free 6", "free 3", "free 16", "allocate 24 array", "allocate 2",
                                                    "allocate 3", "allocate 4"}));
    EXPECT_STREQ(list[2], "zzz");
    EXPECT_EQ(state.string_list, list);
    EXPECT_EQ(state.string_count, 3);
}

TEST_F(ConversionTest, StringListStopsAtTheFirstTextWithoutABuffer) {
    make(simhost::kIso88591);
    const char* texts[] = {"one", "second", "three"};
    host.fail_allocations_of_size(7);
    int32_t count = 3;
    char** list = conv_out_list(&rec, texts, &count);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_STREQ(list[0], "one");
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(state.string_count, 1);

    host.clear_faults();
    host.fail_allocation_at(1);  // the old list is released, then the new array fails
    count = 3;
    EXPECT_EQ(conv_out_list(&rec, texts, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(state.string_list, nullptr);
    EXPECT_EQ(pool->live(), 0u) << "the previous list was released before the failed allocation";
}

TEST_F(ConversionTest, StringListForCountsOfZeroOrLess) {
    make(simhost::kIso88591);
    const char* texts[] = {"old"};
    int32_t count = 1;
    conv_out_list(&rec, texts, &count);

    // Zero: the pool's zero-byte array, never written into; the old list is gone.
    host.clear_events();
    count = 0;
    char** empty = conv_out_list(&rec, texts, &count);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(pool_ops(), (std::vector<std::string>{"free 4", "free 8", "allocate 0 array"}));
    EXPECT_TRUE(pool->check_guards());

    // Negative: nothing allocated, null, 0 written back.
    host.clear_events();
    count = -5;
    EXPECT_EQ(conv_out_list(&rec, texts, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(pool_ops(), (std::vector<std::string>{"free 0"}));
    EXPECT_EQ(pool->live(), 0u);
}

TEST_F(ConversionTest, PairListPointsIntoOneBlockAndKeepsGoingPastMissingBuffers) {
    make(simhost::kIso88591);
    NameValuePair a{"name", "value"};
    NameValuePair b{nullptr, "spät"};
    NameValuePair* answer[] = {&a, &b, nullptr};
    host.fail_allocations_of_size(6);  // a's value
    NameValuePair** list = conv_out_pair_list(&rec, answer, 3);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[1], list[0] + 1);
    EXPECT_EQ(list[2], list[0] + 2);
    EXPECT_STREQ(list[0]->name, "name");
    EXPECT_EQ(list[0]->value, nullptr);
    EXPECT_STREQ(list[1]->name, "");
    EXPECT_EQ(std::string(list[1]->value), session("spät"));
    EXPECT_STREQ(list[2]->name, "") << "a null element counts as two empty texts";
    EXPECT_EQ(state.pair_count, 3);
    EXPECT_EQ(pool_ops().front(), "allocate 24");
    EXPECT_EQ(pool_ops()[1], "allocate 48");

    host.clear_faults();
    host.clear_events();
    release_pair_list(&rec);
    EXPECT_EQ(pool_ops(),
              (std::vector<std::string>{"free 5", "free 1", "free 5", "free 1", "free 1", "free 48", "free 24"}));
    EXPECT_EQ(state.pair_list, nullptr);
    EXPECT_EQ(state.pair_count, 0);
    EXPECT_EQ(pool->live(), 0u);

    host.clear_events();
    release_pair_list(&rec);
    EXPECT_TRUE(host.events().empty()) << "releasing an empty pair list does nothing";
}

TEST_F(ConversionTest, PairListStoresNothingWhenItsArraysCannotBeHadOrTheCountIsNotPositive) {
    make(simhost::kIso88591);
    NameValuePair a{"n", "v"};
    NameValuePair* answer[] = {&a};
    for (uint64_t failing : {1u, 2u}) {
        host.fail_allocation_at(failing);
        EXPECT_EQ(conv_out_pair_list(&rec, answer, 1), nullptr);
        EXPECT_EQ(state.pair_list, nullptr);
        EXPECT_EQ(pool->live(), 0u);
        host.clear_faults();
    }
    host.clear_events();
    EXPECT_EQ(conv_out_pair_list(&rec, answer, 0), nullptr);
    EXPECT_EQ(conv_out_pair_list(&rec, answer, -3), nullptr);
    EXPECT_TRUE(pool_ops().empty());
    EXPECT_EQ(state.pair_list, nullptr);
}

// Hostile hosts: whatever they report, nothing is written outside a buffer.
TEST_F(ConversionTest, TranscoderReportingMoreThanItsCapacityIsClamped) {
    make(simhost::kIso88591);
    host.transcode_overreport(1000);
    EXPECT_EQ(conv_in_args(&rec, {"abc"}), 1);
    EXPECT_EQ(std::strlen(in_slot(&rec, 0)), 3u);
    const char* texts[] = {"hello"};
    int32_t count = 1;
    char** list = conv_out_list(&rec, texts, &count);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list[0], "hello");
    EXPECT_TRUE(pool->check_guards());
}

TEST_F(ConversionTest, UnderMeasuringHostStillGetsWholeCopiesWithoutTranscoders) {
    make(simhost::kUtf8);
    host.measure_underreport(3);
    EXPECT_EQ(conv_in_args(&rec, {"0123456789"}), 1);
    EXPECT_STREQ(in_slot(&rec, 0), "0123456789");
    host.measure_leaves_count_unset(true);
    EXPECT_EQ(conv_out_args(&rec, {"unmeasured text"}), 1);
    EXPECT_STREQ(out_slot(&rec, 0), "unmeasured text");
    EXPECT_TRUE(pool->check_guards());
}

TEST_F(ConversionTest, MeasureLeavingTheCountUnsetMeansZeroBytesWithTranscoders) {
    make(simhost::kIso88591);
    host.measure_leaves_count_unset(true);
    const char* texts[] = {"some text"};
    int32_t count = 1;
    char** list = conv_out_list(&rec, texts, &count);
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list[0], "") << "a buffer of one byte holds only the terminator";
    EXPECT_EQ(pool_ops().back(), "allocate 1");
    EXPECT_TRUE(pool->check_guards());
}

TEST_F(ConversionTest, UnrepresentableSizeIsAnAllocationFailure) {
    make(simhost::kIso88591);
    // A host whose measure answers the largest count there is.
    HostNls hostile = *host.nls();
    hostile.measure = [](HostNls*, int64_t, const char*, uint64_t, int64_t, uint64_t* count) {
        *count = UINT64_MAX;
        return 0;
    };
    HostServices services = *host.services();
    services.nls = &hostile;
    g_host_services = &services;
    EXPECT_EQ(conv_in_args(&rec, {"abc"}), 0);
    EXPECT_EQ(in_slot(&rec, 0), nullptr);
    const NameValuePair pair{"n", "v"};
    EXPECT_EQ(conv_in_pairs(&rec, &pair, 1), nullptr);
    const char* texts[] = {"x"};
    int32_t count = 1;
    ASSERT_NE(conv_out_list(&rec, texts, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(count_ops("pool.allocate"), 2u) << "only the two arrays were asked for";
    g_host_services = host.services();
}

}  // namespace
