#include "app/zoom_settings.h"
#include "app/zoom_startup.h"
#include "platform/qt/qt_settings_store.h"
#include "temp_config.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ksv {
namespace {

// QT_SCALE_FACTOR as the test found it, put back afterwards.
class ScaleFactorVariable : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv("QT_SCALE_FACTOR"); }
    void TearDown() override { m_saved.Restore(); }

    static std::string Current() {
        const char* value = std::getenv("QT_SCALE_FACTOR");
        return value ? value : "(unset)";
    }

    TempConfig config;

private:
    ScaleFactorEnvironment m_saved; // made before SetUp clears the variable
};

TEST_F(ScaleFactorVariable, TheStoredZoomSurvivesAFreshStoreAndHandEditsAreBounded) {
    SaveZoomQuarters(*std::make_unique<QtSettingsStore>(config.Path()), 9);
    EXPECT_TRUE(config.Contents().contains("[Kestrovane]\nm_iZoomQuarters=9\n"))
        << config.Contents().constData();
    EXPECT_EQ(LoadZoomQuarters(QtSettingsStore(config.Path())), 9);

    const struct {
        const char* stored;
        int quarters;
    } cases[] = {{"8", 8}, {"100", 16}, {"1", 4}, {"0", 0}, {"-3", 0}, {"two", 0}};
    for (const auto& c : cases) {
        const TempConfig edited; // a file of its own: equal sizes and times read as unchanged
        edited.Preset(QByteArray("[Kestrovane]\nm_iZoomQuarters=") + c.stored + "\n");
        EXPECT_EQ(LoadZoomQuarters(QtSettingsStore(edited.Path())), c.quarters) << c.stored;
    }
}

TEST_F(ScaleFactorVariable, StartupSetsTheStoredFactorAndLeavesTheUsersOwnAlone) {
    config.Preset("[Kestrovane]\nm_iZoomQuarters=9\n");
    const std::vector<std::string> arguments{"kestrovane"};
    {
        const ScaleFactorEnvironment environment;
        const StartupZoom zoom =
            PrepareStartupZoom(std::nullopt, environment, config.Path(), arguments);
        EXPECT_EQ(zoom.quarters, 9);
        EXPECT_EQ(Current(), "2.25");
        environment.Restore(); // started programs see what the user had: nothing
        EXPECT_EQ(Current(), "(unset)");
    }
    ::setenv("QT_SCALE_FACTOR", "3", 1);
    {
        const ScaleFactorEnvironment environment;
        const StartupZoom zoom =
            PrepareStartupZoom(std::nullopt, environment, config.Path(), arguments);
        EXPECT_EQ(zoom.quarters, 12);
        EXPECT_FALSE(zoom.applyScaleFactor);
        EXPECT_EQ(Current(), "3");
        // --zoom is asked for explicitly, for this start only.
        PrepareStartupZoom(6, environment, config.Path(), arguments);
        EXPECT_EQ(Current(), "1.5");
        environment.Restore();
        EXPECT_EQ(Current(), "3");
    }
}

} // namespace
} // namespace ksv
