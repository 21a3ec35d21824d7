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
    m_url->setToolTip(tr("mqtt://[user[:password]@]host[:port], or mqtts:// for TLS"));
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
            m_topic->text().trimmed().toStdString()};
}

QString PublishDialog::problem() const {
    return m_problem->isVisible() || !m_problem->isHidden() ? m_problem->text() : QString();
}

void PublishDialog::accept() {
    const PublishSettings s = settings();
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
    m_topic->setEnabled(m_on->isChecked());
}
