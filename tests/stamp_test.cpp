// The build stamp as a host reads it through vxbldmk1, and its marker texts as they sit in the built file.
// The tests read the stamp as 26 pointer-sized words and state each field's number themselves.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "support/deliverable.h"

namespace vxtest {
namespace {

constexpr int kFieldCount = 26;
using Words = std::array<uintptr_t, kFieldCount>;

const std::string kHotfixName = "ORB_VERSION_HOTFIX_NUMBER=";
const std::string kImageDescriptionName = "BLDMRK_IMAGE_DESCRIPTION=";

// Calls vxbldmk1 on a record filled with `garbage` and returns the record's words.
Words read_stamp(const Loaded& lib, unsigned char garbage) {
    VersionStamp record;
    std::memset(&record, garbage, sizeof record);
    EXPECT_EQ(lib.vxbldmk1(&record), 0);
    Words words;
    static_assert(sizeof words == sizeof record);
    std::memcpy(words.data(), &record, sizeof record);
    return words;
}

std::string text(const Words& words, int field) {
    if (words[field] == 0) return "<null>";
    return reinterpret_cast<const char*>(words[field]);
}

// The fields of build_date, "Fri Dec 11 09:05:03 CET 2026", at their fixed columns.
struct BuildDate {
    std::tm local{};  // as written, without the zone
    std::string weekday;
    std::string zone;
};

BuildDate parse_build_date(const std::string& date) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    BuildDate parsed;
    parsed.weekday = date.substr(0, 3);
    parsed.local.tm_mon = -1;
    for (int m = 0; m < 12; ++m) {
        if (date.compare(4, 3, kMonths[m]) == 0) parsed.local.tm_mon = m;
    }
    parsed.local.tm_mday = std::stoi(date.substr(8, 2));
    parsed.local.tm_hour = std::stoi(date.substr(11, 2));
    parsed.local.tm_min = std::stoi(date.substr(14, 2));
    parsed.local.tm_sec = std::stoi(date.substr(17, 2));
    parsed.zone = date.substr(20, 3);
    parsed.local.tm_year = std::stoi(date.substr(24, 4)) - 1900;
    return parsed;
}

class StampTest : public ::testing::TestWithParam<Deliverable> {
  protected:
    const Loaded& lib = load(GetParam());
    const Words stamp = read_stamp(lib, 0xA5);
};

TEST_P(StampTest, EveryCallWritesAllFieldsWithTheSameValues) {
    // A field left unwritten would keep the record's earlier contents, which differ between the calls.
    const Words again = read_stamp(lib, 0x5A);
    for (int field = 0; field < kFieldCount; ++field) {
        EXPECT_EQ(stamp[field], again[field]) << "field " << field;
    }
    for (int field = 17; field < kFieldCount; ++field) {
        EXPECT_EQ(stamp[field], 0u) << "field " << field;
    }
}

TEST_P(StampTest, FixedFieldsHoldTheirTexts) {
    const struct {
        int field;
        const char* expected;
    } cases[] = {
        {2, ""}, {4, "cleanser"}, {6, "vxcl"}, {8, ""}, {9, "version"}, {10, "::"}, {11, ""}, {13, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text(stamp, c.field), c.expected) << "field " << c.field;
    }
}

TEST_P(StampTest, UnstampedMarkersAreTheirNameAndBlanksTo65Characters) {
    EXPECT_EQ(text(stamp, 12), kHotfixName + std::string(39, ' '));
    EXPECT_EQ(text(stamp, 14), kImageDescriptionName + std::string(40, ' '));
}

TEST_P(StampTest, BuildValuesHaveTheirLengthAndCharacters) {
    const bool ssl = GetParam().ssl != 0;
    const struct {
        int field;
        size_t length;
        const char* pattern;
    } cases[] = {
        {0, 18, "[0-9A-Z.]*[0-9]{8}"},                                                  // release, ending in a date
        {1, 65, "[^:/]+/[^:/]+(:[^:/]+/[^:/]+){3}"},                                    // build_trees: four area/tree
        {5, ssl ? 8u : 5u, "[A-Za-z]*([0-9][A-Za-z]*\\.|\\.[A-Za-z]*[0-9])[A-Za-z]*"},  // build_code
        {7, 19, "[A-Za-z0-9/-]+"},                                                      // revision_id
        {15, 5, "[a-z]*[0-9][a-z]*"},                                                   // platform
        {16, 28,                                                                        // build_date
         "(Mon|Tue|Wed|Thu|Fri|Sat|Sun) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
         "( [1-9]|[12][0-9]|3[01]) ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9] [A-Za-z]{3} [0-9]{4}"},
    };
    for (const auto& c : cases) {
        const std::string value = text(stamp, c.field);
        EXPECT_EQ(value.size(), c.length) << "field " << c.field << ": \"" << value << '"';
        EXPECT_TRUE(std::regex_match(value, std::regex(c.pattern))) << "field " << c.field << ": \"" << value << '"';
    }
}

TEST_P(StampTest, BuildTimeAndBuildDateAreTheSameMoment) {
    const auto build_time = static_cast<time_t>(static_cast<intptr_t>(stamp[3]));
    const std::string date = text(stamp, 16);
    ASSERT_EQ(date.size(), 28u) << date;
    BuildDate parsed = parse_build_date(date);
    ASSERT_GE(parsed.local.tm_mon, 0) << date;

    // The text is local time: it differs from the UTC moment by the zone's offset, a whole number of
    // quarter hours between UTC-12 and UTC+14, and by nothing in UTC itself.
    const time_t as_if_utc = timegm(&parsed.local);
    const time_t offset = as_if_utc - build_time;
    EXPECT_EQ(offset % 900, 0) << date << " vs " << build_time;
    EXPECT_GE(offset, -12 * 3600) << date << " vs " << build_time;
    EXPECT_LE(offset, 14 * 3600) << date << " vs " << build_time;
    if (parsed.zone == "UTC" || parsed.zone == "GMT") {
        EXPECT_EQ(offset, 0) << date;
    }
    // timegm normalised tm_wday from the date: the weekday written must be that date's.
    static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    EXPECT_EQ(parsed.weekday, kWeekdays[parsed.local.tm_wday]) << date;

    // Tests usually run in the zone the library was built in; then the text is exactly the local time.
    std::tm here{};
    localtime_r(&build_time, &here);
    if (here.tm_zone != nullptr && parsed.zone == here.tm_zone) {
        char expected[64];
        std::strftime(expected, sizeof expected, "%a %b %e %H:%M:%S %Z %Y", &here);
        EXPECT_EQ(date, expected);
    }
}

TEST_P(StampTest, ReleaseEndsInTheDateOfTheBuild) {
    BuildDate parsed = parse_build_date(text(stamp, 16));
    char yyyymmdd[16];
    ASSERT_EQ(std::strftime(yyyymmdd, sizeof yyyymmdd, "%Y%m%d", &parsed.local), 8u);
    const std::string release = text(stamp, 0);
    ASSERT_GE(release.size(), 8u);
    EXPECT_EQ(release.substr(release.size() - 8), yyyymmdd) << release << " built " << text(stamp, 16);
}

TEST_P(StampTest, EachMarkerSitsInTheBuiltFileOnceAsOneText) {
    std::ifstream file(library_path(std::string(GetParam().name) + ".so"), std::ios::binary);
    ASSERT_TRUE(file);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto count = [&bytes](const std::string& needle) {
        int found = 0;
        for (size_t at = bytes.find(needle); at != std::string::npos; at = bytes.find(needle, at + 1)) ++found;
        return found;
    };
    for (const std::string& marker : {text(stamp, 12), text(stamp, 14)}) {
        const std::string name = marker.substr(0, marker.find('=') + 1);
        // Once as the whole 65 characters and their NUL, and the name nowhere else: a stale copy of
        // the marker elsewhere in the file would make writing a value into it ambiguous.
        EXPECT_EQ(count(marker + '\0'), 1) << name;
        EXPECT_EQ(count(name), 1) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, StampTest, ::testing::ValuesIn(kBothDeliverables),
                         [](const auto& built) { return std::string(built.param.name); });

TEST(StampOfBothBuilds, OnlyBuildTimeBuildCodeAndBuildDateMayDiffer) {
    const Words plain = read_stamp(load(kPlain), 0xA5);
    const Words ssl = read_stamp(load(kSsl), 0xA5);
    for (int field = 0; field < kFieldCount; ++field) {
        if (field == 3 || field == 5 || field == 16) continue;
        if (field >= 17) {
            EXPECT_EQ(plain[field], ssl[field]) << "field " << field;
        } else {
            EXPECT_EQ(text(plain, field), text(ssl, field)) << "field " << field;
        }
    }
}

}  // namespace
}  // namespace vxtest
