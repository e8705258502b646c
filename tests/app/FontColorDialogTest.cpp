#include "app/ColorRef.h"
#include "app/DialogFontColor.h"
#include "platform/Archive.h"
#include "render/FontMapping.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

// A record as a stored design holds it, with values no chooser would produce itself.
FontChoice StoredChoice()
{
    FontChoice choice;
    LOGFONTW& f = choice.font;
    f.lfHeight = 15; // cell height
    f.lfWidth = 3;
    f.lfEscapement = 7;
    f.lfOrientation = 9;
    f.lfWeight = 0;
    f.lfItalic = 0xFF;
    f.lfCharSet = 128;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 2;
    f.lfQuality = 1;
    f.lfPitchAndFamily = 0x31;
    f.SetFaceName(u"ＭＳ Ｐゴシック"_qs);
    f.lfFaceName[20] = 0x1234; // padding after the terminator, kept as stored
    choice.color = 0x01336699;
    return choice;
}

QByteArray Bytes(LOGFONTW font)
{
    CArchive ar;
    font.Serialize(ar);
    return ar.Bytes();
}

} // namespace

TEST(ColorRef, ConvertsBothWays)
{
    const QColor color = QColorFromColorRef(0x00336699);
    EXPECT_EQ(color, QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ColorRefFromQColor(QColor(0x99, 0x66, 0x33)), 0x00336699u);
    EXPECT_EQ(ColorRefFromQColor(QColor::fromHsv(0, 255, 255)), 0x000000FFu);
    // Confirmed unchanged: the stored value comes back whole, top byte included.
    EXPECT_EQ(KeepUnlessChanged(0x01336699, QColor(0x99, 0x66, 0x33)), 0x01336699u);
    EXPECT_EQ(KeepUnlessChanged(0x01336699, QColor(0x99, 0x66, 0x34)), 0x00346699u);
}

TEST(DialogFontColor, UnchangedRecordComesBackByteIdentical)
{
    CDialogFontColor dialog;
    for (const FontChoice& choice : {StoredChoice(), FontChoice{}}) {
        dialog.setValues(choice);
        const FontChoice back = dialog.values();
        EXPECT_EQ(Bytes(back.font), Bytes(choice.font));
        EXPECT_EQ(back.color, choice.color);
    }
}

TEST(DialogFontColor, ChangedFieldsMapBackAndOthersStay)
{
    CDialogFontColor dialog;
    const FontChoice stored = StoredChoice();
    dialog.setValues(stored);
    EXPECT_EQ(dialog.faceBox()->currentText(), u"ＭＳ Ｐゴシック"_qs);
    EXPECT_EQ(dialog.sizeBox()->value(), FontFromLogFont(stored.font).pixelSize());

    dialog.sizeBox()->setValue(20);
    dialog.styleBox()->setCurrentIndex(3); // bold italic: only the weight changes
    dialog.underlineBox()->setChecked(true);
    dialog.SetColor(0x000000FF);
    FontChoice changed = dialog.values();
    EXPECT_EQ(changed.font.lfHeight, -20);
    EXPECT_EQ(changed.font.lfWeight, 700);
    EXPECT_EQ(changed.font.lfItalic, 0xFF);
    EXPECT_EQ(changed.font.lfUnderline, 1);
    EXPECT_EQ(changed.color, 0x000000FFu);
    EXPECT_EQ(FontFromLogFont(changed.font).pixelSize(), 20);

    LOGFONTW expected = stored.font;
    expected.lfHeight = -20;
    expected.lfWeight = 700;
    expected.lfUnderline = 1;
    EXPECT_EQ(changed.font, expected);

    dialog.faceBox()->setEditText(u"IPAGothic"_qs);
    dialog.styleBox()->setCurrentIndex(0);
    changed = dialog.values();
    EXPECT_EQ(changed.font.FaceName(), u"IPAGothic"_qs);
    EXPECT_EQ(changed.font.lfFaceName[20], 0); // a new face is written clean
    EXPECT_EQ(changed.font.lfItalic, 0);
    EXPECT_EQ(changed.font.lfWeight, 0); // back to the stored style: stored weight kept
    EXPECT_EQ(changed.font.lfCharSet, 128);
    EXPECT_EQ(changed.font.lfPitchAndFamily, 0x31);
}
