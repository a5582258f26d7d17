#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// The fuzzer's bytes, taken from the front as a run needs them. Once they are
// used up every read gives its fallback, so a run always ends.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    uint8_t byte(uint8_t fallback = 0);
    // Up to `count` bytes.
    QByteArray take(int count);
    // One length byte, then that many bytes (fewer at the end of the input).
    QByteArray chunk();
    QByteArray rest();

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};
