#include "traffic/monitor_rows.h"

#include "traffic/frame_summary.h"

#include <algorithm>

namespace ksv {
namespace {

constexpr size_t kMaxKindNames = 64;

} // namespace

MonitorRows::MonitorRows(size_t capacity) : m_capacity(std::max<size_t>(capacity, 1)) {}

MonitorRows::Change MonitorRows::Plan(const std::vector<FramePtr>& frames) const {
    Change change;
    change.firstNew = frames.size() > m_capacity ? frames.size() - m_capacity : 0;
    const size_t incoming = frames.size() - change.firstNew;
    change.dropped =
        m_all.size() + incoming > m_capacity ? m_all.size() + incoming - m_capacity : 0;
    // The shown rows are a subsequence of all rows: those among the dropped lead the list.
    for (size_t i = 0; i < change.dropped && change.removedFront < m_shown.size(); ++i) {
        if (m_all[i] == m_shown[change.removedFront]) {
            ++change.removedFront;
        }
    }
    for (size_t i = change.firstNew; i < frames.size(); ++i) {
        change.appended += Shows(*frames[i]) ? 1 : 0;
    }
    return change;
}

void MonitorRows::DropOldest(const Change& change) {
    m_all.erase(m_all.begin(), m_all.begin() + static_cast<std::ptrdiff_t>(change.dropped));
    m_shown.erase(m_shown.begin(),
                  m_shown.begin() + static_cast<std::ptrdiff_t>(change.removedFront));
}

void MonitorRows::AppendNewest(const std::vector<FramePtr>& frames, const Change& change) {
    for (size_t i = change.firstNew; i < frames.size(); ++i) {
        NoteKind(*frames[i]);
        m_all.push_back(frames[i]);
        if (Shows(*frames[i])) {
            m_shown.push_back(frames[i]);
        }
    }
}

MonitorRows::Change MonitorRows::Append(const std::vector<FramePtr>& frames) {
    const Change change = Plan(frames);
    DropOldest(change);
    AppendNewest(frames, change);
    return change;
}

void MonitorRows::SetFilter(const std::string& kindName) {
    m_filter = kindName;
    m_shown.clear();
    for (const FramePtr& frame : m_all) {
        if (Shows(*frame)) {
            m_shown.push_back(frame);
        }
    }
}

void MonitorRows::Clear() {
    m_all.clear();
    m_shown.clear();
}

bool MonitorRows::Shows(const CapturedFrame& frame) const {
    return m_filter.empty() || FrameKindName(frame) == m_filter;
}

void MonitorRows::NoteKind(const CapturedFrame& frame) {
    if (m_kindNames.size() >= kMaxKindNames) {
        return; // a device sending every kind number does not grow the filter without end
    }
    std::string name = FrameKindName(frame);
    if (std::find(m_kindNames.begin(), m_kindNames.end(), name) == m_kindNames.end()) {
        m_kindNames.push_back(std::move(name));
    }
}

} // namespace ksv
