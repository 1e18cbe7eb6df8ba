#pragma once

// Turns fuzzer bytes into UTF-16 text: read as Latin-1 when the first byte is even, so that
// short ASCII inputs reach every corner of the number rules, else as raw UTF-16 code units,
// lone surrogates and all.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tervanel::fuzz {

inline std::u16string textOf(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    if (size == 0)
        return text;
    const bool latin1 = data[0] % 2 == 0;
    ++data;
    --size;
    if (latin1) {
        text.assign(data, data + size);
        return text;
    }
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    return text;
}

} // namespace tervanel::fuzz
