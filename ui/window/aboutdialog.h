#pragma once

#include <QDialog>

// "About Orvane": the program icon, its name and version, and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
