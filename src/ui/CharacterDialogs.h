// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QValidator>

#include <string>

class Prompter;
class QLabel;
class QLineEdit;

// The dialogs are laid out in dialog units: a horizontal unit is a quarter of
// the dialog font's average character width (6 px), a vertical unit an eighth
// of its height (13 px). Pixels are rounded to the nearest, halves up.
namespace dialog_units {
constexpr int BaseWidth = 6;
constexpr int BaseHeight = 13;
constexpr int ToPixelsX(int units)
{
    return (units * BaseWidth + 2) / 4;
}
constexpr int ToPixelsY(int units)
{
    return (units * BaseHeight + 4) / 8;
}
} // namespace dialog_units

// Accepts a text only while it fits a Windows-1252 field of `maxBytes` bytes:
// every character must exist in the code page (one byte each) and be
// printable. Control characters are refused because chars.dat ends a name at
// the byte 0x02; those already in the text set through SetTolerated (a name
// read from an edited file) stay allowed, so such a name can still be edited.
class CodePageValidator final : public QValidator {
public:
    CodePageValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;

    void SetTolerated(const QString& text);
    // True when the last text refused held a character the field cannot
    // store (rather than being too long); reading it clears it.
    bool TakeRefusedCharacter() const;

private:
    int maxBytes;
    QString tolerated;
    mutable bool refusedCharacter = false;
};

// What the two character dialogs share: a name field and a Clvl field with
// their labels, no buttons; Enter is OK, Esc and the close box are Cancel.
// Values go in before the dialog runs and come out after OK:
// SetName/Name are the name's Windows-1252 bytes exactly as typed,
// SetClvlText/ClvlText the level field's text, Clvl the level an OK accepted.
class CharacterDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxNameBytes = 15;
    static constexpr int MaxClvlChars = 2;

    void SetName(const std::string& bytes);
    const std::string& Name() const { return name; }
    void SetClvlText(const std::string& text);
    const std::string& ClvlText() const { return clvlText; }
    int Clvl() const { return clvl; }

    // OK: reads the fields back and checks them; a failure shows its message
    // (owned by this dialog) and keeps the dialog open with the text as typed.
    void accept() override;
    // Cancel: refused while cancelling is not allowed.
    void reject() override;

protected:
    struct Template {
        int id;
        const char* caption;
        const char* nameLabel;
        const char* clvlLabel;
        int nameFieldId;
        int clvlFieldId;
    };
    CharacterDialog(Prompter& prompter, const Template& layout, QWidget* parent);

    void SetCancelAllowed(bool allowed);
    bool CancelAllowed() const { return cancelAllowed; }

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnInputRejected(QLineEdit* field, const CodePageValidator* validator);

    Prompter& prompter;
    std::string name;
    std::string clvlText;
    int clvl = 0;
    bool cancelAllowed = true;

    QLabel* nameLabel;
    QLineEdit* nameField;
    QLabel* clvlLabel;
    QLineEdit* clvlField;
    CodePageValidator* nameValidator;
    CodePageValidator* clvlValidator;
};

// Asks for a new character's name and Clvl. Without cancelling allowed (the
// roster must not stay empty) the caption has no close box and Esc does
// nothing: only a valid OK leaves the dialog.
class NewCharacterDialog final : public CharacterDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 105;
    static constexpr int NameFieldId = 1000;
    static constexpr int ClvlFieldId = 1001;

    explicit NewCharacterDialog(Prompter& prompter, QWidget* parent = nullptr);

    // Set before the dialog runs.
    void SetAllowCancel(bool allowed);
    bool AllowCancel() const { return CancelAllowed(); }
};

// Changes the selected character's name and Clvl; the caller fills in the
// current values with SetName and SetClvlText.
class EditCharacterDialog final : public CharacterDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 106;
    static constexpr int NameFieldId = 1003;
    static constexpr int ClvlFieldId = 1002;

    explicit EditCharacterDialog(Prompter& prompter, QWidget* parent = nullptr);
};
