#include "engine/ProgressGate.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ProgressGate, PercentsPassOnlyWhenTheRoundedValueChanges)
{
    ProgressGate gate([] { return qint64(0); });
    const std::vector<std::pair<int, bool>> steps{{0, true}, {0, false}, {1, true}, {1, false}, {0, true}, {100, true}};
    for (const auto &[percent, shown] : steps)
        EXPECT_EQ(gate.FilePercent(percent), shown) << percent;
    // The overall percent is kept apart from the file's.
    EXPECT_TRUE(gate.OverallPercent(100));
    EXPECT_FALSE(gate.OverallPercent(100));
    gate.Reset();
    EXPECT_TRUE(gate.FilePercent(100));
    EXPECT_TRUE(gate.OverallPercent(100));
}

TEST(ProgressGate, LabelsShowAtMostTenTimesASecondAndTheNewestComesThrough)
{
    qint64 now = 0;
    ProgressGate gate([&now] { return now; });
    struct Step {
        qint64 at;
        const char *offered; // null: no new label, only a later event
        const char *shown;   // null: nothing passed on
    };
    const std::vector<Step> steps{
        {0, "a", "a"},          {10, "b", nullptr},      {50, "c", nullptr},
        {99, nullptr, nullptr}, {100, nullptr, "c"}, // a long file still gets its own name shown
        {150, "c", nullptr},    {400, nullptr, nullptr}, {401, "d", "d"},
    };
    for (const Step &step : steps) {
        now = step.at;
        if (step.offered)
            gate.OfferLabel(QString::fromLatin1(step.offered));
        const std::optional<QString> shown = gate.DueLabel();
        EXPECT_EQ(shown.has_value(), step.shown != nullptr) << step.at;
        if (shown && step.shown) {
            EXPECT_EQ(*shown, QString::fromLatin1(step.shown)) << step.at;
        }
    }
    gate.Reset();
    gate.OfferLabel(QStringLiteral("e"));
    EXPECT_EQ(gate.DueLabel(), QStringLiteral("e"));
}
