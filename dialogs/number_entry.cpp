#include "dialogs/number_entry.h"

#include <cstdlib>
#include <limits>

namespace ksv {
namespace {

constexpr int32_t kMaxDigits = 9;
constexpr int32_t kLargestStep = 999999999;

int32_t DecimalDigits(int32_t value) {
    int64_t magnitude = std::llabs(static_cast<int64_t>(value));
    int32_t digits = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits;
}

bool FitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}

} // namespace

NumberEntry::NumberEntry(int32_t value, int32_t minimum, int32_t maximum, uint32_t flags)
    : m_value(value), m_minimum(minimum), m_maximum(maximum),
      m_minimumApplies((flags & kNumberMinimumAppliesBit) != 0),
      m_maximumApplies((flags & kNumberMaximumAppliesBit) != 0),
      m_digitCount(value != 0 ? DecimalDigits(value) : 0) {}

void NumberEntry::Digit(int digit) {
    if (digit < 0 || digit > 9) {
        return;
    }
    const int32_t old = m_value;
    const bool oldMinus = m_minusPending;
    if (m_replace) {
        ClearEntry();
    }
    // A pending minus belongs to the first non-zero digit, also after typed zeros.
    const bool makeNegative = oldMinus && m_value == 0;
    int64_t next = m_value;
    if (m_digitCount < kMaxDigits) {
        next = next >= 0 ? next * 10 + digit : next * 10 - digit;
        ++m_digitCount;
    }
    if (makeNegative) {
        next = -next;
    }
    if (!FitsInt32(next) || IsBelowTypingMinimum(next) || IsAboveTypingMaximum(next)) {
        next = old;
    }
    m_value = static_cast<int32_t>(next);
    m_minusPending = false;
}

void NumberEntry::ClearEntry() {
    m_value = 0;
    m_digitCount = 0;
    m_replace = false;
    m_minusPending = false;
}

void NumberEntry::Up() {
    if (!CanGoUp()) {
        return;
    }
    if (m_value < kLargestStep) {
        ++m_value;
    }
    m_minusPending = false;
    m_replace = true;
}

void NumberEntry::Down() {
    if (!CanGoDown()) {
        return;
    }
    if (m_value > -kLargestStep) {
        --m_value;
    }
    m_minusPending = false;
    m_replace = true;
}

void NumberEntry::ToggleSign() {
    if (!CanToggleSign()) {
        return;
    }
    if (m_value == 0) {
        m_minusPending = !m_minusPending;
        return;
    }
    // The most negative value has no positive counterpart: it becomes the largest.
    m_value = m_value == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max()
                                                             : -m_value;
}

bool NumberEntry::CanToggleSign() const {
    return !(m_minimumApplies && m_minimum >= 0);
}

bool NumberEntry::CanGoUp() const {
    return !(m_maximumApplies && m_maximum > 0 && m_value >= m_maximum);
}

bool NumberEntry::CanGoDown() const {
    return !(m_minimumApplies && m_minimum <= 0 && m_value <= m_minimum);
}

bool NumberEntry::IsBelowTypingMinimum(int64_t value) const {
    return m_minimumApplies && m_minimum <= 0 && value < m_minimum;
}

bool NumberEntry::IsAboveTypingMaximum(int64_t value) const {
    return m_maximumApplies && m_maximum > 0 && value > m_maximum;
}

} // namespace ksv
