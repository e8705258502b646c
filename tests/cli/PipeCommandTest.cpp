#include "tests/cli/CliRunner.h"
#include "tests/support/MqttBroker.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CliRun Pipe(const QStringList& args, const QByteArray& input)
{
    return RunCli(QStringList{QStringLiteral("pipe")} + args, input);
}

} // namespace

TEST(CliPipe, PrintsEveryAppliedRecordThenTheStore)
{
    const CliRun r = Pipe({QStringLiteral("--exclude"), QStringLiteral("#"), QStringLiteral("--calc"),
                            QStringLiteral("1"), QStringLiteral("FD(1) * 2"), QStringLiteral("0")},
                           "a,1\nb,\"2,5\"\n#c,4\n\nlast\\\xE6\xB8\xA9");
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("{\"row\":0,\"fields\":[\"a\",\"1\",\"2\"]}\n"
                                "{\"row\":1,\"fields\":[\"b\",\"2,5\",\"4\"]}\n"
                                "{\"row\":1,\"fields\":[\"#c\",\"4\",\"8\"]}\n"
                                "{\"row\":2,\"fields\":[\"\",\"0\"]}\n"
                                "{\"row\":3,\"fields\":[\"last\\\\\xE6\xB8\xA9\",\"0\"]}\n"
                                "{\"store\":[[\"a\",\"1\",\"2\"],[\"b\",\"2,5\",\"4\"],[\"\",\"0\"],"
                                "[\"last\\\\\xE6\xB8\xA9\",\"0\"]]}\n"));
}

TEST(CliPipe, ManyLinesArriveInOrder)
{
    QByteArray input;
    for (int i = 0; i < 20000; ++i)
        input += QByteArray::number(i) + ",x\n";
    const CliRun r = Pipe({QStringLiteral("--save-internal"), QStringLiteral("0")}, input);
    ASSERT_EQ(r.exitCode, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 20002); // records, the store, and the empty piece after the last LF
    for (int i = 0; i < 20000; i += 997)
        EXPECT_EQ(lines[i], "{\"row\":-1,\"fields\":[\"" + QByteArray::number(i) + "\",\"x\"]}");
    EXPECT_EQ(lines[20000], "{\"store\":[]}");
}

TEST(CliPipe, CaptureCreatesOrAppends)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cap.csv"));
    ASSERT_EQ(Pipe({QStringLiteral("--capture"), path}, "a,\"b,c\"\n\xE6\xB8\xA9\n").exitCode, 0);
    ASSERT_EQ(Pipe({QStringLiteral("--capture"), path, QStringLiteral("--append")}, "z\n").exitCode, 0);
    // Code page 932 with CR LF.
    EXPECT_EQ(ReadAll(path), QByteArray("a,\"b,c\"\r\n\x89\xB7\r\nz\r\n"));
    ASSERT_EQ(Pipe({QStringLiteral("--capture"), path}, "new\n").exitCode, 0);
    EXPECT_EQ(ReadAll(path), QByteArray("new\r\n"));

    const CliRun bad = Pipe({QStringLiteral("--capture"), dir.filePath(QStringLiteral("no/such.csv"))}, "x\n");
    EXPECT_EQ(bad.exitCode, 1);
    const CliRun full = Pipe({QStringLiteral("--capture"), QStringLiteral("/dev/full")}, "x\n");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.contains("CSVファイル出力失敗!")) << full.err.constData();
}

TEST(CliPipe, StateFileCarriesOptionsAndStoreToTheNextRun)
{
    QTemporaryDir dir;
    const QString fdmap = dir.filePath(QStringLiteral("map.csv"));
    {
        QFile f(fdmap);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1,second\r\n0,first\r\n");
    }
    const QString state = dir.filePath(QStringLiteral("s.vnx"));
    const CliRun first = Pipe({QStringLiteral("--fdmap"), fdmap, QStringLiteral("--calc"), QStringLiteral("1"),
                                QStringLiteral("FD(0)"), QStringLiteral("0"), QStringLiteral("--include"),
                                QStringLiteral("7"), QStringLiteral("--save-state"), state},
                               "5,7\n7,5\n");
    ASSERT_EQ(first.exitCode, 0) << first.err.constData();
    // FD(0) reads column 1 through the conversion list.
    EXPECT_EQ(first.out, QByteArray("{\"row\":-1,\"fields\":[\"5\",\"7\",\"7\"]}\n"
                                    "{\"row\":0,\"fields\":[\"7\",\"5\",\"5\"]}\n"
                                    "{\"store\":[[\"7\",\"5\",\"5\"]]}\n"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("DOC1.t1"))));

    // The kept row replays first; the options come from the state.
    const CliRun second = Pipe({QStringLiteral("--state"), state}, "5,6\n7,8\n");
    ASSERT_EQ(second.exitCode, 0) << second.err.constData();
    EXPECT_EQ(second.out, QByteArray("{\"row\":0,\"fields\":[\"7\",\"5\",\"5\"]}\n"
                                     "{\"row\":0,\"fields\":[\"5\",\"6\",\"6\"]}\n"
                                     "{\"row\":1,\"fields\":[\"7\",\"8\",\"8\"]}\n"
                                     "{\"store\":[[\"7\",\"5\",\"5\"],[\"7\",\"8\",\"8\"]]}\n"));

    // Storing without keeping starts from an empty store.
    const CliRun third = Pipe({QStringLiteral("--state"), state, QStringLiteral("--keep"), QStringLiteral("0")}, "7\n");
    EXPECT_EQ(third.out, QByteArray("{\"row\":0,\"fields\":[\"7\",\"0\"]}\n{\"store\":[[\"7\",\"0\"]]}\n"));
}

TEST(CliPipe, RingOptionsStoredWithoutKeepingLeaveAConsistentStore)
{
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const auto lastLine = [](const CliRun& r) { return r.out.trimmed().split('\n').last(); };
    const QString saveInternal = QStringLiteral("--save-internal");
    const QString ring = QStringLiteral("--ring");
    const QString state = QStringLiteral("--state");
    const QString saveState = QStringLiteral("--save-state");

    ASSERT_EQ(Pipe({ring, "3", saveState, path("s1.vnx")}, "a\nb\nc\nd\n").exitCode, 0);
    ASSERT_EQ(Pipe({state, path("s1.vnx"), saveInternal, "0", ring, "5", saveState, path("s2.vnx")}, {}).exitCode, 0);
    const CliRun grown = Pipe({state, path("s2.vnx"), saveInternal, "1"}, "e\nf\ng\n");
    EXPECT_EQ(lastLine(grown), R"({"store":[["c"],["d"],["e"],["f"],["g"]]})");

    QByteArray first, second;
    for (int i = 1; i <= 10; ++i) {
        first += QByteArray::number(i) + '\n';
        second += QByteArray::number(i + 10) + '\n';
    }
    ASSERT_EQ(Pipe({ring, "10", saveState, path("r1.vnx")}, first).exitCode, 0);
    ASSERT_EQ(Pipe({state, path("r1.vnx"), saveInternal, "0", ring, "5", saveState, path("r2.vnx")}, {}).exitCode, 0);
    const CliRun shrunk = Pipe({state, path("r2.vnx"), saveInternal, "1", ring, "5", saveState, path("r3.vnx")}, second);
    EXPECT_EQ(lastLine(shrunk), R"({"store":[["16"],["17"],["18"],["19"],["20"]]})");
    const CliRun dump = RunCli({QStringLiteral("dump"), path("r3.vnx")});
    ASSERT_EQ(dump.exitCode, 0) << dump.err.constData();
    EXPECT_FALSE(dump.out.contains("\"11\"")) << dump.out.constData();
    EXPECT_TRUE(dump.out.contains("\"m_maxCount\": 5")) << dump.out.constData();
}

TEST(CliPipe, RefusesBadArgumentsAndDamagedState)
{
    QTemporaryDir dir;
    for (const QStringList& args :
         {QStringList{"--ring", "0"}, QStringList{"--keep", "2"}, QStringList{"--calc", "1", "2"},
          QStringList{"--calc", "1 +", "1", "1"}, QStringList{"--append"}, QStringList{"--bogus"}}) {
        EXPECT_EQ(Pipe(args, "x\n").exitCode, 2) << args.join(' ').toStdString();
    }
    const QString state = dir.filePath(QStringLiteral("bad.vnx"));
    {
        QFile f(state);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a state file");
    }
    const CliRun r = Pipe({QStringLiteral("--state"), state}, "x\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("bad.vnx")) << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliState, DumpThenPackGivesTheSameBytes)
{
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("s.vnx"));
    ASSERT_EQ(Pipe({QStringLiteral("--ring"), QStringLiteral("2"), QStringLiteral("--exclude"), QStringLiteral("#"),
                    QStringLiteral("--calc"), QStringLiteral("FD(0) > 1"), QStringLiteral("1"), QStringLiteral("2"),
                    QStringLiteral("--save-state"), state},
                   "1,\xE6\xB8\xA9\n2,\"q\"\"\"\n3\n#4\n")
                  .exitCode,
              0);
    const CliRun dumped = RunCli({QStringLiteral("dump"), state});
    ASSERT_EQ(dumped.exitCode, 0) << dumped.err.constData();
    // The ring is full: rows in file order, the write position at the oldest.
    EXPECT_TRUE(dumped.out.contains("\"m_data\": [\n      [\"3\", \"1\"],\n      [\"2\", \"q\\\"\", \"1\"]\n    ],\n"
                                    "    \"m_ring\": 1,\n    \"m_maxCount\": 2,\n    \"m_next\": 1\n"))
        << dumped.out.constData();
    EXPECT_TRUE(dumped.out.contains("\"m_calcFDs\": [\n    {\"m_expr\": [\"FD(0) > 1\", \"1\", \"2\"], \"m_reserved\": \"\"}\n  ]"));
    EXPECT_TRUE(dumped.out.contains("\"m_templateCount\": 2,\n  \"m_docCounts\": [1, 0]\n}\n"));

    const QString packed = dir.filePath(QStringLiteral("Vantrel.dat"));
    const CliRun pack = RunCli({QStringLiteral("pack"), QStringLiteral("-"), packed}, dumped.out);
    ASSERT_EQ(pack.exitCode, 0) << pack.err.constData();
    EXPECT_EQ(ReadAll(packed), ReadAll(state));
}

TEST(CliState, PackFillsDefaultsAndRefusesWhatCannotBeRead)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("s.vnx"));
    ASSERT_EQ(RunCli({QStringLiteral("pack"), QStringLiteral("-"), out}, "{\"m_templateCount\": 2}").exitCode, 0);
    const CliRun dumped = RunCli({QStringLiteral("dump"), out});
    EXPECT_TRUE(dumped.out.contains("\"m_maxCount\": 100")) << dumped.out.constData();
    EXPECT_TRUE(dumped.out.contains("\"m_docCounts\": [0, 0]"));

    struct Bad
    {
        const char* json;
        const char* message;
    };
    for (const Bad& bad : {
             Bad{"{\"m_saveCsv\": true}", "$.m_saveCsv: expected an integer"},
             Bad{"{\"m_calcFDs\": [{\"m_expr\": [\"1\"]}]}", "$.m_calcFDs[0].m_expr"},
             Bad{"{\"m_fdInfos\": [{\"m_target\": 1}]}", "$.m_fdInfos[0].m_target: unknown key"},
             Bad{"{\"m_templateCount\": 1, \"m_docCounts\": [1, 1]}", "$.m_templateCount"},
             Bad{"{\"m_docCounts\": [-1]}", "$.m_docCounts[0]"},
             Bad{"{\"type\": \"info\"}", "$.type"},
         }) {
        const CliRun r = RunCli({QStringLiteral("pack"), QStringLiteral("-"), out}, bad.json);
        EXPECT_EQ(r.exitCode, 1) << bad.json;
        EXPECT_TRUE(r.err.contains(bad.message)) << r.err.constData();
    }

    // A store whose write position does not fit is read into the consistent form, not refused.
    const QString odd = dir.filePath(QStringLiteral("odd.vnx"));
    const CliRun packed = RunCli({QStringLiteral("pack"), QStringLiteral("-"), odd},
                                 "{\"m_internalData\": {\"m_data\": [[\"x\"]], \"m_next\": 2}}");
    EXPECT_EQ(packed.exitCode, 0) << packed.err.constData();
    EXPECT_TRUE(RunCli({QStringLiteral("dump"), odd}).out.contains("\"m_next\": 0"));

    QFile cut(dir.filePath(QStringLiteral("cut.vnx")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(ReadAll(out).left(30));
    cut.close();
    const CliRun damaged = RunCli({QStringLiteral("dump"), cut.fileName()});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains("cut.vnx")) << damaged.err.constData();
    EXPECT_TRUE(damaged.err.contains("at byte offset 30")) << damaged.err.constData(); // inside the capacity
}

TEST(CliPipe, ReadsCountedMqttMessagesWithTheTopicInFront)
{
    if (!CMqttBroker::Available())
        GTEST_SKIP() << "mosquitto is not installed";
    CMqttBroker broker;
    ASSERT_TRUE(broker.Start());
    QProcess p;
    p.setProcessEnvironment(ChildEnvironment());
    p.start(QStringLiteral(VANTREL_CLI_PATH),
            {QStringLiteral("pipe"), QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("--mqtt"),
             QStringLiteral("mqtt://127.0.0.1:%1/plant/#?topic=1").arg(broker.Port())});
    ASSERT_TRUE(p.waitForStarted(30000));
    p.closeWriteChannel();
    // Published until the program has its three: it may subscribe after the first ones.
    CMqttPublisher publisher;
    ASSERT_TRUE(publisher.Connect(broker.Port()));
    int sent = 0;
    while (!p.waitForFinished(50) && sent < 2000)
        publisher.Publish("plant/a", QByteArray::number(sent++), 0);
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    const QList<QByteArray> lines = p.readAllStandardOutput().split('\n');
    ASSERT_EQ(lines.size(), 5); // three records, the store, the final newline
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lines[i].contains("\"fields\":[\"plant/a\",\"")) << lines[i].constData();
    EXPECT_TRUE(lines[3].startsWith("{\"store\":")) << lines[3].constData();

    const CliRun bad = RunCli({QStringLiteral("pipe"), QStringLiteral("--mqtt"), QStringLiteral("mqtt://h/a#")});
    EXPECT_EQ(bad.exitCode, 2);
    const CliRun noCount = RunCli({QStringLiteral("pipe"), QStringLiteral("--mqtt"), QStringLiteral("mqtt://h/t")});
    EXPECT_EQ(noCount.exitCode, 2);
}
