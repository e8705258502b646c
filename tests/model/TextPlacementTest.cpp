#include "model/TextPlacement.h"

#include <gtest/gtest.h>

#include <limits>

TEST(TextPlacement, EveryAnchorAroundPoint)
{
    // d = 10, D = trunc(10 / sqrt 2) = 7; text 41 x 15 at (100, 200).
    const QPoint p(100, 200);
    const QSize extent(41, 15);
    const struct {
        TextAnchor anchor;
        QPoint corner;
    } cases[] = {
        {TextAnchor::TopLeft, {100 - 48, 200 - 22}},
        {TextAnchor::TopCenter, {100 - 20, 200 - 25}},
        {TextAnchor::TopRight, {107, 200 - 22}},
        {TextAnchor::MiddleLeft, {100 - 51, 200 - 7}},
        {TextAnchor::Center, {100 - 20, 200 - 7}},
        {TextAnchor::MiddleRight, {107, 200 - 7}}, // d/sqrt 2 to the right, not d
        {TextAnchor::BottomLeft, {100 - 48, 207}},
        {TextAnchor::BottomCenter, {100 - 20, 210}},
        {TextAnchor::BottomRight, {107, 207}},
        {static_cast<TextAnchor>(9), {100, 200}},
        {static_cast<TextAnchor>(-1), {100, 200}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceText(c.anchor, 10, p, extent), c.corner) << static_cast<int>(c.anchor);
}

TEST(TextPlacement, HalvesTruncateTowardZero)
{
    // Negative distance and odd extents: integer halves and trunc(-15 / sqrt 2) = -10.
    EXPECT_EQ(PlaceText(TextAnchor::Center, 0, QPoint(0, 0), QSize(5, 3)), QPoint(-2, -1));
    EXPECT_EQ(PlaceText(TextAnchor::BottomRight, -15, QPoint(0, 0), QSize(5, 3)), QPoint(-10, -10));
}

TEST(TextPlacement, ExtremePointsSaturate)
{
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    EXPECT_EQ(PlaceText(TextAnchor::TopLeft, kMax, QPoint(kMin, kMin), QSize(100, 100)), QPoint(kMin, kMin));
    EXPECT_EQ(PlaceText(TextAnchor::BottomCenter, kMax, QPoint(0, kMax), QSize(100, 100)), QPoint(-50, kMax));
}
