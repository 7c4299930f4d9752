// Tests of the stand-in host kernel: the extension's tests trust it to catch memory misuse and to convert
// honestly, so both are checked here against independent expectations.

#include "sim/host/sim_host.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace simhost {
namespace {

std::u16string utf16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class SimHostTest : public ::testing::Test {
  protected:
    Pool* make_pool(const char* name = "test pool") {
        const std::array<unsigned char, 24> attributes{};
        HostPool* record = host.context()->create_pool(host.context(), attributes.data(), nullptr, name);
        EXPECT_NE(record, nullptr);
        return Pool::from_record(record);
    }
    void* allocate(Pool* pool, uint64_t size, uint32_t flags = 0) {
        return pool->record()->allocate(pool->record(), size, flags);
    }
    void release(Pool* pool, void* block) { pool->record()->free(pool->record(), block); }
    void destroy(Pool* pool) { pool->record()->destroy(pool->record()); }

    // Option lookup as the extension does it: 8-byte slot, size 8.
    int32_t get_option(std::string_view key, int32_t type, uint64_t* slot) {
        const std::u16string wide = utf16(key);
        uint64_t size = 8;
        auto* key_units = reinterpret_cast<const uint16_t*>(wide.data());
        return host.services()->get_option(host.services(), key_units, wide.size(), type, slot, &size);
    }

    uint64_t measure(int32_t from, std::string_view text, int32_t to) {
        uint64_t count = 12345;
        host.nls()->measure(host.nls(), from, text.data(), text.size(), to, &count);
        return count;
    }
    HostTranscoder* make_transcoder(int32_t from, int32_t to) {
        return host.nls()->create_transcoder(host.nls(), from, to, 0, 0);
    }
    struct Output {
        int32_t status;
        uint64_t written;
        std::string bytes;  // the first min(written, capacity) bytes of the buffer
        bool tail_intact;   // nothing written past the capacity
    };
    Output transcode(HostTranscoder* t, std::string_view text, uint64_t capacity) {
        std::vector<char> buffer(capacity + 8, '\x5A');
        uint64_t written = 0;
        uint32_t run = 1;
        const int32_t status = t->transcode(t, text.data(), text.size(), buffer.data(), capacity, &written, &run);
        bool intact = true;
        for (size_t i = capacity; i < buffer.size(); ++i) intact = intact && buffer[i] == '\x5A';
        return {status, written, std::string(buffer.data(), std::min(written, capacity)), intact};
    }

    Host host;
};

// ---- Records ---------------------------------------------------------------------------------------------

TEST_F(SimHostTest, RecordsLeadTheirObjectsAndLeaveReservedSlotsNull) {
    EXPECT_EQ(host.services()->nls, host.nls());
    for (void* slot : host.context()->host_reserved) EXPECT_EQ(slot, nullptr);
    for (void* slot : host.services()->host_reserved_a) EXPECT_EQ(slot, nullptr);
    for (void* slot : host.nls()->host_reserved_b) EXPECT_EQ(slot, nullptr);

    Pool* pool = make_pool();
    EXPECT_EQ(static_cast<void*>(pool), static_cast<void*>(pool->record()));
    EXPECT_EQ(pool->record()->host_reserved[0], nullptr);

    HostTranscoder* t = make_transcoder(kUtf8, kIso88591);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(Transcoder::from_record(t), host.transcoders().back().get());
    EXPECT_EQ(static_cast<void*>(Transcoder::from_record(t)), static_cast<void*>(t));
    EXPECT_EQ(t->host_reserved_b, nullptr);
}

TEST_F(SimHostTest, CreatePoolKeepsWhatItWasGiven) {
    std::array<unsigned char, 24> attributes{};
    attributes[23] = 7;
    int handed_on = 0;
    HostPool* record = host.context()->create_pool(host.context(), attributes.data(), &handed_on, "vxjobs Pool");
    ASSERT_NE(record, nullptr);
    Pool* pool = host.last_pool();
    EXPECT_EQ(pool->record(), record);
    EXPECT_EQ(pool->name(), "vxjobs Pool");
    EXPECT_EQ(pool->handed_on(), &handed_on);
    EXPECT_EQ(std::memcmp(pool->attributes_seen(), attributes.data(), 24), 0);
    ASSERT_EQ(host.events().size(), 1u);
    EXPECT_EQ(host.events()[0].op, "create_pool");
    EXPECT_EQ(host.events()[0].text, "vxjobs Pool");
    EXPECT_EQ(host.events()[0].object, record);

    host.fail_create_pool(true);
    EXPECT_EQ(host.context()->create_pool(host.context(), attributes.data(), nullptr, "second"), nullptr);
    EXPECT_EQ(host.pools_created(), 1u);
    EXPECT_EQ(host.events().back().object, nullptr);
}

// ---- Pools -----------------------------------------------------------------------------------------------

TEST_F(SimHostTest, BlocksAreFilledGuardedAndAccounted) {
    Pool* pool = make_pool();
    auto* first = static_cast<unsigned char*>(allocate(pool, 10, POOL_FLAG_ARRAY));
    void* second = allocate(pool, 3);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(first[i], kFillByte) << i;
    for (size_t i = 0; i < kGuardBytes; ++i) EXPECT_EQ(first[10 + i], kGuardByte) << i;

    EXPECT_EQ(pool->live(), 2u);
    EXPECT_EQ(pool->live_bytes(), 13u);
    EXPECT_EQ(pool->block_size(first), 10u);
    EXPECT_EQ(pool->block_flags(first), POOL_FLAG_ARRAY);
    EXPECT_EQ(pool->allocations()[0].serial, 1u);
    EXPECT_EQ(pool->allocations()[1].serial, 2u);

    release(pool, first);
    EXPECT_FALSE(pool->owns_live(first));
    EXPECT_EQ(pool->block_size(first), UINT64_MAX);
    EXPECT_TRUE(pool->allocations()[0].freed);
    EXPECT_EQ(pool->live(), 1u);
    EXPECT_EQ(pool->live_bytes(), 3u);
    EXPECT_EQ(pool->free_count(), 1u);
    EXPECT_EQ(pool->allocation_count(), 2u);
    EXPECT_TRUE(pool->errors().empty());
}

TEST_F(SimHostTest, OverwrittenGuardIsReportedWhereverItIsFound) {
    enum class FoundBy { kFree, kDestroy, kCheck };
    for (uint64_t size : {uint64_t{0}, uint64_t{1}, uint64_t{40}}) {
        for (FoundBy found_by : {FoundBy::kFree, FoundBy::kDestroy, FoundBy::kCheck}) {
            SCOPED_TRACE("size " + std::to_string(size) + " found by " + std::to_string(static_cast<int>(found_by)));
            Pool* pool = make_pool();
            auto* block = static_cast<char*>(allocate(pool, size));
            ASSERT_NE(block, nullptr);  // a zero-byte block is a real block with its own guard
            EXPECT_TRUE(pool->check_guards());
            block[size + kGuardBytes - 1] = 0;  // the guard's last byte
            switch (found_by) {
                case FoundBy::kFree:
                    release(pool, block);
                    break;
                case FoundBy::kDestroy:
                    destroy(pool);
                    break;
                case FoundBy::kCheck:
                    EXPECT_FALSE(pool->check_guards());
                    break;
            }
            ASSERT_EQ(pool->errors().size(), 1u);
            EXPECT_NE(pool->errors()[0].find("guard"), std::string::npos) << pool->errors()[0];
            if (found_by == FoundBy::kCheck) release(pool, block);  // still freed; reported once more
        }
    }
}

TEST_F(SimHostTest, BadFreesAreReportedAndChangeNothing) {
    Pool* pool = make_pool();
    Pool* other = make_pool("other");
    void* kept = allocate(pool, 8);
    void* freed = allocate(pool, 8);
    void* foreign = allocate(other, 8);
    char on_stack[8];
    release(pool, freed);

    release(pool, freed);     // double free
    release(pool, foreign);   // another pool's block
    release(pool, on_stack);  // never a block
    ASSERT_EQ(pool->errors().size(), 3u);
    EXPECT_NE(pool->errors()[0].find("double free"), std::string::npos) << pool->errors()[0];
    EXPECT_NE(pool->errors()[1].find("never gave out"), std::string::npos) << pool->errors()[1];
    EXPECT_NE(pool->errors()[2].find("never gave out"), std::string::npos) << pool->errors()[2];
    EXPECT_EQ(pool->free_count(), 1u);
    EXPECT_TRUE(pool->owns_live(kept));
    EXPECT_TRUE(other->owns_live(foreign));
    EXPECT_TRUE(other->errors().empty());
}

TEST_F(SimHostTest, DestroyReleasesEveryBlockAndForbidsLaterUse) {
    Pool* pool = make_pool();
    void* freed = allocate(pool, 5);
    allocate(pool, 6);
    release(pool, freed);
    destroy(pool);

    EXPECT_TRUE(pool->destroyed());
    EXPECT_EQ(pool->live(), 0u);
    EXPECT_EQ(pool->live_bytes(), 0u);
    EXPECT_EQ(pool->free_count(), 1u);
    EXPECT_FALSE(pool->allocations()[0].released_by_destroy);
    EXPECT_TRUE(pool->allocations()[1].freed);
    EXPECT_TRUE(pool->allocations()[1].released_by_destroy);
    EXPECT_TRUE(pool->errors().empty());
    EXPECT_EQ(host.events().back().op, "pool.destroy");
    EXPECT_EQ(host.events().back().ints, std::vector<int64_t>{1});

    EXPECT_EQ(allocate(pool, 4), nullptr);
    release(pool, freed);
    destroy(pool);
    EXPECT_EQ(pool->errors().size(), 3u);
    EXPECT_EQ(pool->allocation_count(), 2u);
}

TEST_F(SimHostTest, WithoutHistoryAPoolKeepsRecordsOfLiveBlocksOnly) {
    host.set_allocation_history(false);
    Pool* pool = make_pool();
    std::vector<void*> blocks;
    for (uint64_t size = 1; size <= 5; ++size) blocks.push_back(allocate(pool, size, size == 4 ? POOL_FLAG_ARRAY : 0));
    // Freeing from the front, the middle and the back moves other records; each must still be found.
    for (size_t i : {size_t{0}, size_t{2}, size_t{4}}) release(pool, blocks[i]);

    EXPECT_TRUE(pool->errors().empty());
    EXPECT_EQ(pool->live(), 2u);
    EXPECT_EQ(pool->allocation_count(), 2u);
    EXPECT_EQ(pool->free_count(), 3u);
    EXPECT_EQ(pool->live_bytes(), 2u + 4u);
    for (const Allocation& a : pool->allocations()) {
        EXPECT_FALSE(a.freed);
        EXPECT_EQ(pool->block_size(a.block), a.size);
    }
    EXPECT_EQ(pool->block_flags(blocks[3]), POOL_FLAG_ARRAY);
    release(pool, blocks[3]);
    release(pool, blocks[1]);
    EXPECT_EQ(pool->allocation_count(), 0u);
    EXPECT_EQ(pool->live(), 0u);
    EXPECT_TRUE(pool->errors().empty());

    release(pool, blocks[1]);  // without history a double free looks like a foreign pointer
    ASSERT_EQ(pool->errors().size(), 1u);
    EXPECT_NE(pool->errors()[0].find("never gave out"), std::string::npos) << pool->errors()[0];
}

// ---- Allocation faults ---------------------------------------------------------------------------------

TEST_F(SimHostTest, NthAllocationFailsCountingFromNowAcrossPools) {
    Pool* a = make_pool("a");
    Pool* b = make_pool("b");
    allocate(a, 1);  // attempts before the fault is set do not count towards it
    host.fail_allocation_at(3);
    EXPECT_NE(allocate(a, 1), nullptr);
    EXPECT_NE(allocate(b, 1), nullptr);
    EXPECT_EQ(allocate(b, 1), nullptr);
    EXPECT_NE(allocate(b, 1), nullptr);  // one attempt only
    EXPECT_EQ(host.allocations_attempted(), 5u);
    EXPECT_EQ(a->allocation_count() + b->allocation_count(), 4u);
    EXPECT_EQ(host.events().back().op, "pool.allocate");

    host.fail_allocation_at(1);
    host.fail_allocation_at(0);
    EXPECT_NE(allocate(a, 1), nullptr);
}

TEST_F(SimHostTest, SizeAllAndLimitFaults) {
    Pool* pool = make_pool();
    host.fail_allocations_of_size(64);
    EXPECT_EQ(allocate(pool, 64), nullptr);
    EXPECT_EQ(allocate(pool, 64), nullptr);
    EXPECT_NE(allocate(pool, 65), nullptr);
    host.fail_allocations_of_size(UINT64_MAX);
    EXPECT_NE(allocate(pool, 64), nullptr);

    host.fail_all_allocations(true);
    EXPECT_EQ(allocate(pool, 1), nullptr);
    host.clear_faults();
    EXPECT_NE(allocate(pool, 1), nullptr);

    EXPECT_EQ(allocate(pool, UINT64_MAX), nullptr);  // a wrapped size is refused, not wrapped again
    EXPECT_EQ(allocate(pool, UINT64_MAX - kGuardBytes + 1), nullptr);
    EXPECT_EQ(host.allocations_attempted(), 8u);
    EXPECT_EQ(pool->allocation_count(), 3u);
    EXPECT_TRUE(pool->errors().empty());
}

// ---- Options ---------------------------------------------------------------------------------------------

TEST_F(SimHostTest, SessionEncodingFillsOnlyTheLowHalfOfTheSlot) {
    struct Case {
        bool set;
        int32_t id;
    };
    for (Case c : {Case{false, kIso88591}, Case{true, kShiftJis}, Case{true, -2}}) {
        if (c.set) host.set_session_encoding(c.id);
        uint64_t slot = 0xFFFFFFFFFFFFFFFFu;
        ASSERT_EQ(get_option(Host::kSessionEncodingKey, 3, &slot), 0);
        EXPECT_EQ(static_cast<int32_t>(slot & 0xFFFFFFFFu), c.id);
        EXPECT_EQ(slot >> 32, 0xFFFFFFFFu);
    }
    EXPECT_EQ(host.events().back().op, "get_option");
    EXPECT_EQ(host.events().back().text, "VXNLS.OMX_SESSION_CEI");
}

TEST_F(SimHostTest, OptionsNotFoundLeaveTheSlotAlone) {
    uint64_t slot = 77;
    EXPECT_NE(get_option("VXNLS.OMX_SESSION_CE", 3, &slot), 0);
    EXPECT_NE(get_option(Host::kSessionEncodingKey, 2, &slot), 0);
    host.set_option_missing(true);
    EXPECT_NE(get_option(Host::kSessionEncodingKey, 3, &slot), 0);
    host.set_option_missing(false);
    host.remove_option(Host::kSessionEncodingKey);
    EXPECT_NE(get_option(Host::kSessionEncodingKey, 3, &slot), 0);
    EXPECT_EQ(slot, 77u);
    host.set_option("OTHER", 9);
    EXPECT_EQ(get_option("OTHER", 3, &slot), 0);
    EXPECT_EQ(slot, 9u);
}

// ---- Encodings and conversion ----------------------------------------------------------------------------

TEST(EncodingTable, FindsByIdAndByNameIgnoringCase) {
    for (auto [name, id] : std::vector<std::pair<const char*, int32_t>>{{"utf-8", kUtf8},
                                                                        {"iso-8859-1", kIso88591},
                                                                        {"WINDOWS-1252", kWindows1252},
                                                                        {"shift_jis", kShiftJis},
                                                                        {"ibm037", kEbcdic037}}) {
        const EncodingInfo* info = find_encoding(name);
        ASSERT_NE(info, nullptr) << name;
        EXPECT_EQ(info->id, id);
        EXPECT_EQ(find_encoding(id), info);
    }
    EXPECT_EQ(find_encoding("KOI8-R"), nullptr);
    EXPECT_EQ(find_encoding(999), nullptr);
    EXPECT_THROW(convert("x", 999, kUtf8), std::invalid_argument);
}

TEST_F(SimHostTest, NeedsConversionTruthTable) {
    struct Case {
        int64_t from, to;
        uint32_t needs;
    };
    const Case cases[] = {
        {kUtf8, kUtf8, 0},
        {kUtf8, kUtf8Alias, 0},
        {kUtf8Alias, kUtf8, 0},
        {kIso88591, kIso88591, 0},
        {kIso88591, kUtf8, 1},
        {kUtf8, kIso88591, 1},
        {kWindows1252, kIso88591, 1},
        {kEbcdic037, kUtf8, 1},
        {kShiftJis, kUtf8Alias, 1},
        {999, kUtf8, 1},
        {999, 999, 1},
        {int64_t{kUtf8} + (int64_t{1} << 32), kUtf8, 1},
    };
    for (uint32_t noise : {0u, 0xABCDEF00u}) {
        host.needs_conversion_noise(noise);
        for (const Case& c : cases) {
            const uint32_t result = host.nls()->needs_conversion(host.nls(), c.from, c.to, 0);
            EXPECT_EQ(result & 0xFFu, c.needs) << c.from << " -> " << c.to;
            EXPECT_EQ(result & ~0xFFu, noise);
        }
    }
    host.clear_faults();
    EXPECT_EQ(host.nls()->needs_conversion(host.nls(), kIso88591, kUtf8, 0), 1u);
}

// Native bytes written out by hand, so a wrong converter name or table entry shows.
struct RoundTrip {
    int32_t id;
    std::string utf8;
    std::string native;
};

class RoundTripTest : public SimHostTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(RoundTripTest, MeasureAndTranscodeAgreeBothWays) {
    const RoundTrip& c = GetParam();
    EXPECT_EQ(measure(kUtf8, c.utf8, c.id), c.native.size());
    EXPECT_EQ(measure(c.id, c.native, kUtf8), c.utf8.size());
    EXPECT_EQ(convert(c.utf8, kUtf8, c.id), c.native);

    HostTranscoder* to_native = make_transcoder(kUtf8, c.id);
    HostTranscoder* to_utf8 = make_transcoder(c.id, kUtf8);
    ASSERT_NE(to_native, nullptr);
    ASSERT_NE(to_utf8, nullptr);
    for (int repeat = 0; repeat < 2; ++repeat) {  // a reused transcoder starts afresh
        Output native = transcode(to_native, c.utf8, c.native.size());
        EXPECT_EQ(native.status, 0);
        EXPECT_EQ(native.bytes, c.native);
        Output back = transcode(to_utf8, c.native, c.utf8.size() + 10);
        EXPECT_EQ(back.status, 0);
        EXPECT_EQ(back.written, c.utf8.size());
        EXPECT_EQ(back.bytes, c.utf8);
        EXPECT_TRUE(native.tail_intact && back.tail_intact);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, RoundTripTest,
    ::testing::Values(RoundTrip{kIso88591,
                                "Gr\xC3\xBC\xC3\x9F"
                                "e",
                                "Gr\xFC\xDF"
                                "e"},
                      RoundTrip{kWindows1252, "\xE2\x82\xAC 5 \xE2\x80\x93 \xC3\xA9", "\x80 5 \x96 \xE9"},
                      // 日本語ｶﾅ: double-byte kanji and single-byte half-width katakana
                      RoundTrip{kShiftJis, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xEF\xBD\xB6\xEF\xBE\x85",
                                "\x93\xFA\x96\x7B\x8C\xEA\xB6\xC5"},
                      // brackets sit where code page 037 differs from other EBCDIC pages
                      RoundTrip{kEbcdic037, "Hello, [\xC3\xA4]!", "\xC8\x85\x93\x93\x96\x6B\x40\xBA\x43\xBB\x5A"},
                      RoundTrip{kUtf8Alias, "\xC3\xA4\xE2\x82\xAC", "\xC3\xA4\xE2\x82\xAC"}, RoundTrip{kUtf8, "", ""}));

TEST_F(SimHostTest, NullTextOfLengthZeroGivesZeroBytes) {
    uint64_t count = 99;
    host.nls()->measure(host.nls(), kIso88591, nullptr, 0, kUtf8, &count);
    EXPECT_EQ(count, 0u);
    HostTranscoder* t = make_transcoder(kIso88591, kUtf8);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    uint64_t written = 99;
    uint32_t run = 1;
    EXPECT_EQ(t->transcode(t, nullptr, 0, buffer, sizeof buffer, &written, &run), 0);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(host.errors().empty());
}

TEST_F(SimHostTest, TranscodeThatDoesNotFitWritesWholeCharactersOnly) {
    struct Case {
        int32_t from, to;
        std::string text;
        uint64_t capacity;
        std::string expected;
    };
    const Case cases[] = {
        {kUtf8, kShiftJis, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 5, "\x93\xFA\x96\x7B"},
        {kIso88591, kUtf8, "Gr\xFC\xDF", 3, "Gr"},
        {kIso88591, kUtf8, "a\xFC", 2, "a"},
        {kIso88591, kUtf8, "Gr\xFC\xDF", 4, "Gr\xC3\xBC"},
        {kUtf8, kIso88591, "abc", 0, ""},
    };
    for (const Case& c : cases) {
        HostTranscoder* t = make_transcoder(c.from, c.to);
        Output out = transcode(t, c.text, c.capacity);
        EXPECT_EQ(out.status, 2) << c.capacity;
        EXPECT_EQ(out.written, c.expected.size());
        EXPECT_EQ(out.bytes, c.expected);
        EXPECT_TRUE(out.tail_intact);
    }
}

TEST_F(SimHostTest, InvalidInputIsSubstitutedNotRejected) {
    const std::string bad_utf8 =
        "a\xFF"
        "b\xE2\x82";  // a stray byte and a truncated sequence
    const std::string expected = convert(bad_utf8, kUtf8, kIso88591);
    EXPECT_EQ(expected.size(), 4u);
    EXPECT_EQ(expected.substr(0, 1), "a");
    EXPECT_EQ(measure(kUtf8, bad_utf8, kIso88591), expected.size());
    Output out = transcode(make_transcoder(kUtf8, kIso88591), bad_utf8, 16);
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.bytes, expected);
    // Through UTF-8 to UTF-8 invalid bytes become U+FFFD, so the size changes.
    EXPECT_EQ(measure(kUtf8, "\xFF", kUtf8Alias), 3u);
}

// ---- NLS faults and hostile answers ----------------------------------------------------------------------

TEST_F(SimHostTest, TranscoderCreationFaultsAndReleaseOrder) {
    ASSERT_NE(make_transcoder(kIso88591, kUtf8), nullptr);  // before the fault: not counted
    host.fail_create_transcoder(2);
    HostTranscoder* first = make_transcoder(kIso88591, kUtf8);
    EXPECT_EQ(make_transcoder(kUtf8, kIso88591), nullptr);
    HostTranscoder* third = make_transcoder(kUtf8, kIso88591);
    EXPECT_NE(first, nullptr);
    EXPECT_NE(third, nullptr);
    EXPECT_EQ(make_transcoder(kUtf8, 999), nullptr);
    EXPECT_EQ(make_transcoder(999, kUtf8), nullptr);
    EXPECT_EQ(host.transcoders_created(), 3u);

    third->destroy(third);
    first->destroy(first);
    EXPECT_EQ(host.transcoders_live(), 1u);
    const Transcoder* t1 = Transcoder::from_record(first);
    const Transcoder* t3 = Transcoder::from_record(third);
    EXPECT_LT(t3->destroyed_serial(), t1->destroyed_serial());
    EXPECT_EQ(t1->from(), kIso88591);
    EXPECT_EQ(t1->to(), kUtf8);

    first->destroy(first);
    EXPECT_EQ(transcode(first, "a", 4).status, 3);
    EXPECT_EQ(host.errors().size(), 2u);
}

TEST_F(SimHostTest, InjectedTranscodeFailureWritesAPrefix) {
    HostTranscoder* t = make_transcoder(kIso88591, kUtf8);
    const std::string text =
        "Gr\xFC\xDF"
        "e";                 // 7 bytes in UTF-8
    transcode(t, text, 16);  // before the fault: not counted
    host.fail_transcode(2, 3);
    EXPECT_EQ(transcode(t, text, 16).status, 0);
    Output failed = transcode(t, text, 16);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.written, 3u);
    EXPECT_EQ(failed.bytes, "Gr\xC3");  // raw prefix, even mid-character
    EXPECT_EQ(transcode(t, text, 16).status, 0);

    host.fail_transcode(1, 100);  // bounded by capacity, then by the converted length
    Output capped = transcode(t, text, 5);
    EXPECT_EQ(capped.status, 1);
    EXPECT_EQ(capped.written, 5u);
    host.fail_transcode(1, 100);
    EXPECT_EQ(transcode(t, text, 50).written, 7u);
    EXPECT_EQ(host.transcode_calls(), 6u);
}

TEST_F(SimHostTest, HostileReportsAndClearFaults) {
    HostTranscoder* t = make_transcoder(kIso88591, kUtf8);
    const std::string text =
        "Gr\xFC\xDF"
        "e";

    host.transcode_overreport(5);
    Output over = transcode(t, text, 7);
    EXPECT_EQ(over.status, 0);
    EXPECT_EQ(over.written, 12u);
    EXPECT_TRUE(over.tail_intact);

    host.measure_underreport(3);
    EXPECT_EQ(measure(kIso88591, text, kUtf8), 4u);
    host.measure_underreport(100);
    EXPECT_EQ(measure(kIso88591, text, kUtf8), 0u);
    host.measure_leaves_count_unset(true);
    EXPECT_EQ(measure(kIso88591, text, kUtf8), 12345u);  // the helper's preset value
    EXPECT_EQ(host.events().back().ints[3], -1);

    host.clear_faults();
    EXPECT_EQ(measure(kIso88591, text, kUtf8), 7u);
    EXPECT_EQ(transcode(t, text, 7).written, 7u);
    EXPECT_EQ(host.measure_calls(), 4u);
}

// ---- Event log -------------------------------------------------------------------------------------------

TEST_F(SimHostTest, EventLogRecordsOperationsAndArguments) {
    Pool* pool = make_pool("logged");
    void* block = allocate(pool, 12, POOL_FLAG_ARRAY);
    measure(kIso88591, "ab\xFC", kUtf8);
    HostTranscoder* t = make_transcoder(kIso88591, kUtf8);
    transcode(t, "ab\xFC", 8);
    t->destroy(t);
    release(pool, block);
    destroy(pool);

    std::vector<std::string> ops;
    for (const Host::Event& e : host.events()) ops.push_back(e.op);
    EXPECT_EQ(ops, (std::vector<std::string>{"create_pool", "pool.allocate", "measure", "create_transcoder",
                                             "transcode", "transcoder.destroy", "pool.free", "pool.destroy"}));
    const auto& ev = host.events();
    EXPECT_EQ(ev[1].ints, (std::vector<int64_t>{12, POOL_FLAG_ARRAY}));
    EXPECT_EQ(ev[1].object, block);
    EXPECT_EQ(ev[1].pool, pool);
    EXPECT_EQ(ev[2].ints, (std::vector<int64_t>{kIso88591, kUtf8, 3, 4, 0}));
    EXPECT_EQ(ev[2].text, "ab\xFC");
    EXPECT_EQ(ev[3].object, t);
    EXPECT_EQ(ev[4].ints, (std::vector<int64_t>{3, 8, 4, 0, 1, kIso88591, kUtf8}));
    EXPECT_EQ(ev[6].ints, std::vector<int64_t>{12});
    EXPECT_EQ(ev[6].object, block);

    host.clear_events();
    host.set_logging(false);
    allocate(make_pool(), 1);
    EXPECT_TRUE(host.events().empty());
    EXPECT_EQ(host.allocations_attempted(), 2u);  // counting goes on without the log
}

}  // namespace
}  // namespace simhost
