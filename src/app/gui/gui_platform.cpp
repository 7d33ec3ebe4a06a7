#include "app/gui/gui_platform.h"

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

void GuiPlatform::OnUiThread(const std::function<void()>& work)
{
    if (!qApp || QThread::currentThread() == qApp->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(qApp, work, Qt::BlockingQueuedConnection);
}

void GuiPlatform::ShowMessage(const QString& text)
{
    // A plain box carries the program's own title.
    MessageBox(QApplication::applicationName(), text, MessageIcon::None);
}

void GuiPlatform::MessageBox(const QString& title, const QString& text, MessageIcon icon)
{
    OnUiThread([&] {
        QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    });
}

bool GuiPlatform::Confirm(const QString& title, const QString& text, const QString& yes, const QString& no)
{
    bool answer = false;
    OnUiThread([&] {
        QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, QApplication::activeWindow());
        QPushButton* yesButton = box.addButton(yes, QMessageBox::YesRole);
        box.addButton(no, QMessageBox::NoRole);
        box.exec();
        answer = box.clickedButton() == yesButton;
    });
    return answer;
}

bool GuiPlatform::OpenDocument(const QString& target)
{
    // The address goes to the desktop as it stands; the outcome is not examined.
    bool opened = false;
    OnUiThread([&] { opened = QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode)); });
    return opened;
}

bool GuiPlatform::StartNewInstance(const QString& commandLine)
{
    QStringList args;
    if (!commandLine.isEmpty())
        args << commandLine;
    return QProcess::startDetached(QApplication::applicationFilePath(), args);
}

void GuiPlatform::SetClipboardText(const QString& text)
{
    OnUiThread([&] { QApplication::clipboard()->setText(text); });
}

void GuiPlatform::Beep()
{
    OnUiThread([] { QApplication::beep(); });
}

}  // namespace lexicrawl::gui
