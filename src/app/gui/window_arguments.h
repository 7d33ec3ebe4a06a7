#pragma once
// The window's command line: "--data-folder DIR" (or "--data-folder=DIR")
// chooses the folder of settings.ini and the working files, as the command
// line program's option does; everything else is the start URL or the
// project file the window handles once it is shown. The instances the
// window starts (New Project, the batch, the restart after a language
// change) are given the same data folder.
//
// Thread-safety: pure functions; any thread.
#include <QString>
#include <QStringList>

namespace lexicrawl::gui {

struct WindowArguments {
    QString dataFolder;  // empty: the usual one
    QStringList rest;    // for MainWindow::SetCommandLine
    QString error;       // set when the line cannot be used
};

WindowArguments ParseWindowArguments(const QStringList& arguments);

// The arguments of a new instance: the data folder, when one was chosen,
// then the command line it is to handle (when there is one).
QStringList NewInstanceArguments(const QString& dataFolder, const QString& commandLine);

}  // namespace lexicrawl::gui
