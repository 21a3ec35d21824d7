#include "ui/window/publishdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PublishDialog::PublishDialog(const PublishSettings& settings, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Publish"));
    m_on = new QCheckBox(tr("&Publish readings and alarms to an MQTT broker"), this);
    m_on->setChecked(settings.on);
    m_url = new QLineEdit(QString::fromStdString(settings.url), this);
    m_url->setPlaceholderText(QStringLiteral("mqtt://broker:1883"));
    m_url->setToolTip(tr("mqtt://[user@]host[:port], or mqtts:// for TLS"));
    m_password = new QLineEdit(QString::fromStdString(settings.password), this);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(tr("none"));
    m_password->setToolTip(tr("Kept in the desktop's keyring, or else in a file only you can "
                              "read; never in the configuration file"));
    m_topic = new QLineEdit(QString::fromStdString(settings.topic), this);
    m_topic->setPlaceholderText(QStringLiteral("orvane/oven-1"));
    m_topic->setToolTip(tr("Readings go to TOPIC/reading, alarms to TOPIC/alarm, and "
                           "TOPIC/status says online, waiting or offline"));
    m_problem = new QLabel(this);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto* form = new QFormLayout;
    form->addRow(tr("&Broker URL:"), m_url);
    form->addRow(tr("Pass&word:"), m_password);
    form->addRow(tr("&Topic:"), m_topic);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PublishDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_on);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(m_on, &QCheckBox::toggled, this, &PublishDialog::enableFields);
    enableFields();
}

PublishSettings PublishDialog::settings() const {
    return {m_on->isChecked(), m_url->text().trimmed().toStdString(),
            m_topic->text().trimmed().toStdString(), m_password->text().toStdString()};
}

QString PublishDialog::problem() const {
    return m_problem->isVisible() || !m_problem->isHidden() ? m_problem->text() : QString();
}

void PublishDialog::accept() {
    PublishSettings s = settings();
    const std::string typed = s.password;
    if (takePasswordFromUrl(s)) {
        // Out of sight: the URL is shown in clear and kept in the configuration.
        m_url->setText(QString::fromStdString(s.url));
        if (!typed.empty())
            s.password = typed;
        m_password->setText(QString::fromStdString(s.password));
    }
    if (s.on) {
        const Result<BrokerUrl> broker = publishBroker(s);
        if (!broker) {
            QString text = QString::fromStdString(broker.error());
            text[0] = text[0].toUpper();
            m_problem->setText(text + QLatin1Char('.'));
            m_problem->show();
            return;
        }
    }
    QDialog::accept();
}

void PublishDialog::enableFields() {
    m_url->setEnabled(m_on->isChecked());
    m_password->setEnabled(m_on->isChecked());
    m_topic->setEnabled(m_on->isChecked());
}
