// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutDialog.h"

#include "ui/CharacterDialogs.h"
#include "ui/ControlIds.h"
#include "ui/Resources.h"
#include "core/DataStore.h"
#include "core/FileStore.h"
#include "core/MessageFormat.h"
#include "core/Version.h"
#include "ui/TextCodec.h"
#include "ui/UiFont.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QShowEvent>

using dialog_units::ToPixelsX;
using dialog_units::ToPixelsY;

namespace {

// The template, in dialog units: 191 x 146, nine lines of one width and height.
constexpr int DialogWidth = 191;
constexpr int DialogHeight = 146;
constexpr int LineX = 4;
constexpr int LineWidth = 183;
constexpr int LineHeight = 15;
constexpr int NoId = -1;

struct Line {
    int y;
    int id;
    const char* text;
};

constexpr std::array<Line, 9> Lines = {{
    {4, NoId, GLYPHMOOR_NAME},
    {18, NoId, "Version: v" GLYPHMOOR_VERSION},
    {32, NoId, "Released: " GLYPHMOOR_RELEASED},
    {52, AboutDialog::RuneDateLineId, "Rune Datafile - Updated: xx.xx.xxxx"},
    {66, AboutDialog::ItemDateLineId, "Item Datafile - Updated: xx.xx.xxxx"},
    {80, AboutDialog::RunewordDateLineId, "Runeword Datafile - Updated: xx.xx.xxxx"},
    {100, AboutDialog::AuthorLineId, "Written by the Glyphmoor team"},
    {114, NoId, "Contact: see the project page"},
    {128, NoId, "Glyphmoor project page"},
}};
constexpr std::size_t FirstDateLine = 3;

struct DataFile {
    const char* name;
    const char* format;
    // A file too short to hold the three date bytes: it exists, so "File not
    // found" would be wrong, and there is no date to show.
    const char* noDate;
};

constexpr std::array<DataFile, 3> DataFiles = {{
    {glyphmoor::RunesFileName, "Rune Datafile - Updated: %1!.2i!.%2!.2i!.20%3!.2i!",
     "Rune Datafile - Updated: unknown (file too short)"},
    {glyphmoor::ItemsFileName, "Item Datafile - Updated: %1!.2i!.%2!.2i!.20%3!.2i!",
     "Item Datafile - Updated: unknown (file too short)"},
    {glyphmoor::RunewordsFileName, "Runeword Datafile - Updated: %1!.2i!.%2!.2i!.20%3!.2i!",
     "Runeword Datafile - Updated: unknown (file too short)"},
}};

const char* const FileNotFound = "File not found";

std::string DateLineText(glyphmoor::FileStore& files, const DataFile& file)
{
    const std::optional<glyphmoor::Bytes> content = files.Read(file.name, glyphmoor::DataFileDateSize);
    if (!content)
        return FileNotFound;
    const std::optional<glyphmoor::DataFileDate> date = glyphmoor::ReadDataFileDate(*content);
    if (!date)
        return file.noDate;
    return glyphmoor::FormatMessage(file.format, {date->day, date->month, date->year});
}

} // namespace

AboutDialog::AboutDialog(glyphmoor::FileStore& files, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      files(files)
{
    setObjectName(QString::number(TemplateId));
    setWindowTitle(QStringLiteral("About the Glyphmoor..."));
    // By resource path, so that a larger rendering is used on a scaled screen.
    setWindowIcon(ScaledIcon(ids::ProgramIcon));
    setFixedSize(ToPixelsX(DialogWidth), ToPixelsY(DialogHeight));

    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const Line& line = Lines[i];
        auto* label = new QLabel(QString::fromLatin1(line.text), this);
        if (line.id != NoId)
            label->setObjectName(QString::number(line.id));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        label->setGeometry(ToPixelsX(LineX), ToPixelsY(line.y), ToPixelsX(LineWidth), ToPixelsY(LineHeight));
        if (i >= FirstDateLine && i < FirstDateLine + dateLines.size())
            dateLines[i - FirstDateLine] = label;
    }
    ApplyUiFont(this);
}

void AboutDialog::ReadDates()
{
    for (std::size_t i = 0; i < DataFiles.size(); ++i) {
        dateTexts[i] = DateLineText(files, DataFiles[i]);
        dateLines[i]->setText(FromCodePage(dateTexts[i]));
    }
}

void AboutDialog::keyPressEvent(QKeyEvent* event)
{
    // No buttons: Enter closes the box as Esc does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Each opening shows the files as they are now; a window system's own
    // show after a restore does not read them again.
    if (!event->spontaneous())
        ReadDates();
}
