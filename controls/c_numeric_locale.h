#pragma once

#include <locale.h>

namespace ksv {

// Makes the C locale current for this thread while in scope, so that printf and strtod use
// '.' as the decimal point even after the application has adopted the user's locale.
class CNumericScope {
public:
    CNumericScope();
    ~CNumericScope();
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t m_previous;
};

} // namespace ksv
