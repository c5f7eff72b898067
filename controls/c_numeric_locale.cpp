#include "controls/c_numeric_locale.h"

namespace ksv {
namespace {

locale_t CLocale() {
    // Created once and kept for the life of the process.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

} // namespace

CNumericScope::CNumericScope() : m_previous(static_cast<locale_t>(0)) {
    locale_t c = CLocale();
    if (c != static_cast<locale_t>(0))
        m_previous = uselocale(c);
}

CNumericScope::~CNumericScope() {
    if (m_previous != static_cast<locale_t>(0))
        uselocale(m_previous);
}

} // namespace ksv
