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

std::optional<QSize> ParseViewSize(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > kMaxLayerSide || h > kMaxLayerSide)
        return std::nullopt;
    return QSize(w, h);
}

std::optional<ViewKind> ParseViewKind(const QString& text)
{
    if (text == QLatin1String("scroll"))
        return ViewKind::Scroll;
    if (text == QLatin1String("stretch"))
        return ViewKind::Stretch;
    return std::nullopt;
}
