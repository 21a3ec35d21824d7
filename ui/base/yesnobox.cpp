#include "ui/base/yesnobox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

YesNoBox::YesNoBox(QWidget* parent, const QString& caption, const QString& text)
    : QMessageBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                  parent) {
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    button(QMessageBox::Yes)->setText(tr("&Yes"));
    button(QMessageBox::No)->setText(tr("&No"));
}

bool YesNoBox::ask() {
    exec();
    return clickedButton() == button(QMessageBox::Yes);
}

void YesNoBox::keyPressEvent(QKeyEvent* event) {
    // The message box would click No on Escape.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void YesNoBox::closeEvent(QCloseEvent* event) {
    event->ignore();
}
