#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenuBar>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Vantrel"));
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* quit = fileMenu->addAction(QStringLiteral("終了(&X)"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, qApp, &QApplication::closeAllWindows);
    resize(1024, 720);
}
