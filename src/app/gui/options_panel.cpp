#include "app/gui/options_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/core/settings.h"
#include "app/gui/keyboard_access.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

// A label with its buddy, both named by the caption for accessibility tools.
QLabel* Caption(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(text);
    if (auto* box = qobject_cast<QComboBox*>(buddy))
        NameComboParts(box);
    return label;
}

QLineEdit* DigitsBox(const QString& name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setMaximumWidth(110);
    return box;
}

}  // namespace

OptionsPanel::OptionsPanel(Settings& settings, QWidget* parent) : QWidget(parent), settings_(settings)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    panels_ << ScopeRow() << TimeoutRow() << ExtensionsRow() << UrlsRow() << TextRow() << SourcesRow();
    optionRows_ = panels_.mid(1);
    for (QWidget* row : panels_)
        layout->addWidget(row);
    Restore();
    Connect();
}

QWidget* OptionsPanel::ScopeRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    domain_ = new QRadioButton(Tr(QStringLiteral("Domain Name")), row);
    domain_->setObjectName(QStringLiteral("domainScope"));
    subdomain_ = new QRadioButton(Tr(QStringLiteral("Subdomain Name")), row);
    subdomain_->setObjectName(QStringLiteral("subdomainScope"));
    domain_->setAccessibleName(domain_->text());
    subdomain_->setAccessibleName(subdomain_->text());
    limit_ = new QSpinBox(row);
    limit_->setObjectName(QStringLiteral("pageLimit"));
    limit_->setRange(1, 999999999);
    layout->addWidget(domain_);
    layout->addWidget(subdomain_);
    layout->addSpacing(20);
    layout->addWidget(Caption(Tr(QStringLiteral("Internal URL Limit:")), limit_, row));
    layout->addWidget(limit_);
    layout->addStretch(1);
    return row;
}

QWidget* OptionsPanel::TimeoutRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    connectTimeout_ = DigitsBox(QStringLiteral("connectTimeout"), row);
    responseTimeout_ = DigitsBox(QStringLiteral("responseTimeout"), row);
    agent_ = new QComboBox(row);
    agent_->setObjectName(QStringLiteral("agent"));
    agent_->setEditable(true);
    agent_->addItems(Settings::AgentPresets());
    agent_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The presets are long: the box takes the room the row leaves, not the longest preset's width.
    agent_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    agent_->setMinimumContentsLength(20);
    layout->addWidget(Caption(Tr(QStringLiteral("Connection Timeout (ms):")), connectTimeout_, row));
    layout->addWidget(connectTimeout_);
    layout->addWidget(Caption(Tr(QStringLiteral("Response Timeout (ms):")), responseTimeout_, row));
    layout->addWidget(responseTimeout_);
    layout->addWidget(Caption(Tr(QStringLiteral("User-Agent String:")), agent_, row));
    layout->addWidget(agent_, 1);
    connections_ = new QSpinBox(row);
    connections_->setObjectName(QStringLiteral("connections"));
    connections_->setRange(1, kMaxConnections);
    layout->addWidget(Caption(Tr(QStringLiteral("Connections:")), connections_, row));
    layout->addWidget(connections_);
    insecure_ = new QCheckBox(Tr(QStringLiteral("Do Not Verify Certificates (Insecure)")), row);
    insecure_->setObjectName(QStringLiteral("insecure"));
    insecure_->setAccessibleName(insecure_->text());
    layout->addWidget(insecure_);
    return row;
}

QWidget* OptionsPanel::ExtensionsRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    extensions_ = new QLineEdit(row);
    extensions_->setObjectName(QStringLiteral("ignoreExtensions"));
    layout->addWidget(Caption(Tr(QStringLiteral("Ignore Extensions:")), extensions_, row));
    layout->addWidget(extensions_, 1);
    return row;
}

QWidget* OptionsPanel::UrlsRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    urls_ = new QPlainTextEdit(row);
    urls_->setObjectName(QStringLiteral("ignoreUrls"));
    urls_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    urls_->setLineWrapMode(QPlainTextEdit::NoWrap);
    urls_->setFixedHeight(70);
    layout->addWidget(Caption(Tr(QStringLiteral("Ignore URLs:")), urls_, row), 0, Qt::AlignTop);
    layout->addWidget(urls_, 1);
    return row;
}

// How the pages' words are read: the standard rules, or prose as a reader reads it.
QWidget* OptionsPanel::TextRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    textMode_ = new QComboBox(row);
    textMode_->setObjectName(QStringLiteral("textMode"));
    textMode_->addItem(Tr(QStringLiteral("Standard")), int(TextMode::Standard));
    textMode_->addItem(Tr(QStringLiteral("Prose")), int(TextMode::Prose));
    altAndTitle_ = new QCheckBox(Tr(QStringLiteral("Check Alt and Title Texts")), row);
    altAndTitle_->setObjectName(QStringLiteral("altAndTitle"));
    altAndTitle_->setAccessibleName(altAndTitle_->text());
    layout->addWidget(Caption(Tr(QStringLiteral("Text Mode:")), textMode_, row));
    layout->addWidget(textMode_);
    layout->addWidget(altAndTitle_);
    // Pages built by scripts are rendered in a headless browser first.
    render_ = new QCheckBox(Tr(QStringLiteral("Render Pages Built by Scripts")), row);
    render_->setObjectName(QStringLiteral("render"));
    render_->setAccessibleName(render_->text());
    layout->addWidget(render_);
    layout->addStretch(1);
    return row;
}

QCheckBox* OptionsPanel::SettingBox(const QString& caption, const QString& name, QWidget* row)
{
    auto* box = new QCheckBox(caption, row);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    return box;
}

// Where pages come from besides links, and which robots.txt keeps out.
QWidget* OptionsPanel::SourcesRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    sitemaps_ = SettingBox(Tr(QStringLiteral("Read Sitemaps")), QStringLiteral("sitemaps"), row);
    sitemaps_->setToolTip(Tr(QStringLiteral("Also crawl the pages the site's sitemaps list")));
    robots_ = SettingBox(Tr(QStringLiteral("Obey robots.txt")), QStringLiteral("robots"), row);
    robots_->setToolTip(Tr(QStringLiteral("Leave out the pages robots.txt keeps from this crawler")));
    documents_ = SettingBox(Tr(QStringLiteral("Check Documents (PDF, ODT, DOCX)")), QStringLiteral("documents"), row);
    documents_->setToolTip(
        Tr(QStringLiteral("Links to these documents are taken even where Ignore Extensions names them")));
    for (QCheckBox* box : {sitemaps_, robots_, documents_})
        layout->addWidget(box);
    layout->addStretch(1);
    return row;
}

// The stored values, by the reading rules; nothing is written back meanwhile.
void OptionsPanel::Restore()
{
    (settings_.SubdomainScope() ? subdomain_ : domain_)->setChecked(true);
    connectTimeout_->setText(settings_.ConnectionTimeout());
    responseTimeout_->setText(settings_.ResponseTimeout());
    agent_->setEditText(settings_.Agent());
    extensions_->setText(settings_.IgnoreExtensions());
    urls_->setPlainText(QString(settings_.IgnoreUrls()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    limit_->setValue(settings_.PageLimit());
    connections_->setValue(settings_.Connections());
    textMode_->setCurrentIndex(settings_.Text() == TextMode::Prose ? 1 : 0);
    altAndTitle_->setChecked(settings_.CheckAltAndTitle());
    altAndTitle_->setEnabled(settings_.Text() == TextMode::Prose);
    sitemaps_->setChecked(settings_.Sitemaps());
    robots_->setChecked(settings_.Robots());
    documents_->setChecked(settings_.Documents());
    insecure_->setChecked(settings_.Insecure());
    render_->setChecked(settings_.Render());
}

void OptionsPanel::Connect()
{
    connect(subdomain_, &QRadioButton::toggled, this, [this](bool on) { settings_.SetSubdomainScope(on); });
    connect(limit_, &QSpinBox::valueChanged, this, [this](int value) { settings_.SetPageLimit(value); });
    connect(connections_, &QSpinBox::valueChanged, this, [this](int value) { settings_.SetConnections(value); });
    connect(connectTimeout_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.SetConnectionTimeout(text); });
    connect(responseTimeout_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.SetResponseTimeout(text); });
    connect(agent_, &QComboBox::editTextChanged, this, [this](const QString& text) { settings_.SetAgent(text); });
    connect(extensions_, &QLineEdit::textEdited, this,
            [this](const QString& text) { settings_.SetIgnoreExtensions(text); });
    connect(textMode_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const TextMode mode = TextMode(textMode_->itemData(index).toInt());
        settings_.SetText(mode);
        altAndTitle_->setEnabled(mode == TextMode::Prose);
    });
    connect(altAndTitle_, &QCheckBox::toggled, this, [this](bool on) { settings_.SetCheckAltAndTitle(on); });
    connect(sitemaps_, &QCheckBox::toggled, this, [this](bool on) { settings_.SetSitemaps(on); });
    connect(robots_, &QCheckBox::toggled, this, [this](bool on) { settings_.SetRobots(on); });
    connect(documents_, &QCheckBox::toggled, this, [this](bool on) { settings_.SetDocuments(on); });
    connect(insecure_, &QCheckBox::toggled, this, [this](bool on) { settings_.SetInsecure(on); });
    connect(render_, &QCheckBox::toggled, this, [this](bool on) { settings_.SetRender(on); });
    connect(urls_, &QPlainTextEdit::textChanged, this, [this] {
        settings_.SetIgnoreUrls(urls_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
    });
}

void OptionsPanel::SetOptionRowsVisible(bool visible)
{
    for (QWidget* row : optionRows_)
        row->setVisible(visible);
}

void OptionsPanel::SetCrawlRunning(bool running)
{
    for (QWidget* row : panels_)
        row->setEnabled(!running);
}

}  // namespace lexicrawl::gui
