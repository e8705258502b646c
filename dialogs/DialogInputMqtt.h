#pragma once

#include "dialogs/LiveInputWindow.h"
#include "sources/MqttSettings.h"

class CMqttClient;
class QLabel;

// The MQTT input window, over the client: where it connects, the connection state, the
// lines received and the lines dropped under overload.
class CDialogInputMqtt : public CLiveInputWindow
{
    Q_OBJECT

public:
    CDialogInputMqtt(CMain& main, IUserInteraction& ui, QWidget* parent = nullptr);
    ~CDialogInputMqtt() override;

    // Starts the run and the client (once) and shows the window. Settings the client cannot use leave
    // the run going with the reason shown and only キャンセル left; false in that case. A
    // broker that is not there yet is no failure: the client keeps trying.
    bool Start(const CMqttSettings& settings);

    CMqttClient& Client() const { return *m_client; }
    // The texts as shown (they follow the client within a fraction of a second).
    QString BrokerText() const;
    QString TopicText() const;
    QString ProgressText() const;
    QString MessageText() const;

protected:
    void StopSource() override;
    void RefreshTexts() override;

private:
    CMqttClient* m_client;
    QLabel* m_broker;
    QLabel* m_topic;
    QLabel* m_progress;
    QLabel* m_message;
    bool m_up = false;
};
