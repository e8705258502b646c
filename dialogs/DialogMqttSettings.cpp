#include "dialogs/DialogMqttSettings.h"

#include "dialogs/DialogParts.h"
#include "platform/UserInteraction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

CDialogMqttSettings::CDialogMqttSettings(IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_ui(ui)
{
    setWindowTitle(QStringLiteral("MQTT入力設定"));
    setAccessibleName(windowTitle());

    m_host = new QLineEdit;
    m_port = new QSpinBox;
    m_port->setRange(1, 65535);
    m_topicFilter = new QLineEdit;
    m_topicFilter->setToolTip(QStringLiteral("+ は1階層, # は以下のすべての階層に一致します"));
    m_qos = new QComboBox;
    m_qos->addItem(QStringLiteral("0 (最大1回)"));
    m_qos->addItem(QStringLiteral("1 (最低1回)"));
    m_clientId = new QLineEdit;
    m_userName = new QLineEdit;
    m_password = new QLineEdit;
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setToolTip(QStringLiteral("パスワードはどのファイルにも保存しません"));
    m_encoding = new QComboBox;
    m_encoding->addItem(QStringLiteral("Shift-JIS (CP932)"));
    m_encoding->addItem(QStringLiteral("UTF-8"));
    m_topicFirst = new QCheckBox(QStringLiteral("トピックを先頭のFDにする(&F)"));
    m_topicFirst->setAccessibleName(QStringLiteral("トピックを先頭のFDにする"));

    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(QStringLiteral("ブローカーのホスト(&H)"), m_host), m_host);
    form->addRow(BuddyLabel(QStringLiteral("ポート番号(&P)"), m_port), m_port);
    form->addRow(BuddyLabel(QStringLiteral("トピックフィルタ(&T)"), m_topicFilter), m_topicFilter);
    form->addRow(BuddyLabel(QStringLiteral("QoS(&Q)"), m_qos), m_qos);
    form->addRow(BuddyLabel(QStringLiteral("クライアントID(&I)"), m_clientId), m_clientId);
    form->addRow(BuddyLabel(QStringLiteral("ユーザー名(&U)"), m_userName), m_userName);
    form->addRow(BuddyLabel(QStringLiteral("パスワード(&W)"), m_password), m_password);
    form->addRow(BuddyLabel(QStringLiteral("ペイロードの文字コード(&E)"), m_encoding), m_encoding);
    form->addRow(m_topicFirst);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(OkCancelButtons(this));
    m_host->setMinimumWidth(m_host->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

    QWidget* order[] = {m_host, m_port, m_topicFilter, m_qos, m_clientId, m_userName, m_password, m_encoding, m_topicFirst};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    SetValues(CMqttSettings());
}

void CDialogMqttSettings::SetValues(const CMqttSettings& s)
{
    m_host->setText(s.m_host);
    m_port->setValue(s.m_port);
    m_topicFilter->setText(s.m_topicFilter);
    m_qos->setCurrentIndex(s.m_qos == 1 ? 1 : 0);
    m_clientId->setText(s.m_clientId);
    m_userName->setText(s.m_userName);
    m_password->setText(s.m_password);
    m_encoding->setCurrentIndex(s.m_utf8 ? 1 : 0);
    m_topicFirst->setChecked(s.m_topicFirst);
}

CMqttSettings CDialogMqttSettings::Values() const
{
    CMqttSettings s;
    // A space pasted around a host name is never meant.
    s.m_host = m_host->text().trimmed();
    s.m_port = uint16_t(m_port->value());
    s.m_topicFilter = m_topicFilter->text();
    s.m_qos = m_qos->currentIndex() == 1 ? 1 : 0;
    s.m_clientId = m_clientId->text();
    s.m_userName = m_userName->text();
    s.m_password = m_password->text();
    s.m_utf8 = m_encoding->currentIndex() == 1;
    s.m_topicFirst = m_topicFirst->isChecked();
    return s;
}

QWidget* CDialogMqttSettings::Field(MqttField field) const
{
    switch (field) {
    case MqttField::Host:
        return m_host;
    case MqttField::Port:
        return m_port;
    case MqttField::TopicFilter:
        return m_topicFilter;
    case MqttField::Qos:
        return m_qos;
    case MqttField::ClientId:
        return m_clientId;
    case MqttField::UserName:
        return m_userName;
    case MqttField::None:
        break;
    }
    return nullptr;
}

void CDialogMqttSettings::accept()
{
    MqttField field = MqttField::None;
    const QString problem = CheckMqttSettings(Values(), &field);
    if (!problem.isEmpty()) {
        m_ui.MessageBox(problem, QString(), MessageIcon::Information, MessageButtons::Ok);
        if (QWidget* widget = Field(field)) {
            widget->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                edit->selectAll();
        }
        return;
    }
    QDialog::accept();
}
