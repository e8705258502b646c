#include "app/Commands.h"

#include <algorithm>

namespace {

using R = EnableRule;

// Framework commands use texts of our own; the application's own are as they always read.
const std::vector<CCommandSpec> kTable = {
    {Command::SaveState, u"退避...", u"アプリケーションの状態をファイル保存\n退避", R::NotBusy},
    {Command::RestoreState, u"復元...", u"アプリケーションの保存ファイルを開く\n復元", R::NotBusy},
    {Command::FDConversion, u"FD番号変換設定...", u"FD番号を変換するリストを設定する\nFD変換", R::NotBusy},
    {Command::TcpInput, u"通信入力処理...", u"ソケット通信でデータを入力して描画する\n通信", R::NotBusy},
    {Command::MqttInput, u"MQTT入力処理...", u"MQTTブローカーからデータを入力して描画する\nMQTT", R::NotBusy},
    {Command::ClearInternal, u"クリア", u"内部データをクリア\n内部データクリア", R::NotBusyStoreNotEmpty},
    {Command::InternalInput, u"入力処理...", u"内部データを入力して描画する\n内部データ描画", R::NotBusyStoreNotEmpty},
    {Command::ExportInternalCsv, u"CSVファイル出力...", u"内部データをCSVファイルに名前を付けて保存する\n内部データCSV出力",
     R::NotBusyStoreNotEmpty},
    {Command::CsvInput, u"CSVファイル入力処理...", u"CSVファイルがらデータを入力して描画する\nCSVファイル処理", R::NotBusy},
    {Command::About, u"Vantrelについて(&A)...", u"プログラム情報、バージョン、著作権を表示します。\nバージョン情報", R::NotBusy},
    {Command::FileNew, u"新規作成(&N)", u"新しいドキュメントを作成します\n新規作成", R::NotBusy},
    {Command::FileOpen, u"開く(&O)...", u"既存のドキュメントを開きます\n開く", R::NotBusy},
    {Command::FileClose, u"閉じる(&C)", u"作業中のドキュメントを閉じます\n閉じる", R::NotBusyWithDocument},
    {Command::FileSave, u"上書き保存(&S)", u"作業中のドキュメントを上書きして保存します\n上書き保存", R::NotBusyWithDocument},
    {Command::FileSaveAs, u"名前を付けて保存(&A)...", u"作業中のドキュメントを新しい名前で保存します\n名前を付けて保存",
     R::NotBusyWithDocument},
    {Command::RecentFile1, u"最近使ったファイル", u"このドキュメントを開きます\n開く", R::NotBusy},
    {Command::RecentFile2, u"", u"このドキュメントを開きます\n開く", R::NotBusy},
    {Command::RecentFile3, u"", u"このドキュメントを開きます\n開く", R::NotBusy},
    {Command::RecentFile4, u"", u"このドキュメントを開きます\n開く", R::NotBusy},
    {Command::NewWindow, u"新しいウィンドウを開く(&N)", u"作業中のドキュメントを別のウィンドウで表示します\n新しいウィンドウ",
     R::NotBusyWithDocument},
    {Command::Exit, u"アプリケーションの終了(&X)", u"アプリケーションを終了します\n終了", R::NotBusy},
    {Command::ChangePicture, u"背景画像変更...", u"背景画像を別のファイルに変更します\n背景画像変更", R::DocumentIdle},
    {Command::PlotList, u"プロット情報...", u"プロットの一覧を編集します\nプロット情報", R::DocumentIdle},
    {Command::ConnectList, u"プロット結線情報...", u"プロットを結ぶ線の一覧を編集します\nプロット結線情報", R::DocumentIdle},
    {Command::BarList, u"棒情報...", u"棒の一覧を編集します\n棒情報", R::DocumentIdle},
    {Command::InfoSave, u"情報保存...", u"プロット、結線、棒の設定をファイルに保存します\n情報保存", R::DocumentIdle},
    {Command::InfoOpen, u"情報を開く...", u"プロット、結線、棒の設定をファイルから読み込みます\n情報を開く", R::DocumentIdle},
    {Command::WindowManager, u"ウィンドウ(&W)...", u"開いているウィンドウを一覧で管理します\nウィンドウ", R::Always},
    {Command::CustomizeToolbar, u"カスタマイズ...", u"ツール バーに表示するボタンを選びます\nカスタマイズ", R::Always},
    {Command::ViewToolbar, u"ツール バー(&T)", u"ツール バーの表示と非表示を切り替えます\nツール バー", R::Always},
    {Command::ViewStatusBar, u"ステータス バー(&S)", u"ステータス バーの表示と非表示を切り替えます\nステータス バー", R::Always},
    {Command::WindowCascade, u"重ねて表示(&C)", u"ウィンドウを重ねて並べます\n重ねて表示", R::Always},
    {Command::WindowTile, u"並べて表示(&T)", u"ウィンドウを重ならないように並べます\n並べて表示", R::Always},
    // Always: a run is when publishing matters most, and the dialog says when there is no view.
    {Command::WebPublish, u"Web公開(&W)...", u"表示中の画面をブラウザーから見られるように公開します\nWeb公開", R::Always},
};

QString Part(Command id, int index)
{
    const QString text = QString::fromUtf16(CommandSpec(id).m_status);
    return text.section(QLatin1Char('\n'), index, index);
}

} // namespace

const std::vector<CCommandSpec>& CommandTable()
{
    return kTable;
}

const CCommandSpec& CommandSpec(Command id)
{
    const auto it = std::find_if(kTable.begin(), kTable.end(), [id](const CCommandSpec& s) { return s.m_id == id; });
    return *it; // every Command has a row
}

QString CommandCaption(Command id, MenuKind menu)
{
    if (menu == MenuKind::Stretch) {
        if (id == Command::InfoSave)
            return QStringLiteral("情報保存");
        if (id == Command::TcpInput)
            return QStringLiteral("通信入力...");
    }
    return QString::fromUtf16(CommandSpec(id).m_caption);
}

QString CommandStatusText(Command id)
{
    return Part(id, 0);
}

QString CommandToolTip(Command id)
{
    return Part(id, 1);
}

bool IsCommandEnabled(Command id, const CCommandState& state)
{
    switch (CommandSpec(id).m_rule) {
    case EnableRule::Always:
        return true;
    case EnableRule::NotBusy:
        return !state.m_busy;
    case EnableRule::NotBusyStoreNotEmpty:
        return !state.m_busy && !state.m_storeEmpty;
    case EnableRule::NotBusyWithDocument:
        return !state.m_busy && state.m_hasActiveDocument;
    case EnableRule::DocumentIdle:
        return state.m_hasActiveDocument && state.m_activeDocumentIdle;
    case EnableRule::Unavailable:
        return false;
    }
    return false;
}
