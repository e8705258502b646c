#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

// The icons come from the static GUI library's resources and need the SVG icon engine.
TEST(IconResource, EveryIconRendersAtToolbarSize)
{
    for (const char* name : {"new", "open", "save", "tcp-input", "mqtt-input", "internal-input", "csv-input", "about", "vantrel"}) {
        const QString path = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name));
        const QIcon icon(path);
        ASSERT_FALSE(icon.isNull()) << name;
        const QImage image = icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(24, 24)) << name;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(opaque, 24 * 24 / 5) << name; // drawn, not an empty frame
        EXPECT_LT(opaque, 24 * 24) << name;     // with a transparent background
    }
}
