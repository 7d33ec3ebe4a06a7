#include "app/gui/text_view_dialog.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace lexicrawl::gui {

TextViewDialog::TextViewDialog(const QString& title, const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* view = new QPlainTextEdit(this);
    view->setObjectName(QStringLiteral("text"));
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setPlainText(text);
    view->setAccessibleName(title);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addWidget(buttons);
    resize(800, 600);
}

}  // namespace lexicrawl::gui
