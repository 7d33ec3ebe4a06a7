#include "app/gui/batch_window.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

InstanceLauncher::InstanceLauncher(int spacingMs, QObject* parent) : QObject(parent)
{
    timer_.setInterval(spacingMs);
    connect(&timer_, &QTimer::timeout, this, &InstanceLauncher::StartNext);
}

void InstanceLauncher::Launch(const QStringList& commandLines)
{
    pending_ << commandLines;
    if (!timer_.isActive() && !pending_.isEmpty()) {
        StartNext();
        timer_.start();
    }
}

void InstanceLauncher::StartNext()
{
    if (pending_.isEmpty()) {
        timer_.stop();
        return;
    }
    Platform::Current().StartNewInstance(pending_.takeFirst());
}

BatchWindow::BatchWindow(InstanceLauncher& launcher, QWidget* parent) : QDialog(parent), launcher_(launcher)
{
    setWindowTitle(Tr(QStringLiteral("Check Multiple Websites")));
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(true);
    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName(QStringLiteral("lines"));
    lines_->setAccessibleName(windowTitle());
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setPlainText(QStringLiteral("https://www.gnu.org/\nhttps://www.debian.org/\nhttps://www.kde.org/"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(Tr(QStringLiteral("OK")), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(Tr(QStringLiteral("Cancel")), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setAccessibleName(ok->text());
    cancel->setAccessibleName(cancel->text());
    connect(buttons, &QDialogButtonBox::accepted, this, &BatchWindow::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines_, 1);
    layout->addWidget(buttons);
    resize(480, 300);
}

// Each line goes as it stands (the new instance trims it); an empty line
// would only open an idle window, so it starts nothing.
void BatchWindow::Accept()
{
    QStringList commandLines;
    for (const QString& line : SplitLines(lines_->toPlainText()))
        if (!TrimCtl(line).isEmpty())
            commandLines << line;
    launcher_.Launch(commandLines);
    accept();
}

}  // namespace lexicrawl::gui
