// The application's own commands: documents, the state, the internal data, About.
#include "app/AppDialogs.h"
#include "app/MainFrame.h"
#include "app/VantrelApp.h"
#include "dialogs/LongWork.h"
#include "platform/UserInteraction.h"
#include "runtime/StateFile.h"


#include <mutex>

void CVantrelApp::OnFileNew()
{
    int templateIndex = 0;
    if (DocTemplates().size() > 1) {
        CDialogNewType dialog(m_frame.get());
        if (dialog.exec() != QDialog::Accepted)
            return;
        templateIndex = dialog.SelectedTemplate();
    }
    m_docs->NewDocument(templateIndex);
}

void CVantrelApp::OnFileOpen()
{
    FileDialogRequest request;
    for (const CDocTemplate& t : DocTemplates())
        request.filter += t.Filter();
    request.filter += QStringLiteral("すべてのファイル (*.*)|*.*||");
    request.title = QStringLiteral("開く");
    request.flags = FileDialogFileMustExist | FileDialogHideReadOnly;
    if (const std::optional<QString> path = m_ui->OpenFile(request))
        m_docs->OpenDocumentFile(*path);
}

void CVantrelApp::OnOpenRecentFile(int index)
{
    const QStringList files = m_docs->RecentFiles();
    if (index >= 0 && index < files.size())
        m_docs->OpenDocumentFile(files.at(index));
}

void CVantrelApp::OnSaveState()
{
    m_ui->MessageBox(QStringLiteral("退避させるフォルダを用意して、一つのフォルダに一つだけ退避させてください."), QString(),
                     MessageIcon::None, MessageButtons::Ok);
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("vnx");
    request.initialName = QStringLiteral("*.vnx");
    request.filter = QStringLiteral("Vantrel(*.vnx)|*.vnx||");
    request.title = QStringLiteral("退避するファイルを指定してください");
    request.flags = FileDialogPathMustExist | FileDialogOverwritePrompt;
    const std::optional<QString> path = m_ui->SaveFile(request);
    if (!path)
        return;
    bool ok = false;
    bool stopped = false;
    {
        CLongWork work(m_frame.get(), QStringLiteral("退避中..."), true);
        ok = SaveStateTo(*path, nullptr, work.Callback());
        stopped = work.Stopped();
    }
    // A stopped save kept the previous file; that is what the user asked for.
    if (!ok && !stopped)
        m_ui->ShowError(QStringLiteral("退避できませんでした."));
}

void CVantrelApp::OnRestoreState()
{
    FileDialogRequest request;
    request.filter = QStringLiteral("Vantrel(*.vnx)|*.vnx||");
    request.title = QStringLiteral("復元するファイルを指定してください");
    request.flags = FileDialogFileMustExist | FileDialogHideReadOnly;
    const std::optional<QString> path = m_ui->OpenFile(request);
    if (!path)
        return;
    // Only the reading can be stopped: until it is complete nothing has changed. The window
    // goes before the documents open, which may have messages of their own.
    CStateRecord record;
    bool read = false;
    bool stopped = false;
    {
        CLongWork work(m_frame.get(), QStringLiteral("復元中..."), true);
        read = ReadStateFile(*path, record, nullptr, work.Callback());
        stopped = work.Stopped();
    }
    if (read)
        ApplyRestoredState(m_main, *path, std::move(record));
    else if (!stopped) // a file that cannot be read changes nothing; the user is told so
        m_ui->ShowError(QStringLiteral("開けませんでした."));
    Q_EMIT stateChanged();
}

void CVantrelApp::OnClearInternal()
{
    {
        std::lock_guard lock(m_main.m_storeLock);
        m_main.m_internalData.RemoveAll();
    }
    Q_EMIT stateChanged();
}

void CVantrelApp::OnExportInternalCsv()
{
    FileDialogRequest request;
    request.defaultExtension = QStringLiteral("csv");
    request.filter = QStringLiteral("csv File (*.csv)|*.csv||");
    request.title = QStringLiteral("出力するCSVファイル名を指定してください");
    request.flags = FileDialogOverwritePrompt;
    const std::optional<QString> path = m_ui->SaveFile(request);
    if (!path)
        return;
    QString error;
    bool ok = false;
    bool stopped = false;
    {
        CLongWork work(m_frame.get(), QStringLiteral("CSVファイル出力中..."), true);
        ok = m_main.ExportInternalCsv(*path, error, work.Callback());
        stopped = work.Stopped();
    }
    if (!ok && !stopped)
        m_ui->ShowError(error);
}

void CVantrelApp::OnAbout()
{
    CAboutDlg dialog(m_frame.get());
    dialog.exec();
}
