#include "app/argument_vector.h"

namespace ksv {

ArgumentVector::ArgumentVector(std::vector<std::string> arguments)
    : m_arguments(std::move(arguments)) {
    for (std::string& argument : m_arguments)
        m_pointers.push_back(argument.data());
    m_pointers.push_back(nullptr);
    m_count = static_cast<int>(m_arguments.size());
}

} // namespace ksv
