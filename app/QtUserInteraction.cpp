#include "app/QtUserInteraction.h"

#include "app/ColorRef.h"
#include "app/DialogFontColor.h"
#include "app/FileDialogFilter.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {

bool IsWildcard(const QString& name)
{
    static const QRegularExpression wildcard(QStringLiteral("[*?]"));
    return name.contains(wildcard);
}

// Qt's file dialog with the checks the callers ask for, worded in Japanese, made when the
// user confirms so that the dialog stays open on a refusal.
class CFileChooserDialog : public QFileDialog
{
public:
    CFileChooserDialog(QWidget* parent, const FileDialogRequest& request, bool save, const QString& folder)
        : QFileDialog(parent)
        , m_request(request)
        , m_save(save)
        , m_filters(ParseFileDialogFilter(request.filter))
    {
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite); // asked in accept(), in Japanese
        setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        setFileMode(!save && (request.flags & FileDialogFileMustExist) ? QFileDialog::ExistingFile
                                                                       : QFileDialog::AnyFile);
        setWindowTitle(!request.title.isEmpty() ? request.title
                       : save                   ? QStringLiteral("名前を付けて保存")
                                                : QStringLiteral("開く"));
        LabelField(QFileDialog::LookIn, "lookInLabel", "lookInCombo", QStringLiteral("ファイルの場所"), u'I');
        LabelField(QFileDialog::FileName, "fileNameLabel", "fileNameEdit", QStringLiteral("ファイル名"), u'N');
        LabelField(QFileDialog::FileType, "fileTypeLabel", "fileTypeCombo", QStringLiteral("ファイルの種類"), u'T');
        setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存(&S)") : QStringLiteral("開く(&O)"));
        setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));

        QStringList nameFilters;
        for (const FileDialogFilterEntry& entry : m_filters)
            nameFilters.append(entry.nameFilter);
        if (!nameFilters.isEmpty())
            setNameFilters(nameFilters);
        UseFilter(0);
        connect(this, &QFileDialog::filterSelected, this, [this](const QString& nameFilter) {
            for (size_t i = 0; i < m_filters.size(); ++i)
                if (m_filters[i].nameFilter == nameFilter)
                    UseFilter(i);
        });

        PlaceInitialName(folder);
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.isEmpty())
            return;
        const QFileInfo info(files.first());
        if (info.isDir()) {
            QFileDialog::accept(); // opens the folder
            return;
        }
        if (IsWildcard(info.fileName()))
            return;
        const bool mustExist = !m_save && (m_request.flags & FileDialogFileMustExist);
        if ((mustExist || (m_request.flags & FileDialogPathMustExist)) && !info.absoluteDir().exists()) {
            Warn(QStringLiteral("%1\nパスが存在しません。\nパスを確認してください。").arg(info.absolutePath()));
            return;
        }
        if (mustExist && !info.isFile()) {
            Warn(QStringLiteral("%1\nファイルが見つかりません。\nファイル名を確認してください。").arg(info.fileName()));
            return;
        }
        if (m_save && (m_request.flags & FileDialogOverwritePrompt) && info.exists() && !AskOverwrite(info))
            return;
        QFileDialog::accept();
    }

private:
    // Qt's dialog leaves some of its labels without a buddy; a mnemonic is shown only
    // where one could be given.
    void LabelField(QFileDialog::DialogLabel which, const char* labelName, const char* fieldName,
                    const QString& caption, char16_t key)
    {
        QLabel* label = findChild<QLabel*>(QLatin1String(labelName));
        QWidget* field = findChild<QWidget*>(QLatin1String(fieldName));
        const bool buddy = label && field;
        if (buddy) {
            label->setBuddy(field);
            field->setAccessibleName(caption);
        }
        setLabelText(which, buddy ? QStringLiteral("%1(&%2):").arg(caption, QChar(key)) : caption + u':');
    }

    void UseFilter(size_t index)
    {
        const QStringList patterns = index < m_filters.size() ? m_filters[index].patterns : QStringList();
        setDefaultSuffix(DefaultSuffixFor(patterns, m_request.defaultExtension));
    }

    void PlaceInitialName(const QString& folder)
    {
        const QString name = m_request.initialName;
        const QFileInfo info(name);
        const bool hasFolder = name.contains(u'/');
        if (hasFolder)
            setDirectory(info.absolutePath());
        else if (!folder.isEmpty() && QDir(folder).exists())
            setDirectory(folder);
        // A bare pattern such as "*.vnx" only hints at the filter; the name field stays empty.
        if (!name.isEmpty() && !IsWildcard(info.fileName()))
            selectFile(hasFolder ? info.absoluteFilePath() : name);
    }

    void Warn(const QString& text)
    {
        QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    bool AskOverwrite(const QFileInfo& info)
    {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QStringLiteral("%1 は既に存在します。\n上書きしますか?").arg(info.fileName()),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    FileDialogRequest m_request;
    bool m_save;
    std::vector<FileDialogFilterEntry> m_filters;
};

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// What a box closed without a button answers: the way out that its buttons offer.
MessageAnswer ClosedAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return MessageAnswer::Cancel;
}

} // namespace

CQtUserInteraction::CQtUserInteraction(QWidget* parent)
    : m_parent(parent)
{
}

QString CQtUserInteraction::ApplicationTitle()
{
    return QStringLiteral("Vantrel");
}

MessageAnswer CQtUserInteraction::MessageBox(const QString& text, const QString& caption, MessageIcon icon,
                                             MessageButtons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.isEmpty() ? ApplicationTitle() : caption);
    // Messages quote file names and user input; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(BoxIcon(icon));

    struct Choice
    {
        QMessageBox::StandardButton button;
        const char16_t* text;
        MessageAnswer answer;
    };
    static constexpr Choice kOk{QMessageBox::Ok, u"OK", MessageAnswer::Ok};
    static constexpr Choice kCancel{QMessageBox::Cancel, u"キャンセル", MessageAnswer::Cancel};
    static constexpr Choice kYes{QMessageBox::Yes, u"はい(&Y)", MessageAnswer::Yes};
    static constexpr Choice kNo{QMessageBox::No, u"いいえ(&N)", MessageAnswer::No};
    std::vector<Choice> choices;
    switch (buttons) {
    case MessageButtons::Ok:
        choices = {kOk};
        break;
    case MessageButtons::OkCancel:
        choices = {kOk, kCancel};
        break;
    case MessageButtons::YesNo:
        choices = {kYes, kNo};
        break;
    case MessageButtons::YesNoCancel:
        choices = {kYes, kNo, kCancel};
        break;
    }
    QMessageBox::StandardButtons standard;
    for (const Choice& choice : choices)
        standard |= choice.button;
    box.setStandardButtons(standard);
    for (const Choice& choice : choices)
        box.button(choice.button)->setText(QString::fromUtf16(choice.text));
    box.setDefaultButton(choices.front().button);
    if (buttons == MessageButtons::OkCancel || buttons == MessageButtons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);

    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (const Choice& choice : choices)
        if (clicked && clicked == box.button(choice.button))
            return choice.answer;
    return ClosedAnswer(buttons);
}

std::optional<QString> CQtUserInteraction::OpenFile(const FileDialogRequest& request)
{
    return ChooseFile(request, false);
}

std::optional<QString> CQtUserInteraction::SaveFile(const FileDialogRequest& request)
{
    return ChooseFile(request, true);
}

std::optional<QString> CQtUserInteraction::ChooseFile(const FileDialogRequest& request, bool save)
{
    CFileChooserDialog dialog(m_parent, request, save, m_lastFolder);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    const QString path = QDir::cleanPath(files.first());
    m_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

std::optional<COLORREF> CQtUserInteraction::ChooseColor(COLORREF initial)
{
    QColorDialog dialog(QColorFromColorRef(initial), m_parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("色の設定"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return KeepUnlessChanged(initial, dialog.selectedColor());
}

std::optional<FontChoice> CQtUserInteraction::ChooseFont(const FontChoice& initial)
{
    CDialogFontColor dialog(m_parent);
    dialog.setValues(initial);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}
