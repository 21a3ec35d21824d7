#include "ui/base/prompter.h"

#include "ui/base/yesnobox.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>

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
    int chosen = 0;
    return saveFileNameAs(parent, proposed, QStringList{filter}, chosen, defaultSuffix);
}

QString Prompter::saveFileNameAs(QWidget* parent, const QString& proposed,
                                 const QStringList& filters, int& chosen,
                                 const QString& defaultSuffix) {
    const QFileInfo name(proposed);
    QFileDialog dialog(parent, QCoreApplication::translate("Prompter", "Save As"),
                       name.isAbsolute() ? name.path() : QString());
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(chosen));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(name.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    chosen = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().constFirst();
}

QString Prompter::openFileName(QWidget* parent, const QString& folder, const QString& filter,
                               const QString& defaultSuffix) {
    QFileDialog dialog(parent, QCoreApplication::translate("Prompter", "Open"), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString Prompter::folderName(QWidget* parent, const QString& title, const QString& folder) {
    return QFileDialog::getExistingDirectory(parent, title, folder);
}
