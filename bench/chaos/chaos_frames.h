#pragma once

#include "link/device_encoder.h"

#include <cstdint>
#include <random>
#include <vector>

namespace ksv::chaos {

// Control ids of the chaos panel.
enum ChaosControlId : uint32_t {
    kIdText = 1,
    kIdNumber = 2,
    kIdButton = 3,
    kIdLatch = 4,
    kIdChart = 5,
    kIdList = 6,
    kIdDate = 7,
    kIdBlob = 8,
    kIdFile = 9,
    kIdSection = 10,
    kIdImage = 11,
};

inline constexpr uint32_t kTextBytes = 32;
inline constexpr uint32_t kChartRows = 30;

// The folder below the device's files folder that the chaos device links to somewhere outside.
inline constexpr const char* kTrapFolder = "evil";

// Frames a hostile device sends; each builder draws what it varies from `random`.
class ChaosFrames {
public:
    explicit ChaosFrames(uint32_t seed) : m_random(seed) {}

    std::vector<uint8_t> Panel(uint16_t flags = 0);
    // A Values or MatrixRows frame with a few entries, the acknowledgement asked for at random.
    std::vector<uint8_t> Update();
    // A FileTransfer for the file control: ordinary names and names that try to leave the
    // files folder, through ".." or through the trap folder.
    std::vector<uint8_t> Files();
    std::vector<uint8_t> LayoutBurst(uint32_t entries);
    // 100 000 keys never sent before: controls the panel lacks, attributes no control has.
    std::vector<uint8_t> LayoutFlood();
    // The answer to a LayoutRequest: a ping every two seconds, so a vanished device is noticed.
    std::vector<uint8_t> RecommendedLayout();
    // Announcements far past any budget: a panel too large, an absurd count.
    std::vector<uint8_t> Oversize();
    // A frame that lies about a length; its bytes stop early (the link must give up on it).
    std::vector<uint8_t> Truncated(size_t& keep);
    std::vector<uint8_t> Garbage();
    // What the screen must bound: a device name of up to 16 MiB; a panel of hundreds of
    // pictures, truncated 4096 x 4096 ones or 1024 x 1024 ones that fill every pixel; a panel
    // of up to 65 535 sections.
    std::vector<uint8_t> LongName();
    std::vector<uint8_t> ImageFlood();
    std::vector<uint8_t> BigPanel();

    uint32_t Draw(uint32_t below) {
        return std::uniform_int_distribution<uint32_t>(0, below - 1)(m_random);
    }

private:
    std::mt19937 m_random;
    uint32_t m_freshKey = 0;
};

} // namespace ksv::chaos
