#include "app/prompter.h"

#include <QMessageBox>

namespace {
const QString kCaption = QStringLiteral("Orvane");
}

void Prompter::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, kCaption, text);
}

void Prompter::warning(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, kCaption, text);
}

bool Prompter::askYesNo(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, kCaption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}
