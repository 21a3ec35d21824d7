#include "ui/base/prompter.h"

#include "ui/base/yesnobox.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {
const QString kCaption = QStringLiteral("Orvane");
}

void Prompter::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, kCaption, text);
}

void Prompter::warning(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, kCaption, text);
}

bool Prompter::askYesNo(QWidget* parent, const QString& text) {
    YesNoBox box(parent, kCaption, text);
    return box.ask();
}

QString Prompter::saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                               const QString& defaultSuffix) {
    QFileDialog dialog(parent, QStringLiteral("Save As"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString Prompter::openFileName(QWidget* parent, const QString& filter,
                               const QString& defaultSuffix) {
    QFileDialog dialog(parent, QStringLiteral("Open"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
