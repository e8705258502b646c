#include "sources/LineServer.h"

#include <gtest/gtest.h>

TEST(LineFromChunk, CutsAtTheFirstZeroByteAndDecodesCodePage932)
{
    struct Case
    {
        QByteArray chunk;
        QString line;
    } const cases[] = {
        {"1,2\r\n3,4", QStringLiteral("1,2\r\n3,4")},
        {QByteArray("a,b\0c,d", 7), QStringLiteral("a,b")},
        {QByteArray("\0abc", 4), QString()},
        {QByteArray(), QString()},
        {"\x89\xB7\x93\x78", QStringLiteral("温度")},
        // A chunk ending inside a two-byte character: that byte alone, nothing carried over.
        {"AB\x89", QStringLiteral("AB\uFFFD")},
        {QByteArray("\x89\0\xB7", 3), QStringLiteral("\uFFFD")},
        {"\xB1\xB2", QStringLiteral("ｱｲ")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineFromChunk(c.chunk), c.line) << c.chunk.toHex().constData();
}

TEST(LineServerTexts, ConnectionCountAndDiscardedLines)
{
    EXPECT_EQ(ConnectionText(3, QStringLiteral("未接続")), QStringLiteral("3個接続中"));
    EXPECT_EQ(ConnectionText(0, QStringLiteral("未接続")), QStringLiteral("未接続"));
    EXPECT_EQ(MessageLine(QStringLiteral("2個接続中"), 0), QStringLiteral("2個接続中"));
    // 64-bit counts print whole.
    const QString line = MessageLine(QStringLiteral("2個接続中"), int64_t(5000000000));
    EXPECT_TRUE(line.startsWith(QStringLiteral("2個接続中"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("5000000000行"))) << line.toStdString();
}
