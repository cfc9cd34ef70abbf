#include "addresses/ui/entry_toolbar.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/engine_error.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QStyle>
#include <QToolButton>

namespace zep {
namespace {

struct ToolButtonEntry {
    const char16_t* name;
    const char16_t* hint; // nullptr: the form's own hint
    QStyle::StandardPixmap icon;
    const char* themeIcon = nullptr; // preferred from the desktop's icon theme, the style's icon otherwise
};

// In the order of the toolbar.
const ToolButtonEntry ToolButtons[] = {
    {u"BtnNeu", nullptr, QStyle::SP_FileIcon},
    {u"BtnSave", u"Änderungen speichern", QStyle::SP_DialogSaveButton},
    // Styles draw "discard" as a waste bin, which would look like "delete" beside it.
    {u"BtnCancel", u"Änderungen verwerfen", QStyle::SP_DialogResetButton, "edit-undo"},
    {u"BtnDel", nullptr, QStyle::SP_TrashIcon},
    {u"BtnNav1", u"Zuklappen", QStyle::SP_TitleBarShadeButton},
    {u"BtnNav5", u"Übergeordneter Eintrag", QStyle::SP_ArrowUp},
    {u"BtnNav2", u"Vor", QStyle::SP_ArrowBack},
    {u"BtnNav3", u"Nächster", QStyle::SP_ArrowForward},
    {u"BtnNav6", u"Nächster übergeordneter Eintrag", QStyle::SP_ArrowDown},
    {u"BtnNav4", u"Aufklappen", QStyle::SP_TitleBarUnshadeButton},
    {u"BtnExit", u"Fenster schließen", QStyle::SP_DialogCloseButton},
};

} // namespace

QWidget* buildEntryToolBar(QWidget* owner, const QString& newHint, const QString& deleteHint,
                           const std::function<void(QObject*)>& onCommand,
                           const std::function<void(QObject*)>& onNavigate) {
    auto* bar = new QWidget(owner);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const ToolButtonEntry& entry : ToolButtons) {
        auto* button = new QToolButton(bar);
        const QString name = QString::fromUtf16(entry.name);
        button->setObjectName(name);
        button->setToolTip(entry.hint ? QString::fromUtf16(entry.hint) : (name == u"BtnNeu" ? newHint : deleteHint));
        const QIcon styleIcon = owner->style()->standardIcon(entry.icon);
        button->setIcon(entry.themeIcon ? QIcon::fromTheme(QString::fromLatin1(entry.themeIcon), styleIcon)
                                        : styleIcon);
        button->setAutoRaise(true);
        const auto& handler = name.startsWith(u"BtnNav") ? onNavigate : onCommand;
        QObject::connect(button, &QToolButton::clicked, bar, [handler, button] { handler(button); });
        layout->addWidget(button);
    }
    layout->addStretch();
    return bar;
}

void runEntryCommand(const QObject* button, const EntryCommands& commands) {
    const QString name = button->objectName();
    const std::function<void()>* command = name == u"BtnNeu"      ? &commands.newRecord
                                           : name == u"BtnSave"   ? &commands.save
                                           : name == u"BtnCancel" ? &commands.cancel
                                           : name == u"BtnDel"    ? &commands.deleteEntry
                                           : name == u"BtnExit"   ? &commands.exit
                                                                  : nullptr;
    if (!command || !*command)
        return;
    try {
        (*command)();
    } catch (const EngineError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    }
}

} // namespace zep
