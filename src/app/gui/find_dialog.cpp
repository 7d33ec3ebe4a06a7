#include "app/gui/find_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/platform.h"
#include "platform/text.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

int FindNextRow(const QString& needle, int current, int rowCount, const std::function<QString(int)>& textOf)
{
    const QString wanted = LowerAZ(needle);
    for (int step = 1; step <= rowCount; ++step) {
        const int row = (std::max(current, -1) + step) % rowCount;
        if (LowerAZ(textOf(row)).contains(wanted))
            return row;
    }
    return -1;
}

FindDialog::FindDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr(QStringLiteral("Find")));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("findText"));
    text_->setAccessibleName(Tr(QStringLiteral("Find what:")));
    auto* next = new QPushButton(Tr(QStringLiteral("Find Next")), this);
    next->setObjectName(QStringLiteral("findNext"));
    next->setDefault(true);
    next->setAccessibleName(next->text());
    connect(next, &QPushButton::clicked, this, [this] { emit findNext(text_->text()); });
    // Unnamed, so that a screen reader reads what it says.
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("findResult"));
    auto* row = new QHBoxLayout;
    row->addWidget(text_, 1);
    row->addWidget(next);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(result_);
}

void FindDialog::ShowFound(bool found)
{
    result_->setText(found ? QString() : Tr(QStringLiteral("Not Found!")));
    if (!found)
        Platform::Current().Beep();
}

QString FindDialog::Result() const
{
    return result_->text();
}

QString FindDialog::Text() const
{
    return text_->text();
}

void FindDialog::SetText(const QString& text)
{
    text_->setText(text);
}

}  // namespace lexicrawl::gui
