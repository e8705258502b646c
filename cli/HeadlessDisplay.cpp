#include "cli/HeadlessDisplay.h"

#include "cli/InputLines.h"
#include "pipeline/Pacing.h"
#include "render/ViewLayers.h"

#include <QRegularExpression>

std::optional<QString> CHeadlessRun::Open(const QString& document, std::optional<ViewKind> kind, QSize size,
                                          const QString& csvPath, const QString& statePath)
{
    if (!m_host.OpenDocument(document))
        return QString();
    const bool scrollDocument = m_host.DocumentCount(0) == 1;
    m_doc = m_host.Document(scrollDocument ? 0 : 1, 0);
    if (m_doc->m_pictureWidth < 1 || m_doc->m_pictureHeight < 1)
        return document + QStringLiteral(": the document has no picture size");
    const ViewKind chosen = kind.value_or(scrollDocument ? ViewKind::Scroll : ViewKind::Stretch);
    if (chosen == ViewKind::Scroll && (m_doc->m_pictureWidth > kMaxLayerSide || m_doc->m_pictureHeight > kMaxLayerSide))
        return document + QStringLiteral(": the picture size is too large for a view");

    QString error;
    if (!csvPath.isEmpty() && !m_csv.Open(csvPath, CTextFile::Mode::Read, &error))
        return error;
    m_main.m_pApp = &m_host;
    if (!ApplyStateFileOption(m_main, statePath, error))
        return error;
    m_main.m_saveCsv = 0; // a headless display never writes a capture file

    m_view = std::make_unique<CHeadlessView>(*m_doc, chosen, size);
    m_view->SetReplaySource({&m_main.m_storeLock, &m_main.m_internalData, &m_main.m_fdInfos});
    m_view->OnInitialUpdate();
    return std::nullopt;
}

void CHeadlessRun::Start(IDocumentNotifier& notifier)
{
    m_doc->m_notifier = &notifier;
    UseHeadlessPacing();
    m_main.PrepareStoreForRun();
    m_main.PrepareRun();
    m_main.StartThreads();
}

void CHeadlessRun::Stop()
{
    WaitPumping([&] { return m_main.IsReplayDone(); });
    m_main.StopThreads();
    m_doc->m_notifier = nullptr;
}

const char* ReadViewOptions(const QCommandLineParser& parser, const QCommandLineOption& viewOption,
                            const QCommandLineOption& sizeOption, std::optional<ViewKind>& kind, QSize& size)
{
    for (const QString& value : parser.values(viewOption)) {
        if (value == QLatin1String("scroll"))
            kind = ViewKind::Scroll;
        else if (value == QLatin1String("stretch"))
            kind = ViewKind::Stretch;
        else
            return "--view is scroll or stretch";
    }
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    for (const QString& value : parser.values(sizeOption)) {
        const QRegularExpressionMatch m = form.match(value);
        const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
        const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
        if (w < 1 || h < 1 || w > kMaxLayerSide || h > kMaxLayerSide)
            return "--size is WxH, each from 1 to 16384";
        size = QSize(w, h);
    }
    return nullptr;
}
