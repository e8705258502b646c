#pragma once

#include "sources/WebAccess.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class IUserInteraction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// What the publishing dialog drives: at most one document view served to browsers at a time.
class IWebPublishing
{
public:
    enum class StartResult { Started, NothingToPublish, CannotListen };

    virtual ~IWebPublishing() = default;

    // Serves the active document view; with CannotListen the reason is in error.
    virtual StartResult StartPublishing(const CWebAccess& access, QString* error) = 0;
    virtual void StopPublishing() = 0;
    virtual bool IsPublishing() const = 0;
    // While publishing: the access as served (with the port the system chose for 0), the
    // served window's title and the number of browsers watching.
    virtual CWebAccess PublishedAccess() const = 0;
    virtual QString PublishedTitle() const = 0;
    virtual int32_t ViewerCount() const = 0;
};

// "Web公開": where the active view is served and with which token, the address to give to
// viewers, and the publication's state. Modeless; closing it leaves the publication running.
class CDialogWebPublish : public QDialog
{
    Q_OBJECT

public:
    CDialogWebPublish(IWebPublishing& publishing, IUserInteraction& ui, QWidget* parent = nullptr);

    void SetValues(const CWebAccess& access);
    // The settings as typed; a null address when the text is not one.
    CWebAccess Values() const;

    QComboBox* AddressBox() const { return m_address; }
    QSpinBox* PortBox() const { return m_port; }
    QLineEdit* TokenEdit() const { return m_token; }
    QLineEdit* UrlEdit() const { return m_url; }
    QLabel* StateLabel() const { return m_state; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* StopButton() const { return m_stop; }

public Q_SLOTS:
    // Shows the publication as it stands now.
    void Refresh();
    // Checks the fields, makes up a token when the address needs one, and starts.
    void OnStart();
    void OnStop();

Q_SIGNALS:
    // A publication started with these settings (the port as typed, 0 included).
    void published(const CWebAccess& access);

private:
    void ShowProblem(const QString& text, QWidget* field);
    void ShowPreviewUrl();
    void ShowUrl(const QString& url);

    IWebPublishing& m_publishing;
    IUserInteraction& m_ui;
    QComboBox* m_address;
    QSpinBox* m_port;
    QLineEdit* m_token;
    QPushButton* m_generate;
    QLineEdit* m_url;
    QLabel* m_state;
    QPushButton* m_start;
    QPushButton* m_stop;
};
