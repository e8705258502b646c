#pragma once

#include "app/DocManager.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"

#include <QObject>
#include <QSettings>
#include <QStringList>

#include <memory>

class CMainFrame;
class IUserInteraction;

// The application: the one pipeline, the documents, the main window, the settings and the
// commands that are not a window's own.
class CVantrelApp : public QObject, public IDocumentHost
{
    Q_OBJECT

public:
    struct COptions
    {
        QString m_dataFolder;   // empty: "Data" beside the executable, else the user's folder
        QStringList m_files;    // opened after the automatic state
        bool m_show = true;
    };

    // Without an interaction object the application shows Qt dialogs.
    explicit CVantrelApp(IUserInteraction* ui = nullptr);
    ~CVantrelApp() override;

    // Start-up in its historic order; false when the application must end.
    bool InitInstance(const COptions& options);

    CMain& Main() { return m_main; }
    CDocManager& Docs() { return *m_docs; }
    CMainFrame& Frame() { return *m_frame; }
    IUserInteraction& UI() { return *m_ui; }
    QSettings& Settings() { return m_settings; }
    const QString& DataFolder() const { return m_main.m_dataFolder; }
    QString AutomaticStatePath() const;

    // A run, a document's list or edit dialog, or an open data source window.
    bool IsBusy() const;
    // Data source windows count themselves in and out.
    void SetSourceWindowOpen(bool open);

    // The pre-run check of the input commands: false (after showing why) when a document's
    // connection does not fit its plots.
    bool CheckDocuments();

    // Commands that are not a document's or a window's own.
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int index);
    void OnSaveState();
    void OnRestoreState();
    void OnClearInternal();
    void OnExportInternalCsv();
    void OnAbout();
    // The automatic save before the main window closes: view records are refreshed first.
    void SaveAutomaticState();
    // The state commands and the automatic save write the documents as their windows are now.
    bool SaveStateTo(const QString& path);

    // IDocumentHost
    int32_t TemplateCount() const override;
    int32_t DocumentCount(int32_t templateIndex) const override;
    CVantrelDoc* Document(int32_t templateIndex, int32_t documentIndex) const override;
    bool OpenDocument(const QString& path) override;
    void CloseAllDocuments() override;
    CViewInfo MainWindowPlacement() const override;
    void MoveMainWindow(const CViewInfo& rect) override;

Q_SIGNALS:
    // Something the command rules read may have changed.
    void stateChanged();

private:
    CMain m_main;
    QSettings m_settings;
    bool m_wantsQtUi = false;
    std::unique_ptr<IUserInteraction> m_ownUi;
    IUserInteraction* m_ui = nullptr;
    std::unique_ptr<CDocManager> m_docs;
    std::unique_ptr<CMainFrame> m_frame;
    int m_sourceWindows = 0;
};

// The organisation and application names of the settings.
inline constexpr char kSettingsOrganization[] = "Halvex.";
inline constexpr char kSettingsApplication[] = "Vantrel";
