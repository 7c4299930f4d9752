#include "unicode_text.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace jwsim {
namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// Each conversion asks ICU for the length first, then converts into a string of that length; with
// that, ICU fails only when it runs out of memory, and the result is then empty.
bool preflight_ok(UErrorCode error) { return error == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(error); }

std::u16string to_utf16(std::string_view utf8) {
    auto size = static_cast<int32_t>(utf8.size());
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8WithSub(nullptr, 0, &length, utf8.data(), size, kReplacement, nullptr, &error);
    if (!preflight_ok(error)) return {};
    std::u16string utf16(static_cast<size_t>(length), u'\0');
    error = U_ZERO_ERROR;
    u_strFromUTF8WithSub(utf16.data(), length, nullptr, utf8.data(), size, kReplacement, nullptr, &error);
    return U_SUCCESS(error) ? utf16 : std::u16string();
}

std::string to_utf8(const std::u16string& utf16) {
    auto size = static_cast<int32_t>(utf16.size());
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &length, utf16.data(), size, &error);
    if (!preflight_ok(error)) return {};
    std::string utf8(static_cast<size_t>(length), '\0');
    error = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), length, nullptr, utf16.data(), size, &error);
    return U_SUCCESS(error) ? utf8 : std::string();
}

}  // namespace

std::string upper_case(std::string_view utf8) {
    std::u16string source = to_utf16(utf8);
    auto size = static_cast<int32_t>(source.size());
    const char* root_locale = "";
    UErrorCode error = U_ZERO_ERROR;
    int32_t length = u_strToUpper(nullptr, 0, source.data(), size, root_locale, &error);
    if (!preflight_ok(error)) return {};
    std::u16string upper(static_cast<size_t>(length), u'\0');
    error = U_ZERO_ERROR;
    u_strToUpper(upper.data(), length, source.data(), size, root_locale, &error);
    return U_SUCCESS(error) ? to_utf8(upper) : std::string();
}

int32_t character_count(std::string_view utf8) {
    std::u16string utf16 = to_utf16(utf8);
    return u_countChar32(utf16.data(), static_cast<int32_t>(utf16.size()));
}

}  // namespace jwsim
