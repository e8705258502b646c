#include "dialogs/DialogWebPublish.h"

#include "dialogs/DialogParts.h"
#include "platform/UserInteraction.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QPushButton* Button(const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setAccessibleName(QString(caption).remove(QStringLiteral("&")).section(QLatin1Char('('), 0, 0));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CDialogWebPublish::CDialogWebPublish(IWebPublishing& publishing, IUserInteraction& ui, QWidget* parent)
    : QDialog(parent), m_publishing(publishing), m_ui(ui)
{
    setWindowTitle(QStringLiteral("Web公開"));
    setAccessibleName(windowTitle());

    m_address = new QComboBox;
    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    // Wide enough for a full IPv6 address.
    m_address->setMinimumContentsLength(28);
    m_address->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_address->addItem(QStringLiteral("127.0.0.1"));
    m_address->addItem(QStringLiteral("0.0.0.0"));
    m_address->setToolTip(QStringLiteral("127.0.0.1 はこのコンピューターだけ、0.0.0.0 はすべてのネットワークから見られます"));
    m_port = new QSpinBox;
    m_port->setRange(0, 65535);
    m_port->setToolTip(QStringLiteral("0 のときは空いているポートを使います"));
    m_token = new QLineEdit;
    m_token->setToolTip(QStringLiteral("127.0.0.1 以外で公開するときは必要です。空のときは公開開始で作ります"));
    m_generate = Button(QStringLiteral("生成(&G)"));
    m_url = new QLineEdit;
    m_url->setReadOnly(true);
    m_state = new QLabel;
    m_state->setAccessibleName(QStringLiteral("状態"));
    m_state->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_start = Button(QStringLiteral("公開開始(&S)"));
    m_start->setDefault(true);
    m_stop = Button(QStringLiteral("公開停止(&O)"));
    auto* close = Button(QStringLiteral("閉じる"));

    auto* tokenRow = new QHBoxLayout;
    tokenRow->addWidget(m_token, 1);
    tokenRow->addWidget(m_generate);
    auto* form = new QFormLayout;
    form->addRow(BuddyLabel(QStringLiteral("アドレス(&A)"), m_address), m_address);
    form->addRow(BuddyLabel(QStringLiteral("ポート(&P)"), m_port), m_port);
    form->addRow(BuddyLabel(QStringLiteral("トークン(&T)"), m_token), tokenRow);
    form->addRow(BuddyLabel(QStringLiteral("閲覧用URL(&U)"), m_url), m_url);
    form->addRow(new QLabel(QStringLiteral("状態")), m_state);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_stop);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    // Room for a URL with a 32-digit token.
    m_url->setMinimumWidth(m_url->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 64);

    connect(m_generate, &QPushButton::clicked, this, [this] { m_token->setText(NewAccessToken()); });
    connect(m_start, &QPushButton::clicked, this, &CDialogWebPublish::OnStart);
    connect(m_stop, &QPushButton::clicked, this, &CDialogWebPublish::OnStop);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_address, &QComboBox::editTextChanged, this, &CDialogWebPublish::ShowPreviewUrl);
    connect(m_port, &QSpinBox::valueChanged, this, &CDialogWebPublish::ShowPreviewUrl);
    connect(m_token, &QLineEdit::textChanged, this, &CDialogWebPublish::ShowPreviewUrl);

    QWidget* order[] = {m_address, m_port, m_token, m_generate, m_url, m_start, m_stop, close};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    SetValues(CWebAccess());
}

void CDialogWebPublish::SetValues(const CWebAccess& access)
{
    m_address->setEditText(access.m_address.toString());
    m_port->setValue(access.m_port);
    m_token->setText(access.m_token);
    Refresh();
}

CWebAccess CDialogWebPublish::Values() const
{
    CWebAccess access;
    access.m_address = ParseWebHost(m_address->currentText()).value_or(QHostAddress());
    access.m_port = uint16_t(m_port->value());
    // A space pasted around a token is never meant.
    access.m_token = m_token->text().trimmed();
    return access;
}

void CDialogWebPublish::Refresh()
{
    const bool publishing = m_publishing.IsPublishing();
    for (QWidget* w : {static_cast<QWidget*>(m_address), static_cast<QWidget*>(m_port),
                       static_cast<QWidget*>(m_token), static_cast<QWidget*>(m_generate)})
        w->setEnabled(!publishing);
    m_start->setEnabled(!publishing);
    m_stop->setEnabled(publishing);
    if (!publishing) {
        m_state->setText(QStringLiteral("停止中"));
        ShowPreviewUrl();
        return;
    }
    ShowUrl(m_publishing.PublishedAccess().ViewerUrl());
    m_state->setText(QStringLiteral("公開中 (%1)　閲覧者数 %2")
                         .arg(m_publishing.PublishedTitle())
                         .arg(m_publishing.ViewerCount()));
}

void CDialogWebPublish::ShowPreviewUrl()
{
    if (m_publishing.IsPublishing())
        return;
    // Port 0 is known only once listening.
    const CWebAccess access = Values();
    ShowUrl(!access.m_address.isNull() && access.m_port != 0 ? access.ViewerUrl() : QString());
}

void CDialogWebPublish::ShowUrl(const QString& url)
{
    m_url->setText(url);
    // Its beginning in sight: a long one ends in the token.
    m_url->setCursorPosition(0);
}

void CDialogWebPublish::ShowProblem(const QString& text, QWidget* field)
{
    m_ui.MessageBox(text, QString(), MessageIcon::Information, MessageButtons::Ok);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    else if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit())
        box->lineEdit()->selectAll();
}

void CDialogWebPublish::OnStart()
{
    if (m_publishing.IsPublishing())
        return;
    CWebAccess access = Values();
    if (access.m_address.isNull()) {
        ShowProblem(QStringLiteral("アドレスが正しくありません。"), m_address);
        return;
    }
    if (!access.m_token.isEmpty() && !IsValidAccessToken(access.m_token)) {
        ShowProblem(QStringLiteral("トークンは8〜128文字の英数字、'-'、'_'、'.' です。"), m_token);
        return;
    }
    // Another machine may reach the address: never without a token, and the user must see it.
    if (access.NeedsToken() && access.m_token.isEmpty()) {
        access.m_token = NewAccessToken();
        m_token->setText(access.m_token);
    }
    QString error;
    switch (m_publishing.StartPublishing(access, &error)) {
    case IWebPublishing::StartResult::Started:
        Refresh();
        // Ready to copy: the address is what the user came for. Selected backwards, so that
        // its beginning stays in sight.
        m_url->setFocus(Qt::OtherFocusReason);
        m_url->setSelection(int(m_url->text().size()), -int(m_url->text().size()));
        Q_EMIT published(access);
        return;
    case IWebPublishing::StartResult::NothingToPublish:
        m_ui.MessageBox(QStringLiteral("公開する画面がありません。\nドキュメントのウィンドウを選んでから公開開始を押してください。"),
                        QString(), MessageIcon::Information, MessageButtons::Ok);
        break;
    case IWebPublishing::StartResult::CannotListen:
        m_ui.ShowError(QStringLiteral("ポート %1 で公開できません。\n%2").arg(access.m_port).arg(error));
        m_port->setFocus(Qt::OtherFocusReason);
        break;
    }
    Refresh();
}

void CDialogWebPublish::OnStop()
{
    m_publishing.StopPublishing();
    Refresh();
}
