// SPDX-License-Identifier: GPL-3.0-or-later
// A bare Qt window of Glyphmoor's size, shown and painted, then gone: the
// baseline for Glyphmoor's start-up.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.statusBar()->showMessage(QStringLiteral(" "));
    window.setFixedSize(746, 569);
    window.show();
    window.repaint();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
