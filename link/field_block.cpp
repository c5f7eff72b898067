#include "link/field_block.h"

#include "link/byte_copy.h"
#include "link/frame.h"
#include "platform/ansi_codepage.h"

#include <algorithm>

namespace ksv {

FieldBlock::FieldBlock(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4) {
        return;
    }
    const uint32_t count = GetU32(data);
    const size_t tagCount = std::min<size_t>(count, size - 4);
    const uint8_t* tags = data + 4;
    size_t offset = 4 + tagCount;
    for (size_t i = 0; i < tagCount; ++i) {
        if (size - offset < 4) {
            break;
        }
        const uint32_t length = GetU32(data + offset);
        offset += 4;
        if (length > size - offset) {
            break;
        }
        m_entries.push_back(Entry{static_cast<char>(tags[i]), data + offset, length});
        offset += length;
    }
    // A tag listed but without its entry still hides earlier entries of the same letter.
    for (size_t i = m_entries.size(); i < tagCount; ++i) {
        m_entries.push_back(Entry{static_cast<char>(tags[i]), nullptr, 0});
    }
}

const uint8_t* FieldBlock::FieldData(char letter, uint32_t* length) const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->letter != letter) {
            continue;
        }
        if (it->data == nullptr) {
            return nullptr;
        }
        if (length) {
            *length = it->length;
        }
        return it->data;
    }
    return nullptr;
}

bool FieldBlock::HasField(char letter) const {
    return FieldData(letter, nullptr) != nullptr;
}

uint32_t FieldBlock::StringLength(char letter, bool wide) const {
    uint32_t length = 0;
    if (FieldData(letter, &length) == nullptr) {
        return 0;
    }
    return wide ? length / 2 : length;
}

bool FieldBlock::ReadString(std::u16string& destination, char letter, bool wide) const {
    uint32_t length = 0;
    const uint8_t* data = FieldData(letter, &length);
    if (data == nullptr) {
        return false;
    }
    destination = wide ? WideFromBytes(data, length) : AnsiToWide(data, length);
    return true;
}

bool FieldBlock::ReadNumber(void* destination, size_t width, char letter) const {
    uint32_t length = 0;
    const uint8_t* data = FieldData(letter, &length);
    if (data == nullptr) {
        return false;
    }
    CopyBytes(destination, data, std::min<size_t>(length, width));
    return true;
}

std::u16string WideFromBytes(const uint8_t* bytes, size_t length) {
    std::u16string out(length / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(GetU16(bytes + 2 * i));
    }
    return out;
}

} // namespace ksv
