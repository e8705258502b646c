#pragma once

#include "app/DocManager.h"
#include "app/EchoingInteraction.h"
#include "dialogs/DialogParts.h"
#include "runtime/DocumentHost.h"
#include "runtime/Main.h"
#include "sources/MqttSettings.h"

#include <QObject>
#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

class CDesignEditor;
class CMainFrame;
class QDialog;
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
        bool m_echoMessages = false; // messages also to standard error (unattended starts)
    };

    // Without an interaction object the application shows Qt dialogs.
    explicit CVantrelApp(IUserInteraction* ui = nullptr);
    ~CVantrelApp() override;

    // Start-up in its historic order; false when the application must end.
    bool InitInstance(const COptions& options);

    CMain& Main() { return m_main; }
    CDocManager& Docs() { return *m_docs; }
    CMainFrame& Frame() { return *m_frame; }
    CDesignEditor& Editor() { return *m_editor; }
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

    // The input commands (SourceCommands.cpp). Without the options dialog the options of the
    // restored state apply; a capture file named here is used instead of asking for one.
    bool OnTcpInput(bool askOptions = true, const QString& captureFile = QString());
    // Without unattended settings the settings dialog asks for them and they are remembered
    // (all but the password).
    bool OnMqttInput(bool askOptions = true, const QString& captureFile = QString(),
                     std::optional<CMqttSettings> unattended = std::nullopt);
    // With a file the player opens it without asking and presses PLAY once.
    bool OnCsvInput(const QString& file = QString(), int32_t linesPerPlay = 1, const QString& captureFile = QString());
    void OnInternalInput();
    void OnFDConversion();
    // The pacing of the workers from the settings: fixed pauses, or waiting for work.
    void ApplyPacingSetting();
    // How modal dialogs of the commands run (tests answer them without a nested loop).
    void SetDialogRunner(DialogRunner runner);
    // Messages also go to standard error while set (unattended starts).
    void SetEchoMessages(bool echo);
    // The automatic save before the main window closes: view records are refreshed first.
    // A failure cannot stop the close and shows no message; it is logged and returned.
    bool SaveAutomaticState();
    // The state commands and the automatic save write the documents as their windows are now.
    bool SaveStateTo(const QString& path, QString* error = nullptr, const ProgressCallback& progress = {});

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
    bool PrepareLiveRun(bool askOptions, const QString& captureFile);
    void WatchSourceWindow(QDialog* window);

    CMain m_main;
    QSettings m_settings;
    bool m_wantsQtUi = false;
    std::unique_ptr<IUserInteraction> m_ownUi;
    IUserInteraction* m_ui = nullptr;
    std::unique_ptr<CEchoingInteraction> m_echo;
    std::unique_ptr<CDocManager> m_docs;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CDesignEditor> m_editor;
    int m_sourceWindows = 0;
    DialogRunner m_runDialog = ExecRunner();
};

// The organisation and application names of the settings.
inline constexpr char kSettingsOrganization[] = "Halvex.";
inline constexpr char kSettingsApplication[] = "Vantrel";
