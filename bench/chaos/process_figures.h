#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ksv::chaos {

// What the process holds now, from /proc/self; RSS after handing freed heap back.
struct ProcessFigures {
    uint64_t rssBytes = 0;
    size_t fileDescriptors = 0;
    size_t threads = 0;
};

ProcessFigures MeasureProcess();

// Regular files below `folder`, links not followed.
size_t CountFiles(const std::string& folder);

} // namespace ksv::chaos
