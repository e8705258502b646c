#include "platform/UserInteraction.h"

namespace {

template <typename T>
T TakeFront(std::vector<T>& script, T fallback)
{
    if (!script.empty()) {
        std::swap(fallback, script.front());
        script.erase(script.begin());
    }
    return fallback;
}

} // namespace

MessageAnswer CScriptedInteraction::MessageBox(const QString& text, const QString& caption, MessageIcon icon,
                                               MessageButtons buttons)
{
    calls.push_back({Call::Kind::MessageBox, text, caption, icon, buttons, {}});
    const MessageAnswer fallback = (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel)
                                       ? MessageAnswer::Yes
                                       : MessageAnswer::Ok;
    return TakeFront(messageAnswers, fallback);
}

std::optional<QString> CScriptedInteraction::OpenFile(const FileDialogRequest& request)
{
    calls.push_back({Call::Kind::OpenFile, request.title, {}, MessageIcon::None, MessageButtons::Ok, request});
    return TakeFront<std::optional<QString>>(fileAnswers, std::nullopt);
}

std::optional<QString> CScriptedInteraction::SaveFile(const FileDialogRequest& request)
{
    calls.push_back({Call::Kind::SaveFile, request.title, {}, MessageIcon::None, MessageButtons::Ok, request});
    return TakeFront<std::optional<QString>>(fileAnswers, std::nullopt);
}

std::optional<COLORREF> CScriptedInteraction::ChooseColor(COLORREF)
{
    calls.push_back({Call::Kind::ChooseColor, {}, {}, MessageIcon::None, MessageButtons::Ok, {}});
    return TakeFront<std::optional<COLORREF>>(colorAnswers, std::nullopt);
}

std::optional<FontChoice> CScriptedInteraction::ChooseFont(const FontChoice&)
{
    calls.push_back({Call::Kind::ChooseFont, {}, {}, MessageIcon::None, MessageButtons::Ok, {}});
    return TakeFront<std::optional<FontChoice>>(fontAnswers, std::nullopt);
}

QStringList CScriptedInteraction::Messages() const
{
    QStringList texts;
    for (const Call& call : calls)
        if (call.kind == Call::Kind::MessageBox)
            texts << call.text;
    return texts;
}
