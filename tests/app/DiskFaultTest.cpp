#include "AppSupport.h"
#include "tests/support/DiskFaults.h"

#include <functional>

// Every save of the application on a disk that fails: the user is told (the automatic save
// at exit stays silent), nothing counts as saved and the previous file stays whole.
TEST_F(AppTest, SavesOnAFaultyDiskTellTheUserAndKeepThePreviousFile)
{
    CVantrelApp& app = Start();
    CDocEntry* entry = NewDocument(0);
    ASSERT_TRUE(entry);
    entry->Doc().m_modified = 1;
    for (int i = 0; i < 3000; ++i)
        app.Main().m_internalData.Add(FieldRow{QString::number(i), QStringLiteral("値")});

    struct Case
    {
        const char* name;
        QString fileName;
        std::function<void(CDiskFaultScope&)> save;
        std::function<QString(CDiskFaultScope&)> message; // empty: no message
    };
    const std::vector<Case> cases = {
        {"state command", QStringLiteral("s.vnx"), [&](CDiskFaultScope&) { app.OnSaveState(); },
         [](CDiskFaultScope&) { return QStringLiteral("退避できませんでした."); }},
        {"automatic state", QStringLiteral("Vantrel.dat"),
         [&](CDiskFaultScope& scope) {
             app.Main().m_dataFolder = scope.Folder() + QLatin1Char('/');
             EXPECT_FALSE(app.SaveAutomaticState());
         },
         [](CDiskFaultScope&) { return QString(); }},
        {"internal data export", QStringLiteral("out.csv"), [&](CDiskFaultScope&) { app.OnExportInternalCsv(); },
         [](CDiskFaultScope& scope) {
             return (scope.Fault() == DiskFault::FullDisk ? QStringLiteral("出力エラー\n(")
                                                          : QStringLiteral("出力CSVファイルオープンエラー\n("))
                    + scope.Target() + QLatin1Char(')');
         }},
        {"document", QStringLiteral("doc.t1"),
         [&](CDiskFaultScope&) { EXPECT_FALSE(app.Docs().SaveDocument(*entry, true)); },
         [](CDiskFaultScope&) { return QStringLiteral("ドキュメントを保存できませんでした。"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ForEachDiskFault(c.fileName, "previous", [&](CDiskFaultScope& scope) {
            m_ui.calls.clear();
            m_ui.fileAnswers = {scope.Target()};
            c.save(scope);
            const QString expected = c.message(scope);
            QStringList errors;
            for (const auto& call : m_ui.calls) {
                if (call.icon == MessageIcon::Stop)
                    errors.append(call.text.section(QLatin1Char('\n'), 0, expected.count(QLatin1Char('\n'))));
            }
            EXPECT_EQ(errors, expected.isEmpty() ? QStringList() : QStringList{expected});
            scope.Lift();
            EXPECT_EQ(ReadAll(scope.Target()), scope.Previous());
        });
    }
    // Nothing of it counted as a save of the document.
    EXPECT_EQ(entry->Doc().m_modified, 1);
    EXPECT_FALSE(entry->Doc().m_filePath.endsWith(QLatin1String("doc.t1")));
}
