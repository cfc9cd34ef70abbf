#pragma once

#include <QTextBrowser>
#include <QWidget>

class QToolButton;

namespace zep {

// The pages of the help folder; "inhalt.html" is the contents, a page that is missing says so.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    HelpBrowser(const QString& helpDir, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QString helpDir_;
};

// The help window: a page of the help with contents, back and forward.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    HelpWindow(const QString& helpDir, QWidget* parent = nullptr);

    // The topic's page; an empty topic shows the contents.
    void showTopic(const QString& topic);
    HelpBrowser* browser() const { return HelpText; }

private:
    HelpBrowser* HelpText = nullptr;
    QToolButton* BtnInhalt = nullptr;
    QToolButton* BtnZurueck = nullptr;
    QToolButton* BtnVor = nullptr;
};

// The one way into the help: shows the topic's page (the contents for an empty topic) in the help
// window of the requesting window, which stays usable beside a modal dialog that asked for it.
HelpWindow* ShowHelp(const QString& topic, QWidget* requester);

} // namespace zep
