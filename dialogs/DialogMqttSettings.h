#pragma once

#include "sources/MqttSettings.h"

#include <QDialog>

class IUserInteraction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;

// "MQTT入力設定": where the MQTT input connects and what it subscribes to. OK checks the
// settings; the first faulty field's message is shown and that field takes the focus.
class CDialogMqttSettings : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogMqttSettings(IUserInteraction& ui, QWidget* parent = nullptr);

    void SetValues(const CMqttSettings& settings);
    // The settings as typed (before OK they may not pass the check).
    CMqttSettings Values() const;

    // The field that shows a setting.
    QWidget* Field(MqttField field) const;
    QLineEdit* PasswordEdit() const { return m_password; }
    QCheckBox* TopicFirstBox() const { return m_topicFirst; }
    QComboBox* EncodingBox() const { return m_encoding; }

    void accept() override;

private:
    IUserInteraction& m_ui;
    QLineEdit* m_host;
    QSpinBox* m_port;
    QLineEdit* m_topicFilter;
    QComboBox* m_qos;
    QLineEdit* m_clientId;
    QLineEdit* m_userName;
    QLineEdit* m_password;
    QCheckBox* m_topicFirst;
    QComboBox* m_encoding;
};
