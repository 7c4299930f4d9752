#include "icu_convert.h"

#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <climits>
#include <vector>

#include "sim/host/sim_host.h"

namespace simhost::detail {

UConverter* open_converter(int32_t id) {
    const EncodingInfo* info = find_encoding(id);
    if (info == nullptr) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(info->icu_name, &status);
    if (U_FAILURE(status)) {
        ucnv_close(converter);
        return nullptr;
    }
    return converter;
}

void close_converter(UConverter* converter) { ucnv_close(converter); }

bool convert_all(UConverter* source, UConverter* target, const char* text, size_t length, std::string* out,
                 uint64_t* count) {
    *count = 0;
    if (length == 0) return true;
    // Converting through a fixed chunk keeps measuring free of allocation; the pivot carries UTF-16 between
    // the two converters across chunks.
    UChar pivot[1024];
    UChar* pivot_source = pivot;
    UChar* pivot_target = pivot;
    char chunk[4096];
    const char* input = text;
    UBool reset = true;
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        char* output = chunk;
        ucnv_convertEx(target, source, &output, chunk + sizeof chunk, &input, text + length, pivot, &pivot_source,
                       &pivot_target, pivot + sizeof pivot / sizeof pivot[0], reset, true, &status);
        reset = false;
        const size_t produced = static_cast<size_t>(output - chunk);
        *count += produced;
        if (out != nullptr) out->append(chunk, produced);
        if (status == U_BUFFER_OVERFLOW_ERROR) continue;
        return U_SUCCESS(status);
    }
}

size_t whole_character_prefix(UConverter* source, UConverter* target, const char* text, size_t length,
                              uint64_t capacity) {
    if (length == 0 || capacity == 0 || length > INT32_MAX / 2) return 0;
    // Only taken when the text does not fit, so clarity beats speed: back to UTF-16, then one code point at a
    // time. The host's encodings are stateless, so the pieces concatenate to the whole conversion.
    UErrorCode status = U_ZERO_ERROR;
    const int32_t units = ucnv_toUChars(source, nullptr, 0, text, static_cast<int32_t>(length), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return 0;
    std::vector<UChar> utf16(static_cast<size_t>(units) + 1);
    status = U_ZERO_ERROR;
    ucnv_toUChars(source, utf16.data(), units + 1, text, static_cast<int32_t>(length), &status);
    if (U_FAILURE(status)) return 0;

    size_t fitted = 0;
    int32_t i = 0;
    while (i < units) {
        const int32_t start = i;
        UChar32 c;
        U16_NEXT(utf16.data(), i, units, c);
        (void)c;
        char bytes[32];
        status = U_ZERO_ERROR;
        const int32_t n = ucnv_fromUChars(target, bytes, sizeof bytes, utf16.data() + start, i - start, &status);
        if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) break;
        if (fitted + static_cast<size_t>(n) > capacity) break;
        fitted += static_cast<size_t>(n);
    }
    return fitted;
}

}  // namespace simhost::detail
