#include "RunSupport.h"

#include "runtime/Main.h"
#include "platform/UserInteraction.h"

#include <gtest/gtest.h>

namespace {

// ProcessLine on the test thread; the records pile up in the documents' queues.
class ProcessLineTest : public ::testing::Test
{
protected:
    CFakeHost m_host;
    CMain m_main;
    CVantrelDoc* m_doc = nullptr;

    void SetUp() override
    {
        m_main.m_pApp = &m_host;
        m_doc = &m_host.AddDocument(0);
    }

    // Processes the line and returns the record queued for it.
    CDocData Process(const QString& line)
    {
        m_main.ProcessLine(line);
        EXPECT_FALSE(m_doc->m_feedQueue.empty());
        CDocData item = m_doc->m_feedQueue.back();
        m_doc->m_feedQueue.clear();
        return item;
    }
};

} // namespace

TEST_F(ProcessLineTest, PrefixRulesDecideWhatIsStored)
{
    struct Case
    {
        QStringList include;
        QStringList exclude;
        QString line;
        bool stored;
    };
    const Case cases[] = {
        {{"A"}, {"A1"}, "A1,5", true},        // the include list wins over the exclude list
        {{"ABC"}, {}, "AB", false},           // an entry longer than the line never matches
        {{"B", "A"}, {}, "A,1", true},
        {{}, {"#"}, "#x", false},
        {{}, {"#"}, "x#", true},              // the test is on the start only
        {{""}, {}, "anything", true},         // an empty entry matches every line
        {{}, {""}, "anything", false},
        {{"a"}, {}, "A", false},              // case-sensitive
        {{" A"}, {}, "A", false},             // no trimming
        {{}, {}, "", true},
    };
    for (const Case& c : cases) {
        m_main.m_internalData.RemoveAll();
        m_main.m_includePrefixes = c.include;
        m_main.m_excludePrefixes = c.exclude;
        const CDocData item = Process(c.line);
        EXPECT_EQ(m_main.m_internalData.GetCount(), c.stored ? 1 : 0) << c.line.toStdString();
        EXPECT_EQ(item.m_row, c.stored ? 0 : -1) << c.line.toStdString();
    }
}

TEST_F(ProcessLineTest, NothingStoredWithoutSaveOptionsButAllDispatched)
{
    m_main.m_saveCsv = 0;
    m_main.m_saveInternal = 0;
    m_main.m_internalData.Add(FieldRow{QStringLiteral("kept")});
    const CDocData item = Process(QStringLiteral("1,2"));
    EXPECT_EQ(item.m_row, -1);
    EXPECT_EQ(item.m_type, ApplyAndRepaint);
    EXPECT_EQ(item.m_fields, (FieldRow{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(item.m_pFDInfos, &m_main.m_fdInfos);
    EXPECT_EQ(m_main.m_internalData.GetCount(), 1);
}

TEST_F(ProcessLineTest, RejectedLineCarriesTheNewestStoredRow)
{
    for (int i = 0; i < 10; ++i)
        m_main.m_internalData.Add(FieldRow{QString::number(i)});
    m_main.m_includePrefixes = {QStringLiteral("X")};
    EXPECT_EQ(Process(QStringLiteral("Y")).m_row, 9);
    EXPECT_EQ(Process(QStringLiteral("X")).m_row, 10);

    // In a full ring the newest row stays at the last logical index.
    m_main.m_internalData.SetRing(true, 3);
    EXPECT_EQ(Process(QStringLiteral("X1")).m_row, 2);
    EXPECT_EQ(m_main.m_internalData.GetAt(2), FieldRow{QStringLiteral("X1")});
}

TEST_F(ProcessLineTest, ComputedFdsSeeTheOnesBeforeThem)
{
    m_main.m_calcFDs.push_back(CCalcFD(QStringLiteral("1"), QStringLiteral("FD(0) + FD(1)"), QStringLiteral("0")));
    m_main.m_calcFDs.push_back(CCalcFD(QStringLiteral("FD(2) > 4"), QStringLiteral("FD(2) * 0.5"), QStringLiteral("-1")));
    m_main.m_calcFDs.push_back(CCalcFD(QStringLiteral("1"), QStringLiteral("FD(9)"), QStringLiteral("0")));
    const CDocData item = Process(QStringLiteral("2,3"));
    // The third refers to an FD that does not exist and yields whatever evaluation gives.
    ASSERT_EQ(item.m_fields.size(), 5);
    EXPECT_EQ(item.m_fields.at(2), QStringLiteral("5"));
    EXPECT_EQ(item.m_fields.at(3), QStringLiteral("2.5"));
    EXPECT_EQ(m_main.m_internalData.GetAt(0), item.m_fields);

    // An unterminated quoted field leaves no FD from the line; the computed ones still come.
    const CDocData open = Process(QStringLiteral("\"1,2"));
    EXPECT_EQ(open.m_fields.size(), 3);
}

TEST_F(ProcessLineTest, FailingComputedFdsAppendZero)
{
    // Each fails in its own way; none may take its else value or be left out.
    const struct {
        const char* condition;
        const char* then;
        const char* otherwise;
    } failing[] = {
        {"FD(9) > 0", "1", "2"},   // missing field in the condition
        {"1", "1 / 0", "3"},       // domain error in the chosen expression
        {"FD(0) > 0", "4", "FD(1)"}, // non-numeric field
        {"1 ||", "5", "6"},        // syntax error
    };
    for (const auto& f : failing)
        m_main.m_calcFDs.push_back(CCalcFD(QString::fromLatin1(f.condition), QString::fromLatin1(f.then),
                                           QString::fromLatin1(f.otherwise)));
    const CDocData item = Process(QStringLiteral("-1,x"));
    EXPECT_EQ(item.m_fields, (FieldRow{"-1", "x", "0", "0", "0", "0"}));
    EXPECT_EQ(m_main.m_internalData.GetAt(0), item.m_fields);
}

TEST_F(ProcessLineTest, DispatchCopiesToEveryDocumentInOrder)
{
    CVantrelDoc& second = m_host.AddDocument(1);
    CVantrelDoc& third = m_host.AddDocument(0);
    FieldRow fields{QStringLiteral("a")};
    m_main.Dispatch(4, Apply, &fields, false);
    EXPECT_EQ(fields, FieldRow{QStringLiteral("a")});
    m_main.Dispatch(5, ResetAndApply, &fields, true);
    EXPECT_TRUE(fields.isEmpty());
    for (CVantrelDoc* doc : {m_doc, &second, &third}) {
        ASSERT_EQ(doc->m_feedQueue.size(), 2u);
        EXPECT_EQ(doc->m_feedQueue[0].m_row, 4);
        EXPECT_EQ(doc->m_feedQueue[1].m_type, ResetAndApply);
        EXPECT_EQ(doc->m_feedQueue[1].m_fields, FieldRow{QStringLiteral("a")});
    }
}

TEST_F(ProcessLineTest, RingOptionsAlwaysLeaveAConsistentStore)
{
    const auto rows = [this] {
        QString out;
        for (int64_t i = 0; i < m_main.m_internalData.GetCount(); ++i)
            out += m_main.m_internalData.GetAt(i).join();
        return out;
    };
    for (const char* v : {"a", "b", "c", "d"})
        m_main.m_internalData.Add(FieldRow{QString::fromLatin1(v)});
    // Kept: the ring rules, which keep the oldest.
    m_main.ApplyRingOptions(true, 2);
    EXPECT_EQ(rows(), QStringLiteral("ab"));
    EXPECT_EQ(m_main.m_internalData.m_maxCount, 2);
    Process(QStringLiteral("e"));
    EXPECT_EQ(rows(), QStringLiteral("be"));

    // Not kept: only stored, but in logical order with the newest kept, so that a later
    // kept run goes on from there.
    m_main.m_keepInternal = 0;
    m_main.ApplyRingOptions(true, 3);
    EXPECT_EQ(rows(), QStringLiteral("be"));
    EXPECT_EQ(m_main.m_internalData.m_next, 2);
    m_main.ApplyRingOptions(true, 1);
    EXPECT_EQ(rows(), QStringLiteral("e"));
    m_main.ApplyRingOptions(false, 50);
    EXPECT_EQ(m_main.m_internalData.m_ring, 0);
    EXPECT_EQ(m_main.m_internalData.m_maxCount, 50);
    m_main.m_keepInternal = 1;
    Process(QStringLiteral("f"));
    EXPECT_EQ(rows(), QStringLiteral("ef"));
    EXPECT_TRUE(m_main.m_internalData.IsConsistent());
}

TEST_F(ProcessLineTest, OpenCaptureFileAsksAndReportsFailures)
{
    CScriptedInteraction ui;
    ui.fileAnswers = {std::nullopt};
    EXPECT_FALSE(m_main.OpenCaptureFile(ui));
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].file.title, QStringLiteral("出力するCSVファイル名を指定してください"));
    EXPECT_EQ(ui.calls[0].file.filter, QStringLiteral("csv File (*.csv)|*.csv||"));
    EXPECT_EQ(ui.calls[0].file.defaultExtension, QStringLiteral("csv"));
    EXPECT_EQ(ui.calls[0].file.flags, uint32_t(FileDialogPathMustExist)); // append: no overwrite question

    const QString bad = QStringLiteral("/nonexistent-folder/x.csv");
    ui.fileAnswers = {bad};
    EXPECT_FALSE(m_main.OpenCaptureFile(ui));
    EXPECT_EQ(ui.Messages().back(), QStringLiteral("CSVファイルをオープンできませんでした."));
    EXPECT_EQ(ui.calls.back().icon, MessageIcon::Stop);

    m_main.m_appendCsv = 0;
    ui.fileAnswers = {bad};
    EXPECT_FALSE(m_main.OpenCaptureFile(ui));
    EXPECT_EQ(ui.calls[ui.calls.size() - 2].file.flags, uint32_t(FileDialogPathMustExist | FileDialogOverwritePrompt));
    EXPECT_EQ(ui.Messages().back(), QStringLiteral("出力CSVファイルをオープンできませんでした."));
    EXPECT_FALSE(m_main.m_captureFile.IsOpen());
}
