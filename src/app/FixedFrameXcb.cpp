// SPDX-License-Identifier: GPL-3.0-or-later
// On X11 the frame is what _MOTIF_WM_HINTS says. Qt writes resizing into it
// for every window, whatever its flags, and a fixed minimum and maximum size
// alone leaves window managers showing a sizing border; so the hints are
// written again, as the window's flags and size mean them.
#include "app/FixedFrame.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace {

enum : std::uint32_t {
    HintsFunctions = 1u << 0,
    HintsDecorations = 1u << 1,
    FunctionMove = 1u << 2,
    FunctionMinimize = 1u << 3,
    FunctionClose = 1u << 5,
    DecorBorder = 1u << 1,
    DecorTitle = 1u << 3,
    DecorMenu = 1u << 4,
    DecorMinimize = 1u << 5,
};

} // namespace

void AdvertiseFixedFrame(QWidget& window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")
                                       ? x11->connection()
                                       : nullptr;
    if (connection == nullptr)
        return; // another display system: Qt's flags say it there
    static constexpr char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (reply == nullptr)
        return;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    // flags, functions, decorations, input mode, status
    const std::uint32_t hints[5] = {HintsFunctions | HintsDecorations, FunctionMove | FunctionMinimize | FunctionClose,
                                    DecorBorder | DecorTitle | DecorMenu | DecorMinimize, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), atom, atom,
                        32, 5, hints);
    xcb_flush(connection);
}
