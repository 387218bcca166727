// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CharacterDialogs.h"

#include "core/CharacterInput.h"
#include "core/Messages.h"
#include "ui/Prompter.h"
#include "ui/TextCodec.h"
#include "ui/UiFont.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolTip>

using dialog_units::ToPixelsX;
using dialog_units::ToPixelsY;

namespace {

// The template, in dialog units: 151 x 37, a label and a field per row.
constexpr int DialogWidth = 151;
constexpr int DialogHeight = 37;
constexpr int LabelX = 4;
constexpr int LabelWidth = 49;
constexpr int FieldX = 58;
constexpr int FieldWidth = 89;
constexpr int RowHeight = 12;
constexpr int NameRowY = 4;
constexpr int ClvlRowY = 21;

const char* const ErrorCaption = "Error...";
const char* const RefusedCharacterNote =
    "That character can't be stored: only Western European letters, digits and signs are allowed.";

QRect UnitRect(int x, int y, int width, int height)
{
    return {ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height)};
}

Qt::WindowFlags DialogFlags(bool closable)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closable)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return flags;
}

bool IsEnterKey(const QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return enter && modifiers == Qt::NoModifier;
}

} // namespace

CodePageValidator::CodePageValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes(maxBytes)
{
}

QValidator::State CodePageValidator::validate(QString& input, int& /*pos*/) const
{
    refusedCharacter = false;
    const std::optional<std::string> bytes = ToCodePage(input);
    bool storable = bytes.has_value();
    for (const QChar ch : input) {
        if (ch.category() == QChar::Other_Control && !tolerated.contains(ch))
            storable = false;
    }
    if (!storable) {
        refusedCharacter = true;
        return Invalid;
    }
    return bytes->size() > static_cast<std::size_t>(maxBytes) ? Invalid : Acceptable;
}

void CodePageValidator::SetTolerated(const QString& text)
{
    tolerated.clear();
    for (const QChar ch : text) {
        if (ch.category() == QChar::Other_Control)
            tolerated += ch;
    }
}

bool CodePageValidator::TakeRefusedCharacter() const
{
    const bool refused = refusedCharacter;
    refusedCharacter = false;
    return refused;
}

CharacterDialog::CharacterDialog(Prompter& prompter, const Template& layout, QWidget* parent)
    : QDialog(parent, DialogFlags(true)), prompter(prompter)
{
    setObjectName(QString::number(layout.id));
    setWindowTitle(QString::fromLatin1(layout.caption));
    setFixedSize(ToPixelsX(DialogWidth), ToPixelsY(DialogHeight));

    auto makeLabel = [this](const char* text, int y) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        label->setGeometry(UnitRect(LabelX, y, LabelWidth, RowHeight));
        return label;
    };
    auto makeField = [this](int id, int y, CodePageValidator* validator, int maxLength) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::number(id));
        field->setValidator(validator);
        field->setMaxLength(maxLength);
        field->setGeometry(UnitRect(FieldX, y, FieldWidth, RowHeight));
        connect(field, &QLineEdit::inputRejected, this,
                [this, field, validator] { OnInputRejected(field, validator); });
        return field;
    };

    // Created in tab order: the name first.
    nameValidator = new CodePageValidator(MaxNameBytes, this);
    clvlValidator = new CodePageValidator(MaxClvlChars, this);
    nameLabel = makeLabel(layout.nameLabel, NameRowY);
    nameField = makeField(layout.nameFieldId, NameRowY, nameValidator, MaxNameBytes);
    clvlLabel = makeLabel(layout.clvlLabel, ClvlRowY);
    clvlField = makeField(layout.clvlFieldId, ClvlRowY, clvlValidator, MaxClvlChars);

    ApplyUiFont(this);
}

void CharacterDialog::SetName(const std::string& bytes)
{
    name = bytes;
    const QString text = FromCodePage(bytes);
    nameValidator->SetTolerated(text);
    nameField->setText(text);
}

void CharacterDialog::SetClvlText(const std::string& text)
{
    clvlText = text;
    const QString shown = FromCodePage(text);
    clvlValidator->SetTolerated(shown);
    clvlField->setText(shown);
}

void CharacterDialog::accept()
{
    // The validators let only Windows-1252 text into the fields, so the
    // conversion cannot fail here.
    name = ToCodePage(nameField->text()).value_or(std::string());
    clvlText = ToCodePage(clvlField->text()).value_or(std::string());
    int value = 0;
    const std::string problem = glyphmoor::ValidateCharacterInput(name, clvlText, value);
    if (!problem.empty()) {
        prompter.ShowMessage(this, glyphmoor::Message{ErrorCaption, problem, glyphmoor::MessageIcon::None,
                                                      glyphmoor::MessageButtons::Ok});
        return;
    }
    clvl = value;
    QDialog::accept();
}

void CharacterDialog::reject()
{
    // The close box and Esc both arrive here.
    if (cancelAllowed)
        QDialog::reject();
}

void CharacterDialog::SetCancelAllowed(bool allowed)
{
    if (allowed == cancelAllowed)
        return;
    cancelAllowed = allowed;
    const bool visible = isVisible();
    setWindowFlags(DialogFlags(allowed));
    if (visible)
        show(); // changing the flags hides a shown window
}

void CharacterDialog::keyPressEvent(QKeyEvent* event)
{
    // There is no OK button to be the default one, so Enter is taken here.
    if (IsEnterKey(event)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CharacterDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        nameField->setFocus(Qt::OtherFocusReason);
        nameField->selectAll();
    }
}

void CharacterDialog::OnInputRejected(QLineEdit* field, const CodePageValidator* validator)
{
    // A field that is full refuses more silently; a character that cannot be
    // stored gets a note, so the user does not think the key was lost.
    if (validator->TakeRefusedCharacter())
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())),
                           QString::fromLatin1(RefusedCharacterNote), field);
}

NewCharacterDialog::NewCharacterDialog(Prompter& prompter, QWidget* parent)
    : CharacterDialog(
          prompter, {TemplateId, "New Character...", "Enter name:", "Enter Clvl:", NameFieldId, ClvlFieldId},
          parent)
{
}

void NewCharacterDialog::SetAllowCancel(bool allowed)
{
    SetCancelAllowed(allowed);
}

EditCharacterDialog::EditCharacterDialog(Prompter& prompter, QWidget* parent)
    : CharacterDialog(prompter,
                      {TemplateId, "Edit Character...", "Edit name:", "Edit Clvl:", NameFieldId, ClvlFieldId},
                      parent)
{
}
