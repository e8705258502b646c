// The input commands: the pre-run check, the options, the capture file, and the data source
// windows, which own their run until they close.
#include "app/MainFrame.h"
#include "app/VantrelApp.h"
#include "dialogs/DialogFDList.h"
#include "dialogs/DialogInputCsvFile.h"
#include "dialogs/DialogInputDataOption.h"
#include "dialogs/DialogInputInternalData.h"
#include "dialogs/DialogInputMqtt.h"
#include "dialogs/DialogInputSocket.h"
#include "dialogs/DialogMqttSettings.h"
#include "pipeline/Pacing.h"
#include "platform/UserInteraction.h"

#include <QDialog>

namespace {

const QString kUnpacedKey = QStringLiteral("Input/unpaced");

} // namespace

void CVantrelApp::ApplyPacingSetting()
{
    CPacing pacing = CPacing::Default();
    if (m_settings.value(kUnpacedKey, false).toBool()) {
        pacing = CPacing::Unpaced();
        pacing.m_waitForWork = true;
    }
    SetPacing(pacing);
}

void CVantrelApp::WatchSourceWindow(QDialog* window)
{
    SetSourceWindowOpen(true);
    connect(window, &QDialog::finished, this, [this] { SetSourceWindowOpen(false); });
}

bool CVantrelApp::PrepareLiveRun(bool askOptions, const QString& captureFile)
{
    if (!CheckDocuments())
        return false;
    if (askOptions) {
        CDialogInputDataOption options(m_main, *m_ui, m_frame.get());
        options.SetUnpaced(m_settings.value(kUnpacedKey, false).toBool());
        if (m_runDialog(options) != QDialog::Accepted)
            return false;
        m_settings.setValue(kUnpacedKey, options.Unpaced());
        m_main.ApplyRingOptions(options.Ring(), options.Capacity());
    }
    ApplyPacingSetting();
    if (!m_main.m_saveCsv)
        return true;
    if (captureFile.isEmpty())
        return m_main.OpenCaptureFile(*m_ui);
    QString error;
    if (m_main.OpenCaptureFileAt(captureFile, m_main.m_appendCsv != 0, &error))
        return true;
    m_ui->ShowError(m_main.m_appendCsv ? QStringLiteral("CSVファイルをオープンできませんでした.")
                                       : QStringLiteral("出力CSVファイルをオープンできませんでした."));
    return false;
}

bool CVantrelApp::OnTcpInput(bool askOptions, const QString& captureFile)
{
    if (!PrepareLiveRun(askOptions, captureFile))
        return false;
    auto* dialog = new CDialogInputSocket(m_main, *m_ui, m_frame.get());
    WatchSourceWindow(dialog);
    // A port that cannot be opened is shown in the window, which stays until キャンセル.
    if (dialog->Start())
        return true;
    m_echo->Echo(dialog->MessageText());
    return false;
}

bool CVantrelApp::OnMqttInput(bool askOptions, const QString& captureFile, std::optional<CMqttSettings> unattended)
{
    if (!PrepareLiveRun(askOptions, captureFile))
        return false;
    CMqttSettings settings;
    if (unattended) {
        settings = *unattended;
    } else {
        CDialogMqttSettings dialog(*m_ui, m_frame.get());
        dialog.SetValues(LoadMqttSettings(m_settings));
        if (m_runDialog(dialog) != QDialog::Accepted) {
            if (m_main.m_saveCsv)
                m_main.CloseCaptureFile();
            return false;
        }
        settings = dialog.Values();
        SaveMqttSettings(m_settings, settings);
    }
    auto* dialog = new CDialogInputMqtt(m_main, *m_ui, m_frame.get());
    WatchSourceWindow(dialog);
    // Settings the client refuses are shown in the window, which stays until キャンセル.
    if (dialog->Start(settings))
        return true;
    m_echo->Echo(dialog->MessageText());
    return false;
}

bool CVantrelApp::OnCsvInput(const QString& file, int32_t linesPerPlay, const QString& captureFile)
{
    const bool unattended = !file.isEmpty();
    if (!PrepareLiveRun(!unattended, captureFile))
        return false;
    auto* dialog = new CDialogInputCsvFile(m_main, *m_ui, m_frame.get());
    QString path = file;
    if (!unattended) {
        FileDialogRequest request;
        request.filter = QStringLiteral("CSV files (*.csv)|*.csv|All File(*.*)|*.*||");
        request.title = QStringLiteral("読み込むCSVテキスト(Shift-JIS)ファイルを指定してください");
        request.flags = FileDialogFileMustExist | FileDialogHideReadOnly;
        const std::optional<QString> chosen = m_ui->OpenFile(request);
        if (!chosen) {
            delete dialog;
            if (m_main.m_saveCsv)
                m_main.CloseCaptureFile();
            return false;
        }
        path = *chosen;
    }
    if (!dialog->OpenInputFile(path)) {
        delete dialog;
        if (m_main.m_saveCsv)
            m_main.CloseCaptureFile();
        m_ui->ShowError(QStringLiteral("入力CSVファイルをオープンできませんでした."));
        return false;
    }
    WatchSourceWindow(dialog);
    dialog->Start();
    if (unattended) {
        dialog->SetLinesPerPlay(linesPerPlay);
        dialog->Play();
    }
    return true;
}

void CVantrelApp::OnInternalInput()
{
    if (!CheckDocuments())
        return;
    ApplyPacingSetting();
    auto* dialog = new CDialogInputInternalData(m_main, *m_ui, m_frame.get());
    WatchSourceWindow(dialog);
    dialog->Start();
}

void CVantrelApp::OnFDConversion()
{
    CDialogFDList dialog(m_main.m_fdInfos, *m_ui, m_frame.get());
    if (m_runDialog(dialog) == QDialog::Accepted)
        m_main.m_fdInfos = dialog.Result();
}
