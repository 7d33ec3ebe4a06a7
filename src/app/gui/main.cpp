// lexicrawl: the desktop window.
#include <QApplication>
#include <QIcon>

#include <cstdio>

#include "app/core/app_environment.h"
#include "app/core/app_identity.h"
#include "app/gui/gui_platform.h"
#include "app/gui/main_window.h"
#include "app/gui/window_arguments.h"

using namespace lexicrawl;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductName());
    QApplication::setOrganizationName(CompanyName());
    QApplication::setApplicationVersion(VersionText());
    QApplication::setDesktopFileName(QStringLiteral("lexicrawl"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lexicrawl/lexicrawl.svg")));

    const gui::WindowArguments arguments = gui::ParseWindowArguments(QApplication::arguments().mid(1));
    if (!arguments.error.isEmpty()) {
        std::fprintf(stderr, "lexicrawl: %s\n", qPrintable(arguments.error));
        return 2;
    }
    gui::GuiPlatform platform;
    Platform::SetCurrent(&platform);
    int status = 0;
    {
        AppEnvironment environment(platform, arguments.dataFolder);
        if (!arguments.dataFolder.isEmpty())
            platform.SetInstanceDataFolder(environment.DataFolder());
        gui::MainWindow window(environment);
        window.SetCommandLine(arguments.rest);
        window.ShowRestored();
        status = QApplication::exec();
    }
    Platform::SetCurrent(nullptr);
    return status;
}
