// Chart timings, offscreen: the inline and full-screen painters over 4 series x 10 000 rows,
// the GUI thread's share of a core while the dialog's table follows 100 MatrixRows frames a
// second, and saving a 10 000-row, 8-series table.

#include "charts/chart_painter.h"
#include "charts/full_screen_chart.h"
#include "charts/inline_chart.h"
#include "charts/matrix_dlg.h"
#include "charts/table_text.h"
#include "charts/text_file.h"
#include "matrix_builder.h"

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using ksv::MatrixData;

constexpr uint32_t kRows = 10000;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(Ms(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int32_t Sample(uint32_t s, uint32_t i) {
    return static_cast<int32_t>(1000 * s + 400 * std::sin(i / (200.0 + 50 * s)) +
                                60 * std::sin(i * 1.7 + s));
}

void PutDate(MatrixData& m, uint32_t slot, uint32_t second) {
    const ksv::PackedDateTime d = ksv::PackedDateTime::Make(
        2024, 5, 1 + second / 86400, (second / 3600) % 24, (second / 60) % 60, second % 60, 3);
    std::copy(d.bytes.begin(), d.bytes.end(), m.m_pXData.begin() + 8 * slot);
}

// A full ring of dated rows, one a second.
MatrixData LiveMatrix(uint32_t series) {
    MatrixData m;
    m.m_flags = 0x00030000;
    m.m_nCapacity = kRows;
    m.m_nSeries = series;
    m.m_nPoints = static_cast<int32_t>(kRows);
    m.m_xTitle = u"Time";
    m.m_xTemplate = u"%HH%:%mm%:%ss%";
    m.m_yTemplate = u"%% kPa";
    m.m_yExponent = -1;
    m.m_yDecimals = 1;
    m.m_flags |= 0x01000000; // fixed Y notation
    m.m_pXData.assign(8 * kRows, 0);
    for (uint32_t s = 0; s < series; ++s) {
        m.m_pSeriesNames.push_back(u"Series " + std::u16string(1, u'A' + s));
        for (uint32_t i = 0; i < kRows; ++i)
            ksv::AppendLe(m.m_pYData, Sample(s, i), 4);
    }
    for (uint32_t i = 0; i < kRows; ++i)
        PutDate(m, i, i);
    m.m_nYDataSize = static_cast<uint32_t>(m.m_pYData.size());
    return m;
}

void BenchPainters() {
    MatrixData m = LiveMatrix(4);
    const ksv::TextMeasure measure = ksv::ChartTextMeasure();
    const char* styles[] = {"line", "column", "points"};
    for (int style = 0; style < 3; ++style) {
        m.m_appearance = 4 + style;
        QImage small(240, 160, QImage::Format_RGB32);
        const double inlineMs = MedianMs(31, [&] {
            QPainter painter(&small);
            ksv::PaintChartScene(painter, ksv::BuildInlineChart(m, {0, 0, 240, 160}, {}, measure));
        });
        QImage large(1024, 768, QImage::Format_RGB32);
        const double fullMs = MedianMs(31, [&] {
            QPainter painter(&large);
            ksv::PaintChartScene(painter,
                                 ksv::BuildFullScreenChart(m, {0, 0, 1024, 768}, nullptr, measure));
        });
        std::printf("chart %-6s 4 x %u rows: inline 240x160 median %.2f ms (target 8), "
                    "full-screen 1024x768 median %.2f ms (target 16)\n",
                    styles[style], kRows, inlineMs, fullMs);
    }
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// What a MatrixRows entry and the control's update do: the row into its slot, the cursor, then
// a copy of both buffers into the control.
void BenchLiveTable(QApplication& app) {
    MatrixData store = LiveMatrix(4);
    MatrixData shown = store;
    auto* dlg = new CMatrixDlg(&shown, true, nullptr);
    dlg->resize(480, 640);
    dlg->show();
    app.processEvents();

    uint32_t written = kRows;
    int frames = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (int r = 0; r < 10; ++r, ++written) {
            const uint32_t slot = written % kRows;
            for (uint32_t s = 0; s < store.m_nSeries; ++s) {
                std::vector<uint8_t> cell;
                ksv::AppendLe(cell, Sample(s, written), 4);
                std::copy(cell.begin(), cell.end(),
                          store.m_pYData.begin() + 4 * (kRows * s + slot));
            }
            PutDate(store, slot, written);
            store.m_nPoints = -static_cast<int32_t>((written + 1) % kRows);
        }
        shown.m_pXData = store.m_pXData;
        shown.m_pYData = store.m_pYData;
        shown.m_nPoints = store.m_nPoints;
        dlg->RefreshTable();
        ++frames;
    });
    const double cpuStart = ThreadCpuSeconds();
    const auto wallStart = Clock::now();
    timer.start(10);
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    timer.stop();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const double wall = Ms(Clock::now() - wallStart) / 1000;
    std::printf("live table, 10 rows x %d frames in %.1f s into a %u-row ring: GUI thread "
                "%.1f %% of a core (target 30)\n",
                frames, wall, kRows, 100 * cpu / wall);
    dlg->close();
    app.processEvents();
}

void BenchSave() {
    MatrixData m = LiveMatrix(8);
    const std::string path = "/tmp/ksv-bench-table-" + std::to_string(getpid()) + ".TXT";
    size_t bytes = 0;
    const double ms = MedianMs(11, [&] {
        const std::vector<uint8_t> text = ksv::EncodeTableText(ksv::MatrixTable(m), u';', false);
        bytes = text.size();
        ksv::WriteWholeFile(path, text);
    });
    unlink(path.c_str());
    std::printf("save %u rows x 8 series as text (%zu bytes): median %.1f ms (target 100)\n", kRows,
                bytes, ms);
}

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // One part alone when named: painters, save or table.
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "painters")
        BenchPainters();
    if (only.empty() || only == "save")
        BenchSave();
    if (only.empty() || only == "table")
        BenchLiveTable(app);
    return 0;
}
