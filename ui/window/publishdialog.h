#pragma once

#include "core/publish/publishsettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// Tools > Publish...: whether the readings and alarms go to an MQTT broker,
// the broker's URL, the password (hidden) and the topic. OK keeps only
// settings that name a broker; what is wrong shows in the dialog. A password
// typed into the URL moves to the password field.
class PublishDialog : public QDialog {
    Q_OBJECT
public:
    explicit PublishDialog(const PublishSettings& settings, QWidget* parent = nullptr);

    PublishSettings settings() const;
    // What is wrong with the settings, after an OK that was refused.
    QString problem() const;

    void accept() override;

private:
    void enableFields();

    QCheckBox* m_on = nullptr;
    QLineEdit* m_url = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_topic = nullptr;
    QLabel* m_problem = nullptr;
};
