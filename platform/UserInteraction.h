#pragma once

#include "platform/LogFont.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

using COLORREF = uint32_t; // 0x00BBGGRR

// Every message box and chooser the program shows goes through this interface; the
// application implements it with Qt dialogs, tests with CScriptedInteraction.
enum class MessageIcon { None, Stop, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

enum FileDialogFlag : uint32_t {
    FileDialogNone = 0,
    FileDialogPathMustExist = 1u << 0,
    FileDialogFileMustExist = 1u << 1,
    FileDialogOverwritePrompt = 1u << 2,
    FileDialogHideReadOnly = 1u << 3,
};

struct FileDialogRequest
{
    QString filter;           // "csv File (*.csv)|*.csv||"
    QString title;
    QString defaultExtension; // without the dot
    QString initialName;
    uint32_t flags = FileDialogNone;
};

struct FontChoice
{
    LOGFONTW font;
    COLORREF color = 0;
};

class IUserInteraction
{
public:
    virtual ~IUserInteraction() = default;

    virtual MessageAnswer MessageBox(const QString& text, const QString& caption, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<COLORREF> ChooseColor(COLORREF initial) = 0;
    virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial) = 0;

    // Convenience for the common case: an error with the stop icon and an OK button.
    void ShowError(const QString& text, const QString& caption = QString())
    {
        MessageBox(text, caption, MessageIcon::Stop, MessageButtons::Ok);
    }
};

// Records every call and answers from scripts; an empty script answers OK/Yes for message
// boxes and cancel for choosers.
class CScriptedInteraction : public IUserInteraction
{
public:
    struct Call
    {
        enum class Kind { MessageBox, OpenFile, SaveFile, ChooseColor, ChooseFont } kind;
        QString text;     // message text, or the chooser's title
        QString caption;
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        FileDialogRequest file;
    };

    std::vector<Call> calls;
    std::vector<MessageAnswer> messageAnswers;                // taken front first
    std::vector<std::optional<QString>> fileAnswers;          // open and save choosers
    std::vector<std::optional<COLORREF>> colorAnswers;
    std::vector<std::optional<FontChoice>> fontAnswers;

    MessageAnswer MessageBox(const QString& text, const QString& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<COLORREF> ChooseColor(COLORREF initial) override;
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;

    // Message texts shown so far, in order.
    QStringList Messages() const;
};
