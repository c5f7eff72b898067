#pragma once

#include <cstdint>

namespace ksv {

// The limits of a Number control, from its flags.
inline constexpr uint32_t kNumberMinimumAppliesBit = 0x00020000;
inline constexpr uint32_t kNumberMaximumAppliesBit = 0x00040000;

// The keypad's entry state: the raw value being typed and what the next key does with it.
// Typing honours only a minimum of 0 or less and a maximum above 0, since the numbers on the
// way to a larger magnitude pass through smaller ones; Up and Down may leave the limits too.
// The control clamps what it takes back.
class NumberEntry {
public:
    NumberEntry(int32_t value, int32_t minimum, int32_t maximum, uint32_t flags);

    void Digit(int digit); // 0..9; others are ignored
    void ClearEntry();     // "CE"
    void Up();
    void Down();
    void ToggleSign(); // "+/-"

    int32_t Value() const { return m_value; }
    // The next first digit makes the number negative; the value shows with a minus until then.
    bool MinusPending() const { return m_minusPending; }

    bool CanToggleSign() const;
    bool CanGoUp() const;
    bool CanGoDown() const;

private:
    bool IsBelowTypingMinimum(int64_t value) const;
    bool IsAboveTypingMaximum(int64_t value) const;

    int32_t m_value;
    int32_t m_minimum;
    int32_t m_maximum;
    bool m_minimumApplies;
    bool m_maximumApplies;
    bool m_replace = true; // the next digit starts a new number
    bool m_minusPending = false;
    int32_t m_digitCount = 0;
};

} // namespace ksv
