#include "bench_texts.h"

#include <cstdio>

namespace vxbench {

std::string short_utf8(int n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07d", n % 10000000);
    return std::string(
               "Pr\xC3\xBC"
               "fung-") +
           digits;
}

std::vector<std::string> short_utf8_texts(int first, int count) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) texts.push_back(short_utf8(first + i));
    return texts;
}

std::string long_text(const Session& session, bool in_session_encoding) {
    const std::string utf8_piece =
        "Gr\xC3\xB6\xC3\x9F"
        "e und L\xC3\xA4nge der Ausgabe; ";
    const std::string piece = in_session_encoding ? session.session_text(utf8_piece) : utf8_piece;
    std::string text;
    text.reserve(kLongTextBytes);
    while (text.size() + piece.size() <= kLongTextBytes) text += piece;
    text.append(kLongTextBytes - text.size(), '.');
    return text;
}

}  // namespace vxbench
