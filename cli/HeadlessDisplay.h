#pragma once

#include "cli/HeadlessHost.h"
#include "cli/HeadlessView.h"
#include "platform/TextFile.h"
#include "render/UpdateHint.h"
#include "runtime/Main.h"

#include <QCommandLineParser>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class CVantrelDoc;

// What render and serve run: a document opened from a file, the CSV file it is fed from (if
// any), the pipeline started from a state file (if any), and one headless view of the
// document. The members go in the order the pipeline needs: the host outlives the pipeline,
// which stops its workers on the documents when it goes.
class CHeadlessRun
{
public:
    CHeadlessRun() = default;
    CHeadlessRun(const CHeadlessRun&) = delete;
    CHeadlessRun& operator=(const CHeadlessRun&) = delete;

    // The view kind is the document's own unless one is asked for; the size is a stretch
    // view's client size. Nothing when all is ready; otherwise the reason, empty when the
    // host has said why on standard error already.
    std::optional<QString> Open(const QString& document, std::optional<ViewKind> kind, QSize size,
                                const QString& csvPath, const QString& statePath);
    // Starts the pipeline, the document's records going to notifier.
    void Start(IDocumentNotifier& notifier);
    // Waits for the replay of kept rows (a stop during it would leave lines queued), stops the
    // pipeline and takes the notifier off the document.
    void Stop();

    CVantrelDoc& Doc() { return *m_doc; }
    CMain& Main() { return m_main; }
    CHeadlessView& View() { return *m_view; }
    CTextFile& Csv() { return m_csv; }

private:
    CHeadlessHost m_host;
    CTextFile m_csv;
    CMain m_main;
    CVantrelDoc* m_doc = nullptr;
    std::unique_ptr<CHeadlessView> m_view;
};

// Reads --view (scroll or stretch) and --size (WxH, each side from 1 to the largest layer
// side); the last of each counts. The problem, for the usage message, when one is wrong.
const char* ReadViewOptions(const QCommandLineParser& parser, const QCommandLineOption& viewOption,
                            const QCommandLineOption& sizeOption, std::optional<ViewKind>& kind, QSize& size);

// The client size of a stretch view when none is given.
inline constexpr QSize kDefaultHeadlessClient(1280, 800);
