#include "app/ui/help_window.h"

#include "app/program.h"
#include "tools/help_pages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

namespace {

const QString ContentsPage = QStringLiteral("inhalt.html");

QString missingPageHtml(const QString& name) {
    return QStringLiteral("<html><body><h2>Keine Hilfeseite</h2><p>Zu „%1“ gibt es keine Hilfeseite.</p>"
                          "<p><a href=\"%2\">Inhalt</a></p></body></html>")
        .arg(name.toHtmlEscaped(), ContentsPage);
}

QToolButton* makeToolButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

HelpBrowser::HelpBrowser(const QString& helpDir, QWidget* parent) : QTextBrowser(parent), helpDir_(helpDir) {
    setObjectName(QStringLiteral("HelpText"));
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (type != QTextDocument::HtmlResource)
        return QTextBrowser::loadResource(type, name);
    const QString page = name.fileName().toLower();
    if (page == ContentsPage)
        return helpContentsHtml();
    QFile file(QDir(helpDir_).filePath(page));
    if (!file.open(QIODevice::ReadOnly))
        return missingPageHtml(QFileInfo(page).completeBaseName());
    return QString::fromUtf8(file.readAll());
}

HelpWindow::HelpWindow(const QString& helpDir, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("THilfe"));
    setWindowTitle(QStringLiteral("ZEP – Hilfe"));
    setAttribute(Qt::WA_DeleteOnClose);
    HelpText = new HelpBrowser(helpDir, this);
    BtnInhalt = makeToolButton(QStringLiteral("BtnInhalt"), QStringLiteral("Inhalt"), this);
    BtnZurueck = makeToolButton(QStringLiteral("BtnZurueck"), QStringLiteral("Zurück"), this);
    BtnVor = makeToolButton(QStringLiteral("BtnVor"), QStringLiteral("Vor"), this);
    BtnZurueck->setEnabled(false);
    BtnVor->setEnabled(false);
    connect(BtnInhalt, &QToolButton::clicked, this, [this] { showTopic({}); });
    connect(BtnZurueck, &QToolButton::clicked, HelpText, &QTextBrowser::backward);
    connect(BtnVor, &QToolButton::clicked, HelpText, &QTextBrowser::forward);
    connect(HelpText, &QTextBrowser::backwardAvailable, BtnZurueck, &QToolButton::setEnabled);
    connect(HelpText, &QTextBrowser::forwardAvailable, BtnVor, &QToolButton::setEnabled);
    connect(HelpText, &QTextBrowser::sourceChanged, this,
            [this] { setWindowTitle(QStringLiteral("ZEP – Hilfe – ") + HelpText->documentTitle()); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnInhalt);
    buttons->addWidget(BtnZurueck);
    buttons->addWidget(BtnVor);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(HelpText, 1);
    resize(640, 560);
}

void HelpWindow::showTopic(const QString& topic) {
    HelpText->setSource(QUrl(topic.isEmpty() ? ContentsPage : helpPageFileName(topic)));
}

HelpWindow* ShowHelp(const QString& topic, QWidget* requester) {
    // A window of the modal dialog that asked stays usable while that dialog runs.
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : requester;
    auto* window = owner ? owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (window == nullptr)
        window = new HelpWindow(Program::instance().paths.helpDir, owner);
    window->showTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace zep
