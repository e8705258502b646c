#pragma once

#include "platform/UserInteraction.h"

#include <cstdio>

// Hands everything to the real interaction; while echoing, message texts also go to standard
// error, so that an unattended start (a control-room screen) leaves a trace of why it did not run.
class CEchoingInteraction : public IUserInteraction
{
public:
    explicit CEchoingInteraction(IUserInteraction& inner)
        : m_inner(inner) {}

    void SetEcho(bool echo) { m_echo = echo; }
    // A text that is shown elsewhere than in a message box.
    void Echo(const QString& text) const
    {
        if (m_echo)
            std::fprintf(stderr, "vantrel: %s\n", qUtf8Printable(text));
    }

    MessageAnswer MessageBox(const QString& text, const QString& caption, MessageIcon icon,
                             MessageButtons buttons) override
    {
        Echo(text);
        return m_inner.MessageBox(text, caption, icon, buttons);
    }
    std::optional<QString> OpenFile(const FileDialogRequest& request) override { return m_inner.OpenFile(request); }
    std::optional<QString> SaveFile(const FileDialogRequest& request) override { return m_inner.SaveFile(request); }
    std::optional<COLORREF> ChooseColor(COLORREF initial) override { return m_inner.ChooseColor(initial); }
    std::optional<FontChoice> ChooseFont(const FontChoice& initial) override { return m_inner.ChooseFont(initial); }

private:
    IUserInteraction& m_inner;
    bool m_echo = false;
};
