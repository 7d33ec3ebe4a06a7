#pragma once
// The crawl's option rows under the URL row: the scope and page limit, and
// (shown while "Show Options" is checked) the time-outs and user agent, the
// ignored extensions and the ignored URLs. Each control starts from its
// stored value and writes its key the moment it changes; the four rows are
// disabled while a crawl runs.
//
// Thread-safety: UI thread only.
#include <QWidget>

#include "crawl/crawl_options.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace lexicrawl {
class Settings;
}

namespace lexicrawl::gui {

class OptionsPanel : public QWidget {
    Q_OBJECT
public:
    OptionsPanel(Settings& settings, QWidget* parent = nullptr);

    void SetOptionRowsVisible(bool visible);
    void SetCrawlRunning(bool running);
    QComboBox* AgentBox() const { return agent_; }

private:
    QWidget* ScopeRow();
    QWidget* TimeoutRow();
    QWidget* ExtensionsRow();
    QWidget* UrlsRow();
    QWidget* TextRow();
    QWidget* SourcesRow();
    QCheckBox* SettingBox(const QString& caption, const QString& name, QWidget* row);
    void Restore();
    void Connect();

    Settings& settings_;
    QRadioButton* domain_ = nullptr;
    QRadioButton* subdomain_ = nullptr;
    QSpinBox* limit_ = nullptr;
    QLineEdit* connectTimeout_ = nullptr;
    QLineEdit* responseTimeout_ = nullptr;
    QComboBox* agent_ = nullptr;
    QSpinBox* connections_ = nullptr;
    QLineEdit* extensions_ = nullptr;
    QPlainTextEdit* urls_ = nullptr;
    QComboBox* textMode_ = nullptr;
    QCheckBox* altAndTitle_ = nullptr;
    QCheckBox* sitemaps_ = nullptr;
    QCheckBox* robots_ = nullptr;
    QCheckBox* documents_ = nullptr;
    QCheckBox* insecure_ = nullptr;  // certificates not verified, for test servers
    QCheckBox* render_ = nullptr;
    QList<QWidget*> panels_;      // the four rows disabled during a crawl
    QList<QWidget*> optionRows_;  // the rows "Show Options" shows
};

}  // namespace lexicrawl::gui
