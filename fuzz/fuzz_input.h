// Taking typed values off the front of a fuzzer's input, and a check that
// stops the run with a message (sanitizers stop it for memory faults; this
// stops it for broken promises).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzz {

class Input
{
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <class T>
    T Take()
    {
        T value{};
        const size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    // Up to `most` bytes as text (stops at a zero byte).
    std::string Text(size_t most)
    {
        size_t n = 0;
        while (n < size_ && n < most && data_[n] != 0)
            ++n;
        std::string text(reinterpret_cast<const char*>(data_), n);
        const size_t used = n < size_ ? n + 1 : n;
        data_ += used;
        size_ -= used;
        return text;
    }
    const uint8_t* Rest() const { return data_; }
    size_t Left() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
};

inline void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
