#pragma once

#include <string>
#include <vector>

namespace ksv {

// The program's arguments as the argc and argv that execv and a Qt application object take;
// Qt keeps both by reference, so this object must outlive it.
class ArgumentVector {
public:
    explicit ArgumentVector(std::vector<std::string> arguments);
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    int& Count() { return m_count; }
    char** Values() { return m_pointers.data(); }

private:
    std::vector<std::string> m_arguments;
    std::vector<char*> m_pointers; // ends with a null, as argv does
    int m_count = 0;
};

} // namespace ksv
