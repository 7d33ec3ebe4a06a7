#include "app/gui/window_arguments.h"

namespace lexicrawl::gui {

namespace {

const QString kDataFolder = QStringLiteral("--data-folder");

}  // namespace

WindowArguments ParseWindowArguments(const QStringList& arguments)
{
    WindowArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        QString folder;
        if (argument == kDataFolder) {
            if (i + 1 >= arguments.size()) {
                parsed.error = kDataFolder + QStringLiteral(" needs a folder");
                return parsed;
            }
            folder = arguments.at(++i);
        } else if (argument.startsWith(kDataFolder + QLatin1Char('='))) {
            folder = argument.mid(kDataFolder.size() + 1);
        } else {
            parsed.rest << argument;
            continue;
        }
        if (folder.isEmpty()) {
            parsed.error = kDataFolder + QStringLiteral(" needs a folder");
            return parsed;
        }
        parsed.dataFolder = folder;
    }
    return parsed;
}

QStringList NewInstanceArguments(const QString& dataFolder, const QString& commandLine)
{
    QStringList arguments;
    if (!dataFolder.isEmpty())
        arguments << kDataFolder << dataFolder;
    if (!commandLine.isEmpty())
        arguments << commandLine;
    return arguments;
}

}  // namespace lexicrawl::gui
