#pragma once

#include "dialogs/DialogWebPublish.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CLiveWebServer;
class CMain;
class CViewWidget;

// Serves one document view to browsers: its overlay as the picture, the pipeline's counts as
// the status. The publication ends when the view goes. UI thread only.
class CWebPublisher : public QObject, public IWebPublishing
{
    Q_OBJECT

public:
    // activeView: the view a start serves (null: none); sources: the data sources now feeding
    // the pipeline.
    CWebPublisher(CMain& main, std::function<CViewWidget*()> activeView, std::function<int32_t()> sources,
                  QObject* parent = nullptr);
    ~CWebPublisher() override;

    StartResult StartPublishing(const CWebAccess& access, QString* error) override;
    void StopPublishing() override;
    bool IsPublishing() const override { return m_server != nullptr; }
    CWebAccess PublishedAccess() const override;
    QString PublishedTitle() const override;
    int32_t ViewerCount() const override;

    CViewWidget* PublishedView() const { return m_view; }

Q_SIGNALS:
    // Started, stopped, or the number of viewers changed.
    void stateChanged();

private:
    CMain& m_main;
    std::function<CViewWidget*()> m_activeView;
    std::function<int32_t()> m_sources;
    QPointer<CViewWidget> m_view;
    std::unique_ptr<CLiveWebServer> m_server;
};

// The data sources of the main window's open input windows: a TCP window's connections, an
// MQTT window whose client is connected, a CSV player window.
int32_t ConnectedSources(const QObject& frame);
