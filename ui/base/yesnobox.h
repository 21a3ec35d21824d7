#pragma once

#include <QMessageBox>

// A question that only Yes or No answers. Escape and the window's close button
// leave it standing: a question that can throw samples away never takes a
// stray key or a closed window for the user's No.
class YesNoBox : public QMessageBox {
    Q_OBJECT
public:
    YesNoBox(QWidget* parent, const QString& caption, const QString& text);

    // Shows the question until Yes or No is chosen; true for Yes.
    bool ask();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};
