#include "charts/full_screen_chart.h"
#include "charts/inline_chart.h"
#include "matrix_builder.h"

#include <gtest/gtest.h>

namespace ksv {
namespace {

int EightPerChar(const std::u16string& text, bool) {
    return static_cast<int>(8 * text.size());
}

std::vector<SceneText> Texts(const ChartScene& scene) {
    std::vector<SceneText> texts;
    for (const SceneItem& item : scene)
        if (const auto* text = std::get_if<SceneText>(&item))
            texts.push_back(*text);
    return texts;
}

TEST(InlineChartScene, LegendNamesAreCutToTheirBandAndAnEmptyTitleLeavesNothing) {
    MatrixData m = MakeMatrix(3, 3, {{1, 2, 3}, {4, 5, 6}});
    m.m_pSeriesNames = {u"A very long series name", u"B"};
    const ChartScene scene = BuildInlineChart(m, {0, 0, 240, 100}, {}, EightPerChar);
    const std::vector<SceneText> texts = Texts(scene);
    ASSERT_EQ(texts.size(), 2u); // two names, no title
    const int band = 101 / 2;
    EXPECT_TRUE(texts[0].rotated);
    EXPECT_EQ(texts[0].width, band - 6);
    EXPECT_EQ(texts[0].at.y, 101 - band + 1 + 2);
    EXPECT_EQ(texts[1].width, 8);

    m.m_xTitle = u"Time";
    const std::vector<SceneText> titled =
        Texts(BuildInlineChart(m, {0, 0, 240, 100}, {}, EightPerChar));
    ASSERT_EQ(titled.size(), 3u);
    EXPECT_EQ(titled[2].at.y, 101 - 18);
    EXPECT_FALSE(titled[2].rotated);
}

TEST(FullScreenChartScene, EndLabelsSitWhereTheLayoutSays) {
    MatrixData m = MakeMatrix(4, 4, {{0, 10, 20, 37}});
    SetXDates(m, {PackedDateTime::Make(2024, 5, 1, 12, 0, 0, 3),
                  PackedDateTime::Make(2024, 5, 1, 12, 0, 30, 3),
                  PackedDateTime::Make(2024, 5, 1, 12, 0, 10, 3),
                  PackedDateTime::Make(2024, 5, 1, 12, 1, 0, 3)}); // out of order
    m.m_xTemplate = u"%mm%:%ss%";
    m.m_yTemplate = u"%%";
    const std::vector<SceneText> texts =
        Texts(BuildFullScreenChart(m, {0, 0, 300, 200}, nullptr, EightPerChar));
    // Plot (35, 39)-(290, 258): the dialog is laid out 268 high.
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, u"0");
    EXPECT_EQ(texts[0].at.x, 32);
    EXPECT_EQ(texts[1].text, u"37");
    EXPECT_EQ(texts[1].at.x, 290 - 16 + 5);
    EXPECT_EQ(texts[2].text, u"00:00");
    EXPECT_EQ(texts[2].at.y, 36);
    EXPECT_EQ(texts[3].text, u"01:00");
    EXPECT_EQ(texts[3].at.y, 258 - 40 + 5);
}

} // namespace
} // namespace ksv
