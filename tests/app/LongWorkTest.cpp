#include "AppSupport.h"
#include "dialogs/LongWork.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>

#include <functional>

// キャンセル pressed in the progress window of a long save: no message, the previous file
// stays byte for byte and no temporary is left beside it.
TEST_F(AppTest, CancelledLongSavesKeepThePreviousFileAndSayNothing)
{
    CVantrelApp& app = Start();
    for (int i = 0; i < 5000; ++i)
        app.Main().m_internalData.Add(FieldRow{QString::number(i), QStringLiteral("値")});

    QStringList captions;
    struct ClearHook
    {
        ~ClearHook() { CLongWork::SetHook({}); }
    } clearHook;
    CLongWork::SetHook([&](QProgressDialog& dialog, int64_t done, int64_t) {
        if (captions.isEmpty() || captions.back() != dialog.labelText())
            captions.append(dialog.labelText());
        if (done > 0)
            dialog.cancel();
    });
    struct Case
    {
        const char* name;
        QString fileName;
        std::function<void()> command;
        QString caption;
    };
    const std::vector<Case> cases = {
        {"state", QStringLiteral("s.vnx"), [&] { app.OnSaveState(); }, QStringLiteral("退避中...")},
        {"export", QStringLiteral("out.csv"), [&] { app.OnExportInternalCsv(); }, QStringLiteral("CSVファイル出力中...")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir folder(Path(QString::fromLatin1(c.name)));
        ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
        const QString target = folder.filePath(c.fileName);
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("previous");
        }
        m_ui.calls.clear();
        m_ui.fileAnswers = {target};
        captions.clear();
        c.command();
        EXPECT_EQ(captions, QStringList{c.caption});
        for (const auto& call : m_ui.calls)
            EXPECT_NE(call.icon, MessageIcon::Stop) << call.text.toStdString();
        EXPECT_EQ(ReadAll(target), QByteArray("previous"));
        EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), QStringList{c.fileName});
    }
    EXPECT_EQ(app.Main().m_internalData.GetCount(), 5000);
}
