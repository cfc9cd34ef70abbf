#include "app/ui/qt_interaction.h"

#include "app/ui/window_placer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QScreen>
#include <QVBoxLayout>

namespace zep {

namespace {

// Message texts carry "\r", "\r\n", "\n\r" or "\n" as line breaks; Qt's labels break only on "\n".
// A pair of CR and LF in either order is one break, so "\n\r\n\r" leaves one empty line.
QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QWidget* parentWindow() {
    return QApplication::activeWindow();
}

QFont toQFont(const FontDescription& entry) {
    QFont font(entry.name);
    if (entry.pointSize > 0)
        font.setPointSize(entry.pointSize);
    font.setBold(entry.bold);
    font.setItalic(entry.italic);
    font.setUnderline(entry.underline);
    font.setStrikeOut(entry.strikeOut);
    return font;
}

FontDescription toFontDescription(const QFont& font) {
    return FontDescription{font.family(),    font.bold(),      font.italic(),
                           font.underline(), font.strikeOut(), font.pointSize()};
}

Answer toAnswer(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

} // namespace

QtInteraction::QtInteraction() = default;

QtInteraction::~QtInteraction() {
    delete infoWindow_;
}

void QtInteraction::information(const QString& text, const QString& caption) {
    QMessageBox::information(parentWindow(), caption, displayText(text));
}

void QtInteraction::warning(const QString& text, const QString& caption) {
    QMessageBox::warning(parentWindow(), caption, displayText(text));
}

void QtInteraction::error(const QString& text, const QString& caption) {
    QMessageBox::critical(parentWindow(), caption, displayText(text));
}

Answer QtInteraction::askYesNo(const QString& text, const QString& caption, QuestionLook look) {
    const QMessageBox::Icon icon = look == QuestionLook::Error     ? QMessageBox::Critical
                                   : look == QuestionLook::Warning ? QMessageBox::Warning
                                                                   : QMessageBox::Question;
    QMessageBox box(icon, caption, displayText(text), QMessageBox::Yes | QMessageBox::No, parentWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Answer QtInteraction::askYesNoCancel(const QString& text, const QString& caption) {
    return toAnswer(QMessageBox::question(parentWindow(), caption, displayText(text),
                                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes));
}

Answer QtInteraction::askOkAbort(const QString& text, const QString& caption) {
    const auto button = QMessageBox::warning(parentWindow(), caption, displayText(text),
                                             QMessageBox::Ok | QMessageBox::Abort, QMessageBox::Ok);
    return button == QMessageBox::Ok ? Answer::Ok : Answer::Abort;
}

QString QtInteraction::openFileName(const QString& caption, const QString& startDir, const QString& filter) {
    return QFileDialog::getOpenFileName(parentWindow(), caption, startDir, filter);
}

QStringList QtInteraction::openFileNames(const QString& caption, const QString& startDir, const QString& filter) {
    return QFileDialog::getOpenFileNames(parentWindow(), caption, startDir, filter);
}

QString QtInteraction::saveFileName(const QString& caption, const QString& startDir, const QString& filter) {
    return QFileDialog::getSaveFileName(parentWindow(), caption, startDir, filter);
}

QString QtInteraction::directory(const QString& caption, const QString& startDir) {
    return QFileDialog::getExistingDirectory(parentWindow(), caption, startDir);
}

std::optional<FontDescription> QtInteraction::font(const FontDescription& initial, const QString& caption) {
    bool ok = false;
    // Only fonts that scale: printed lines and the lists are drawn at any size and angle.
    const QFont chosen =
        QFontDialog::getFont(&ok, toQFont(initial), parentWindow(), caption, QFontDialog::ScalableFonts);
    if (!ok)
        return std::nullopt;
    return toFontDescription(chosen);
}

bool QtInteraction::setupPrinter(QPrinter& printer, const QString& caption) {
    QPrintDialog dialog(&printer, parentWindow());
    dialog.setWindowTitle(caption);
    return dialog.exec() == QDialog::Accepted;
}

void QtInteraction::showInfo(const QString& text) {
    if (!infoWindow_) {
        infoWindow_ = new QFrame(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
        infoWindow_->setObjectName(QStringLiteral("InfoWindow"));
        infoWindow_->setProperty(StatedPlaceProperty, QStringLiteral("screenCentre"));
        static_cast<QFrame*>(infoWindow_.data())->setFrameStyle(QFrame::Box | QFrame::Raised);
        infoLabel_ = new QLabel(infoWindow_);
        infoLabel_->setAlignment(Qt::AlignCenter);
        infoLabel_->setMargin(24);
        auto* layout = new QVBoxLayout(infoWindow_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(infoLabel_);
    }
    infoLabel_->setText(displayText(text));
    infoWindow_->adjustSize();
    // Shown again with every notice: its size follows the text.
    placeWindow(*infoWindow_);
    infoWindow_->show();
    infoWindow_->raise();
    // The caller usually blocks the event loop right after this (opening tables): paint now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtInteraction::hideInfo() {
    if (infoWindow_)
        infoWindow_->hide();
}

} // namespace zep
