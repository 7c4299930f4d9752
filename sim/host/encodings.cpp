// The host's table of encoding ids and the direct conversion helper used for test expectations.

#include <unicode/ucnv.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <stdexcept>

#include "sim/host/icu_convert.h"
#include "sim/host/sim_host.h"

namespace simhost {
namespace {

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// ICU's own name of the converter an id opens, so aliases of one encoding compare equal.
const std::string* resolved_name(int32_t id) {
    static const std::map<int32_t, std::string> names = [] {
        std::map<int32_t, std::string> result;
        for (const EncodingInfo& info : encodings()) {
            UErrorCode status = U_ZERO_ERROR;
            UConverter* converter = ucnv_open(info.icu_name, &status);
            if (U_SUCCESS(status)) result[info.id] = ucnv_getName(converter, &status);
            ucnv_close(converter);
        }
        return result;
    }();
    auto it = names.find(id);
    return it == names.end() ? nullptr : &it->second;
}

struct ConverterCloser {
    void operator()(UConverter* c) const { detail::close_converter(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

}  // namespace

const std::vector<EncodingInfo>& encodings() {
    static const std::vector<EncodingInfo> table = {
        {kUtf8, "UTF-8", "UTF-8"},
        {kIso88591, "ISO-8859-1", "ISO-8859-1"},
        {kWindows1252, "windows-1252", "windows-1252"},
        {kShiftJis, "Shift_JIS", "ibm-943_P15A-2003"},
        {kEbcdic037, "IBM037", "ibm-37"},
        {kUtf8Alias, "IBM-1208", "UTF-8"},
    };
    return table;
}

const EncodingInfo* find_encoding(int32_t id) {
    for (const EncodingInfo& info : encodings()) {
        if (info.id == id) return &info;
    }
    return nullptr;
}

const EncodingInfo* find_encoding(std::string_view name) {
    for (const EncodingInfo& info : encodings()) {
        if (equal_ignoring_case(info.name, name)) return &info;
    }
    return nullptr;
}

bool same_encoding(int32_t a, int32_t b) {
    const std::string* name_a = resolved_name(a);
    const std::string* name_b = resolved_name(b);
    return name_a != nullptr && name_b != nullptr && *name_a == *name_b;
}

std::string convert(std::string_view text, int32_t from_id, int32_t to_id) {
    ConverterPtr source(detail::open_converter(from_id));
    ConverterPtr target(detail::open_converter(to_id));
    if (!source || !target) throw std::invalid_argument("unknown host encoding id");
    std::string out;
    uint64_t count = 0;
    if (!detail::convert_all(source.get(), target.get(), text.data(), text.size(), &out, &count)) {
        throw std::runtime_error("ICU conversion failed");
    }
    return out;
}

}  // namespace simhost
