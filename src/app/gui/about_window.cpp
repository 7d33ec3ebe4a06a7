#include "app/gui/about_window.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/core/about_info.h"
#include "app/core/app_identity.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

AboutWindow::AboutWindow(const QString& dataFolder, const QString& programFolder, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr(QStringLiteral("About")));
    text_ = QStringLiteral("<h3>%1 %2</h3><p>%3</p><table>")
                .arg(ApplicationTitle().toHtmlEscaped(), VersionText(),
                     QStringLiteral("Crawls a website and lists the words a dictionary does not know."));
    for (const LibraryInfo& library : LibrariesInUse())
        text_ += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                     .arg(library.name.toHtmlEscaped(), library.version.toHtmlEscaped(), library.licence.toHtmlEscaped());
    text_ += QStringLiteral("</table><p>Data folder: %1<br>Program files: %2</p>")
                 .arg(dataFolder.toHtmlEscaped(), programFolder.toHtmlEscaped());
    auto* label = new QLabel(text_, this);
    label->setObjectName(QStringLiteral("about"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAccessibleDescription(windowTitle());  // a name would hide the text
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(64, 64));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Tr(QStringLiteral("OK")));
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(Tr(QStringLiteral("OK")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    layout->addWidget(label);
    layout->addWidget(buttons);
}

QString AboutWindow::Text() const
{
    return text_;
}

}  // namespace lexicrawl::gui
