#include "support/FuzzInput.h"

#include <algorithm>

uint8_t FuzzInput::byte(uint8_t fallback) {
    return empty() ? fallback : data_[pos_++];
}

QByteArray FuzzInput::take(int count) {
    const std::size_t n = std::min(std::size_t(std::max(count, 0)), size_ - std::min(pos_, size_));
    QByteArray bytes(reinterpret_cast<const char*>(data_ + pos_), int(n));
    pos_ += n;
    return bytes;
}

QByteArray FuzzInput::chunk() {
    if (empty()) return {};
    return take(byte());
}

QByteArray FuzzInput::rest() {
    return take(int(std::min<std::size_t>(size_ - std::min(pos_, size_), 1 << 30)));
}
