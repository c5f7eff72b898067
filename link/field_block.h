#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// The optional lettered fields after a control record's value: a u32 count k, k tag letters,
// then k entries of u32 length L and L bytes. Every lookup stays inside the bytes given; a tag
// whose entry runs past them counts as absent, and so do all tags after it. When a letter
// occurs more than once the last occurrence wins.
class FieldBlock {
public:
    FieldBlock() = default;
    FieldBlock(const uint8_t* data, size_t size);

    bool HasField(char letter) const;
    // Characters the string field holds (wide: L/2), or 0 when absent.
    uint32_t StringLength(char letter, bool wide) const;
    // Wide: L/2 UTF-16LE characters; narrow: all L bytes converted. False when absent.
    bool ReadString(std::u16string& destination, char letter, bool wide) const;
    // The first min(L, width) bytes into `destination`; its other bytes stay. False when absent.
    bool ReadNumber(void* destination, size_t width, char letter) const;
    // The field's bytes, or null when absent.
    const uint8_t* FieldData(char letter, uint32_t* length) const;

private:
    struct Entry {
        char letter;
        const uint8_t* data;
        uint32_t length;
    };

    std::vector<Entry> m_entries; // only the entries lying inside the block
};

// UTF-16LE bytes to characters; an odd last byte is dropped.
std::u16string WideFromBytes(const uint8_t* bytes, size_t length);

} // namespace ksv
