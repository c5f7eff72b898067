#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ksv {

// How writing a whole file went; `error` is the platform's error number of the failed step.
struct FileWriteResult {
    enum class Step { None, Open, Write };
    Step failed = Step::None;
    int error = 0;

    bool Ok() const { return failed == Step::None; }
};

// Creates or truncates `path` and writes `bytes` as they are.
FileWriteResult WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace ksv
