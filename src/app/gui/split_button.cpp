#include "app/gui/split_button.h"

#include <QAccessibleWidget>

namespace lexicrawl::gui {

namespace {

class SplitButtonAccessible : public QAccessibleWidget {
public:
    explicit SplitButtonAccessible(SplitButton* button) : QAccessibleWidget(button, QAccessible::PushButton) {}

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = Button()->text().remove(QLatin1Char('&'));
        return text;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = Button()->isDown();
        state.hasPopup = Button()->menu() != nullptr;
        return state;
    }
    QStringList actionNames() const override
    {
        if (!Button()->isEnabled())
            return QAccessibleWidget::actionNames();
        QStringList names{pressAction()};
        if (Button()->menu())
            names << showMenuAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (!Button()->isEnabled())
            return;
        if (name == pressAction())
            Button()->click();
        else if (name == showMenuAction())
            Button()->showMenu();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QToolButton* Button() const { return static_cast<QToolButton*>(widget()); }
};

QAccessibleInterface* SplitButtonFactory(const QString&, QObject* object)
{
    if (auto* button = qobject_cast<SplitButton*>(object))
        return new SplitButtonAccessible(button);
    return nullptr;
}

}  // namespace

SplitButton::SplitButton(QWidget* parent) : QToolButton(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(SplitButtonFactory);
        return true;
    }();
    (void)installed;
    setPopupMode(QToolButton::MenuButtonPopup);
}

}  // namespace lexicrawl::gui
