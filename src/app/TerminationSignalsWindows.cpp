// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TerminationSignals.h"

#include <windows.h>

// `taskkill /pid N` posts WM_CLOSE to every top-level window of the process.
// Qt's own windows cannot be trusted with it: a window under a modal dialog
// drops it, and the dialog's WM_CLOSE only closes the dialog. A hidden window
// nobody can click receives it too, and it can only come from outside.
struct TerminationSignals::Watch {
    HWND window = nullptr;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_CLOSE) {
            auto* owner = reinterpret_cast<TerminationSignals*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            if (owner != nullptr)
                emit owner->terminationRequested(int(message));
            return 0; // the window stays until its owner goes
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
};

namespace {

const wchar_t ClassName[] = L"GlyphmoorTerminationRequests";

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent), watch(new Watch)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Watch::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    ::RegisterClassExW(&windowClass); // fails harmlessly when registered already
    // A top-level window, never shown: taskkill finds it, a message-only
    // window it would not.
    watch->window = ::CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, L"Glyphmoor", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, instance, nullptr);
    // Wine makes no window without an X display; Windows always has a desktop.
    if (watch->window == nullptr)
        qWarning("No window for close requests: a close request from outside will not save.");
    else
        ::SetWindowLongPtrW(watch->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TerminationSignals::~TerminationSignals()
{
    if (watch->window != nullptr)
        ::DestroyWindow(watch->window);
    delete watch;
}
