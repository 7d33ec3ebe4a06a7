#include "app/gui/gui_platform.h"
#include "app/gui/window_arguments.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QUrl>

namespace lexicrawl::gui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

bool GuiPlatform::OnUiThread()
{
    return !qApp || QThread::currentThread() == qApp->thread();
}

// Another thread never waits for the UI thread: what it asks for is posted
// there and done in turn.
void GuiPlatform::Later(std::function<void()> work)
{
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

void GuiPlatform::ShowMessage(const QString& text)
{
    // A plain box carries the program's own title.
    MessageBox(QApplication::applicationName(), text, MessageIcon::None);
}

void GuiPlatform::MessageBox(const QString& title, const QString& text, MessageIcon icon)
{
    if (!OnUiThread()) {
        Later([this, title, text, icon] { MessageBox(title, text, icon); });
        return;
    }
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool GuiPlatform::Confirm(const QString& title, const QString& text, const QString& yes, const QString& no)
{
    // Only the UI thread can wait for an answer.
    if (!OnUiThread())
        return false;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* yesButton = box.addButton(yes, QMessageBox::YesRole);
    box.addButton(no, QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yesButton;
}

bool GuiPlatform::OpenDocument(const QString& target)
{
    // The address goes to the desktop as it stands; the outcome is not examined.
    if (!OnUiThread()) {
        Later([target] { QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode)); });
        return true;
    }
    return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

bool GuiPlatform::StartNewInstance(const QString& commandLine)
{
    return QProcess::startDetached(QApplication::applicationFilePath(),
                                   NewInstanceArguments(instanceDataFolder_, commandLine));
}

void GuiPlatform::SetClipboardText(const QString& text)
{
    if (!OnUiThread()) {
        Later([text] { QApplication::clipboard()->setText(text); });
        return;
    }
    QApplication::clipboard()->setText(text);
}

void GuiPlatform::Beep()
{
    if (!OnUiThread()) {
        Later([] { QApplication::beep(); });
        return;
    }
    QApplication::beep();
}

}  // namespace lexicrawl::gui
