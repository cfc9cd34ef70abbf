#include "addresses/ui/topic_form.h"
#include "addresses/ui/entry_navigation.h"
#include "addresses/ui/entry_record_editor.h"
#include "addresses/ui/entry_toolbar.h"

#include "addresses/ui/address_delete.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_edit.h"
#include "controls/ui/tree_view2.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_nodes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

bool EditTopic(MainWindow& window, bool edit) {
    TopicForm form(window, edit, &window);
    form.exec();
    return form.savedAny();
}

TopicForm::TopicForm(MainWindow& window, bool edit, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), window_(window), dm_(window.dataModule()),
      table_(dm_.TThema), tree_(window.topicTree()), edit_(edit),
      editor_(table_, tree_, topicEntryCaption, topicCaptionFields, Program::instance().client.TopicTreeFile) {
    setObjectName(QStringLiteral("TB02"));
    setWindowTitle(QStringLiteral("Thema"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolBar());
    layout->addWidget(buildPanel());
    layout->addStretch();
    resize(460, 150);
}

TopicForm::~TopicForm() {
    dm_.setTopicForm(nullptr);
}

QWidget* TopicForm::buildToolBar() {
    return buildEntryToolBar(
        this, QStringLiteral("Neues Thema"), QStringLiteral("Thema löschen"),
        [this](QObject* button) { BtnNeuClick(button); }, [this](QObject* button) { BtnNav1Click(button); });
}

QWidget* TopicForm::buildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(panel);
    auto* label = new QLabel(QStringLiteral("Thema"), panel);
    label->setObjectName(QStringLiteral("Label1"));
    thema_ = new DBEdit(&dm_.DThema, QStringLiteral("Thema"), panel);
    thema_->setObjectName(QStringLiteral("A_1"));
    label->setBuddy(thema_);
    mainEntry_ = new DBCheckBox(QStringLiteral("Haupteintrag"), panel);
    mainEntry_->setObjectName(QStringLiteral("DBCheckBox2"));
    // Unticking stores -1, so that a cleared flag and a never set one (0) differ on disk as before.
    mainEntry_->setValues(1, -1);
    mainEntry_->setDataField(QStringLiteral("Baum"));
    mainEntry_->setDataSource(&dm_.DThema);
    grid->addWidget(label, 0, 0);
    grid->addWidget(thema_, 0, 1);
    grid->addWidget(mainEntry_, 1, 1);
    grid->setColumnStretch(1, 1);
    return panel;
}

void TopicForm::setControlEnabled(const QString& objectName, bool enabled) {
    if (auto* control = findChild<QWidget*>(objectName))
        control->setEnabled(enabled);
}

void TopicForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TopicForm::FormShow() {
    dm_.setTopicForm(this);
    if (!edit_)
        newRecord();
}

// Every way of closing ends here: typed changes are saved, never discarded. A record that cannot be
// posted keeps the form open rather than leaving the table in edit state behind it.
void TopicForm::done(int result) {
    if (table_.isEditing() && !save())
        return;
    FormClose();
    QDialog::done(result);
}

void TopicForm::FormClose() {
    dm_.setTopicForm(nullptr);
}

void TopicForm::BtnNeuClick(QObject* sender) {
    runEntryCommand(sender,
                    {[this] { newRecord(); }, [this] { save(); }, [this] { cancel(); }, [this] { deleteEntry(); },
                     [this] {
                         close();
                     }});
}

void TopicForm::newRecord() {
    if (!editor_.beginNew())
        return;
    setControlEnabled(QStringLiteral("Panel1"), true);
    thema_->setFocus();
}

bool TopicForm::save() {
    if (!editor_.save())
        return false;
    savedAny_ = true;
    return true;
}

void TopicForm::cancel() {
    editor_.cancel();
}

void TopicForm::deleteEntry() {
    DeleteTreeEntry(window_);
    editor_.settle();
}

void TopicForm::BtnNav1Click(QObject* sender) {
    navigateEntryTree(tree_, sender->objectName());
}

void TopicForm::showError(const QString& message) const {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace zep
