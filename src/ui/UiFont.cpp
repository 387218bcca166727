// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/UiFont.h"

#include <QApplication>
#include <QFontDatabase>
#include <QProxyStyle>
#include <QWidget>

#include <algorithm>

namespace {

class UiStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        // A tip's text keeps 3 pixels clear of its border, not 1 or 2.
        return metric == PM_ToolTipLabelFrameWidth ? std::max(value, 3) : value;
    }
};

} // namespace

const QFont& UiFont()
{
    static const QFont font = [] {
        // The font travels in the resources: a system without it (Windows,
        // Wine) draws the window with the same metrics as one with it.
        // Asked for by its full name: the file also calls itself "DejaVu Sans".
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/DejaVuSansCondensed.ttf"));
        QFont f(QStringLiteral("DejaVu Sans Condensed"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(11);
        return f;
    }();
    return font;
}

void UseUiStyle()
{
    QApplication::setStyle(new UiStyle);
}

void ApplyUiFont(QWidget* root)
{
    root->setFont(UiFont());
    for (QWidget* child : root->findChildren<QWidget*>()) {
        child->setFont(UiFont());
        child->update();
    }
}
