#pragma once
// The About window: the program's name and version, the libraries it is
// built on with their versions and licences, and where its files are.
//
// Thread-safety: UI thread only.
#include <QDialog>

namespace lexicrawl::gui {

class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(const QString& dataFolder, const QString& programFolder, QWidget* parent = nullptr);
    QString Text() const;

private:
    QString text_;
};

}  // namespace lexicrawl::gui
