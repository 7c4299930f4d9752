// Turns a fuzzer's input into decisions: small integers, choices from a table and texts. Past the end
// of the input every read answers zero, so any input, even an empty one, is a complete program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace vxfuzz {

class InputReader {
  public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t u32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
        return v;
    }
    // A number in [0, n).
    uint32_t below(uint32_t n) { return n == 0 ? 0 : byte() % n; }
    bool chance(uint32_t one_in) { return below(one_in) == 0; }
    template <typename T, size_t N>
    const T& pick(const T (&table)[N]) {
        return table[below(static_cast<uint32_t>(N))];
    }

    // A NUL-terminated text of any other bytes, kept alive in `keep`: null, empty, short, or long
    // (a run of its bytes repeated, so a few input bytes make a text of some kilobytes).
    const char* text(std::deque<std::string>& keep) {
        const uint8_t kind = byte() % 8;
        if (kind == 0) return nullptr;
        if (kind == 1) return keep.emplace_back().c_str();
        std::string t;
        const size_t length = byte() % 24;
        for (size_t i = 0; i < length && !empty(); ++i) {
            const uint8_t b = byte();
            t.push_back(static_cast<char>(b == 0 ? 'x' : b));
        }
        if (kind == 7 && !t.empty()) {
            const size_t repeat = 1 + byte() % 200;
            std::string long_text;
            for (size_t i = 0; i < repeat; ++i) long_text += t;
            t = std::move(long_text);
        }
        return keep.emplace_back(std::move(t)).c_str();
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace vxfuzz
