#include "render/Damage.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(Damage, RectanglesCoverWholeTilesInsideTheLayer)
{
    CDamage damage(QSize(20, 10), 8);
    EXPECT_TRUE(damage.IsEmpty());
    damage.Add(QRect(9, 1, 2, 2)); // tile (1, 0)
    damage.Add(-50, 9, -40, 12);   // left of the layer: nothing
    damage.Add(18, -5, 1000, 3);   // cut to the last column, first row
    damage.Add(QRect());
    EXPECT_EQ(damage.Region(), QRegion(8, 0, 12, 8));

    // Another damage of the same tiles adds up; any other counts as everything.
    CDamage other(QSize(20, 10), 8);
    other.Add(QRect(0, 9, 1, 1));
    damage.Add(other);
    EXPECT_EQ(damage.Region(), QRegion(8, 0, 12, 8) + QRegion(0, 8, 8, 2));
    damage.Add(CDamage(QSize(20, 10), 4));
    EXPECT_FALSE(damage.IsAll()); // empty
    CDamage finer(QSize(20, 10), 4);
    finer.Add(QRect(0, 0, 1, 1));
    damage.Add(finer);
    EXPECT_TRUE(damage.IsAll());
    EXPECT_EQ(damage.Region(), QRegion(0, 0, 20, 10));
    damage.Clear();
    EXPECT_TRUE(damage.IsEmpty());
    EXPECT_TRUE(damage.Region().isEmpty());
}

TEST(Damage, CopyTakesTheDamagedTilesOnly)
{
    QImage from(20, 12, QImage::Format_RGB32);
    from.fill(Qt::red);
    QImage to(20, 12, QImage::Format_RGB32);
    to.fill(Qt::white);
    CDamage damage(from.size(), 8);
    damage.Add(QRect(17, 9, 1, 1));
    damage.Copy(from, to);
    QImage expected(20, 12, QImage::Format_RGB32);
    expected.fill(Qt::white);
    for (int y = 8; y < 12; ++y) {
        for (int x = 16; x < 20; ++x)
            expected.setPixel(x, y, qRgb(255, 0, 0));
    }
    EXPECT_EQ(to, expected);
    damage.AddAll();
    damage.Copy(from, to);
    EXPECT_EQ(to, from);
}
