#include "app/FileDialogFilter.h"

#include <gtest/gtest.h>

namespace {

QStringList NameFilters(const QString& filter)
{
    QStringList names;
    for (const FileDialogFilterEntry& entry : ParseFileDialogFilter(filter))
        names.append(entry.nameFilter);
    return names;
}

} // namespace

TEST(FileDialogFilter, ConvertsToQtNameFilters)
{
    struct Case
    {
        const char16_t* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {u"csv File (*.csv)|*.csv||", {u"csv File (*.csv)"_qs}},
        {u"Vantrel(*.vnx)|*.vnx||", {u"Vantrel(*.vnx)"_qs}},
        {u"背景画像JPEG(*.jpg)|*.jpg|背景画像BMP(*.bmp)|*.bmp||", {u"背景画像JPEG(*.jpg)"_qs, u"背景画像BMP(*.bmp)"_qs}},
        // "*.*" means every file, which Qt spells "*".
        {u"CSV files (*.csv)|*.csv|All File(*.*)|*.*||", {u"CSV files (*.csv)"_qs, u"All File(*)"_qs}},
        // An extension shown without its star is still the pattern, not a second one.
        {u"Scroll Document(.t1)|*.t1||", {u"Scroll Document(*.t1)"_qs}},
        {u"Pictures|*.jpg;*.jpeg; *.bmp||", {u"Pictures (*.jpg *.jpeg *.bmp)"_qs}},
        {u"Images (*.jpg;*.bmp)|*.jpg;*.bmp||", {u"Images (*.jpg *.bmp)"_qs}},
        // Parentheses that are not the patterns stay, and the patterns follow them.
        {u"Text (Shift-JIS)|*.txt||", {u"Text (Shift-JIS) (*.txt)"_qs}},
        {u"Plain|*.txt", {u"Plain (*.txt)"_qs}},
        {u"No pattern||Data|*.dat||", {u"Data (*.dat)"_qs}},
        {u"", {}},
        {u"||", {}},
    };
    for (const Case& c : cases) {
        const QString filter = QString::fromUtf16(c.filter);
        EXPECT_EQ(NameFilters(filter), c.expected) << filter.toStdString();
    }
}

TEST(FileDialogFilter, KeepsPatternsForMatching)
{
    const auto entries = ParseFileDialogFilter(u"Pictures|*.jpg;*.JPG;*.jpg|All|*.*||"_qs);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].patterns, QStringList({u"*.jpg"_qs, u"*.JPG"_qs}));
    EXPECT_EQ(entries[1].patterns, QStringList({u"*"_qs}));
}

TEST(FileDialogFilter, DefaultSuffixFollowsSelectedFilter)
{
    struct Case
    {
        QStringList patterns;
        QString defaultExtension;
        QString expected;
    };
    const Case cases[] = {
        {{u"*.vnx"_qs}, u"vnx"_qs, u"vnx"_qs},
        {{u"*.jpeg"_qs, u"*.jpg"_qs}, u"jpg"_qs, u"jpg"_qs},
        {{u"*.bmp"_qs}, u"jpg"_qs, u"bmp"_qs},
        {{u"*"_qs}, u"csv"_qs, u"csv"_qs},
        {{u"*.t?"_qs}, u"t1"_qs, u"t1"_qs},
        {{}, u"csv"_qs, u"csv"_qs},
        // No default extension: names are taken as typed.
        {{u"*.csv"_qs}, QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultSuffixFor(c.patterns, c.defaultExtension), c.expected) << c.patterns.join(u' ').toStdString();
}
