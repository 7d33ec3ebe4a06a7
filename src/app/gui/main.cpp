// lexicrawl: the desktop window.
#include <QApplication>
#include <QIcon>

#include "app/core/app_environment.h"
#include "app/core/app_identity.h"
#include "app/gui/gui_platform.h"
#include "app/gui/main_window.h"

using namespace lexicrawl;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductName());
    QApplication::setOrganizationName(CompanyName());
    QApplication::setApplicationVersion(VersionText());
    QApplication::setDesktopFileName(QStringLiteral("lexicrawl"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lexicrawl/lexicrawl.svg")));

    gui::GuiPlatform platform;
    Platform::SetCurrent(&platform);
    int status = 0;
    {
        AppEnvironment environment(platform);
        gui::MainWindow window(environment);
        window.SetCommandLine(QApplication::arguments().mid(1));
        window.ShowRestored();
        status = QApplication::exec();
    }
    Platform::SetCurrent(nullptr);
    return status;
}
