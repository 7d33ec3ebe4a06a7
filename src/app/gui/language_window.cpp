#include "app/gui/language_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include <map>

#include "app/core/language.h"
#include "app/core/settings.h"
#include "app/gui/keyboard_access.h"
#include "platform/platform.h"
#include "platform/translation.h"

namespace lexicrawl::gui {

namespace {

const QString kSuffix = QStringLiteral(".lang.txt");
const QString kTranslationPage = QStringLiteral("https://norvane.example/translate/lexicrawl/");

struct Flag {
    const char* code;
    bool vertical;                 // stripes side by side rather than stacked
    std::vector<QColor> stripes;   // empty: a badge with the code
};

const std::map<QString, Flag>& Flags()
{
    static const std::map<QString, Flag> flags = {
        {"English", {"flag", false, {QColor(0x01, 0x21, 0x69), QColor(Qt::white), QColor(0xc8, 0x10, 0x2e)}}},
        {"German", {"de", false, {QColor(Qt::black), QColor(0xdd, 0x00, 0x00), QColor(0xff, 0xce, 0x00)}}},
        {"French", {"fr", true, {QColor(0x00, 0x23, 0x95), QColor(Qt::white), QColor(0xed, 0x29, 0x39)}}},
        {"Italian", {"it", true, {QColor(0x00, 0x92, 0x46), QColor(Qt::white), QColor(0xce, 0x2b, 0x37)}}},
        {"Dutch", {"nl", false, {QColor(0xae, 0x1c, 0x28), QColor(Qt::white), QColor(0x21, 0x46, 0x8b)}}},
        {"Russian", {"ru", false, {QColor(Qt::white), QColor(0x00, 0x39, 0xa6), QColor(0xd5, 0x2b, 0x1e)}}},
        {"Hungarian", {"hu", false, {QColor(0xce, 0x29, 0x39), QColor(Qt::white), QColor(0x47, 0x70, 0x50)}}},
        {"Bulgarian", {"bg", false, {QColor(Qt::white), QColor(0x00, 0x96, 0x6e), QColor(0xd6, 0x26, 0x12)}}},
        {"Ukrainian", {"ua", false, {QColor(0x00, 0x57, 0xb7), QColor(0xff, 0xd7, 0x00)}}},
        {"Polish", {"pl", false, {QColor(Qt::white), QColor(0xdc, 0x14, 0x3c)}}},
        {"Turkish", {"tr", false, {QColor(0xe3, 0x0a, 0x17)}}},
        {"Japanese", {"jp", false, {QColor(Qt::white)}}},
    };
    return flags;
}

const std::map<QString, QString>& Codes()
{
    static const std::map<QString, QString> codes = {
        {"Albanian", "al"}, {"Arabic", "sa"}, {"ChineseSimplified", "cn"}, {"ChineseTraditional", "tw"},
        {"Vietnamese", "vi"}, {"Finnish", "fi"}, {"Greek", "gr"}, {"Hebrew", "il"}, {"Korean", "kr"},
        {"Czech", "cz"}, {"Slovak", "sk"}, {"Persian", "ir"}, {"PortugueseBrazil", "br"},
        {"PortuguesePortugal", "pt"}, {"Slovenian", "si"}, {"Spanish", "es"}, {"Swedish", "se"}};
    return codes;
}

QPixmap Badge(const QString& code)
{
    QPixmap pixmap(24, 16);
    pixmap.fill(QColor(0xd8, 0xdc, 0xe0));
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x30, 0x38, 0x40));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, code.toUpper());
    return pixmap;
}

QPixmap Stripes(const Flag& flag)
{
    QPixmap pixmap(24, 16);
    QPainter painter(&pixmap);
    const int n = int(flag.stripes.size());
    for (int i = 0; i < n; ++i) {
        const QRect band = flag.vertical ? QRect(i * 24 / n, 0, 24 / n + 1, 16) : QRect(0, i * 16 / n, 24, 16 / n + 1);
        painter.fillRect(band, flag.stripes[size_t(i)]);
    }
    if (QString::fromLatin1(flag.code) == QLatin1String("tr")) {  // crescent and star
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::white);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(9, 8), 4.5, 4.5);
        painter.setBrush(flag.stripes[0]);
        painter.drawEllipse(QPointF(10.3, 8), 3.6, 3.6);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(15.5, 8), 1.6, 1.6);
    } else if (QString::fromLatin1(flag.code) == QLatin1String("jp")) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0xbc, 0x00, 0x2d));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(12, 8), 4.5, 4.5);
    }
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, 23, 15);
    return pixmap;
}

}  // namespace

QIcon LanguageFlag(const QString& languageName)
{
    const auto flag = Flags().find(languageName);
    if (flag != Flags().end())
        return QIcon(Stripes(flag->second));
    const auto code = Codes().find(languageName);
    return QIcon(Badge(code != Codes().end() ? code->second : QStringLiteral("xx")));
}

LanguageWindow::LanguageWindow(const Language& language, Settings& settings, const QString& languagesFolder,
                               QWidget* parent)
    : QDialog(parent), settings_(settings), folder_(languagesFolder)
{
    setWindowTitle(Tr(QStringLiteral("Language")));
    languages_ = new QComboBox(this);
    languages_->setObjectName(QStringLiteral("languages"));
    QStringList names{QStringLiteral("English")};
    for (const QString& file : language.LanguageFiles()) {
        const qsizetype cut = file.indexOf(kSuffix);
        names << (cut >= 0 ? file.left(cut) : file);
    }
    names.sort();
    names.removeDuplicates();
    for (const QString& name : names)
        languages_->addItem(LanguageFlag(name), name);
    const QString loaded = language.LanguageName().isEmpty() ? QStringLiteral("English") : language.LanguageName();
    languages_->setCurrentIndex(std::max(0, int(languages_->findText(loaded))));
    atOpen_ = languages_->currentText();

    credits_ = new QPlainTextEdit(this);
    credits_->setObjectName(QStringLiteral("credits"));
    credits_->setReadOnly(true);
    credits_->setLineWrapMode(QPlainTextEdit::NoWrap);
    credits_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(credits_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(Tr(QStringLiteral("Copy")), credits_, &QPlainTextEdit::copy);
        menu.addAction(Tr(QStringLiteral("Select All")), credits_, &QPlainTextEdit::selectAll);
        menu.exec(credits_->viewport()->mapToGlobal(at));
    });

    auto* contribute = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                      .arg(kTranslationPage, Tr(QStringLiteral("Contribute to Translation"))),
                                  this);
    contribute->setAccessibleName(Tr(QStringLiteral("Contribute to Translation")));
    contribute->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(contribute, &QLabel::linkActivated, this, [](const QString& link) { Platform::Current().OpenDocument(link); });
    auto* ok = new QPushButton(Tr(QStringLiteral("OK")), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Confirm())
            emit restartRequested();
    });

    auto* grid = new QGridLayout(this);
    auto* languageLabel = new QLabel(Tr(QStringLiteral("User Interface Language:")), this);
    languageLabel->setBuddy(languages_);
    languages_->setAccessibleName(languageLabel->text());
    NameComboParts(languages_);
    auto* creditsLabel = new QLabel(Tr(QStringLiteral("Translated by:")), this);
    creditsLabel->setBuddy(credits_);
    credits_->setAccessibleName(creditsLabel->text());
    grid->addWidget(languageLabel, 0, 0);
    grid->addWidget(languages_, 0, 1);
    grid->addWidget(creditsLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(credits_, 1, 1);
    grid->addWidget(contribute, 2, 0);
    grid->addWidget(ok, 2, 1, Qt::AlignRight);
    connect(languages_, &QComboBox::currentTextChanged, this, &LanguageWindow::ShowCredits);
    ShowCredits(atOpen_);
}

void LanguageWindow::ShowCredits(const QString& name)
{
    QString credit = QStringLiteral("Norvane");
    if (name != QLatin1String("English"))
        credit = Language::CreditLookup(Language::ReadLines(folder_ + QLatin1Char('/') + name + kSuffix),
                                        QStringLiteral("INFO:Translated By"));
    QStringList lines;
    for (const QString& part : credit.split(QLatin1Char(',')))
        lines << part.trimmed();
    credits_->setPlainText(credit.isEmpty() ? QString() : lines.join(u'\n'));
}

QString LanguageWindow::Credits() const
{
    return credits_->toPlainText();
}

// The language already in use only closes the window; another one is
// written to the settings after a confirmation, for the restart.
bool LanguageWindow::Confirm()
{
    const QString selected = languages_->currentText();
    if (selected == atOpen_) {
        accept();
        return false;
    }
    if (!Platform::Current().Confirm(Tr(QStringLiteral("Confirmation")), Tr(QStringLiteral("Restart Application?")),
                                     Tr(QStringLiteral("Yes")), Tr(QStringLiteral("No"))))
        return false;
    SetLanguageFile(settings_, selected + kSuffix);
    Platform::Current().RestartWhenEnded();
    accept();
    return true;
}

}  // namespace lexicrawl::gui
