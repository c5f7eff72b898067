#include "process_figures.h"

#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

namespace ksv::chaos {
namespace {

size_t CountEntries(const std::string& folder) {
    std::error_code error;
    size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        ++count;
    }
    return count;
}

} // namespace

ProcessFigures MeasureProcess() {
    malloc_trim(0);
    ProcessFigures figures;
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0;
    uint64_t resident = 0;
    statm >> pages >> resident;
    figures.rssBytes = resident * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    figures.fileDescriptors = CountEntries("/proc/self/fd") - 1; // the listing's own
    figures.threads = CountEntries("/proc/self/task");
    return figures;
}

size_t CountFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        count += it->is_regular_file(error) && !it->is_symlink(error) ? 1 : 0;
    }
    return count;
}

} // namespace ksv::chaos
