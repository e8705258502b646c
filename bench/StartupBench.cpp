// Start-up of the desktop application to its main window shown, with the bundled demo
// document restored from the automatic state, as at every start after the first.
#include "app/DocManager.h"
#include "app/MainFrame.h"
#include "app/VantrelApp.h"
#include "bench/BenchMain.h"
#include "platform/UserInteraction.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

// One state with the demo open, written once by a first start.
QString PrepareState()
{
    const QString data = Folder().filePath(QStringLiteral("Data"));
    CScriptedInteraction ui;
    CVantrelApp app(&ui);
    CVantrelApp::COptions options;
    options.m_dataFolder = data;
    options.m_files = {QStringLiteral(VANTREL_DEMO_DIR "/demo.t2")};
    options.m_show = false;
    app.InitInstance(options);
    app.SaveAutomaticState();
    return data;
}

void BM_StartUpWithDemoRestored(benchmark::State& state)
{
    static const QString data = PrepareState();
    for (auto _ : state) {
        auto app = std::make_unique<CVantrelApp>();
        CVantrelApp::COptions options;
        options.m_dataFolder = data;
        app->InitInstance(options);
        QApplication::processEvents();
        if (app->Docs().DocumentCount(1) != 1)
            state.SkipWithError("the demo was not restored");
        state.PauseTiming();
        app->Frame().hide();
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpWithDemoRestored)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Folder().filePath(QStringLiteral("config")));
    return RunRegisteredBenchmarks(argc, argv);
}
