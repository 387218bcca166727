// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <array>
#include <string>

class QLabel;

namespace glyphmoor {
class FileStore;
}

// The About box: the program's name, version and release date, the date
// stamp of each reference data file as it is on disk when the box opens, and
// who wrote the program. Nine framed lines, no buttons; Enter, Esc and the
// close box all close it.
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int TemplateId = 107;
    static constexpr int RuneDateLineId = 1005;
    static constexpr int ItemDateLineId = 1007;
    static constexpr int RunewordDateLineId = 1008;
    static constexpr int AuthorLineId = 1006;

    explicit AboutDialog(glyphmoor::FileStore& files, QWidget* parent = nullptr);

    // The three date lines, in the order runes.dat, items.dat, runewords.dat,
    // as last read (Windows-1252 bytes).
    const std::array<std::string, 3>& DateTexts() const { return dateTexts; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Reads the three files' dates afresh and sets the date lines.
    void ReadDates();

    glyphmoor::FileStore& files;
    std::array<std::string, 3> dateTexts;
    std::array<QLabel*, 3> dateLines{};
};
