// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Prompter.h"

#include "ui/TextCodec.h"

#include <QDialog>
#include <QMessageBox>

using glyphmoor::Message;
using glyphmoor::MessageAnswer;
using glyphmoor::MessageButtons;
using glyphmoor::MessageIcon;

MessageAnswer QtPrompter::ShowMessage(QWidget* owner, const Message& message)
{
    QMessageBox box(owner);
    box.setWindowTitle(FromCodePage(message.caption));
    box.setText(FromCodePage(message.text));
    switch (message.icon) {
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

bool QtPrompter::RunDialog(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}
