#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Every message box of the program goes through here, so that one place decides the caption and a
// test can answer the questions without a modal window ever opening.
class CMessageBox {
public:
    struct Request {
        QWidget* parent = nullptr;
        QString text;
        QString caption;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton; // what Enter answers
    };
    using Hook = std::function<QMessageBox::StandardButton(const Request&)>;

    // Shows text with the application's display name as caption.
    static QMessageBox::StandardButton Show(QWidget* parent, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::Icon icon = QMessageBox::Warning);
    // Shows text under an explicit caption.
    static QMessageBox::StandardButton Show(QWidget* parent, const QString& text, const QString& caption,
        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);

    // A question whose Enter key gives defaultButton, the safe answer, under the application's caption.
    static QMessageBox::StandardButton Ask(QWidget* parent, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
        QMessageBox::Icon icon = QMessageBox::Question);

    // The caption of message boxes without one of their own: "Program" until start-up names the
    // application after [language] Company.
    static void SetAppCaption(const QString& caption);
    static QString AppCaption();

    // Widens box so that its whole title fits in the title bar beside the window buttons.
    static void FitTitle(QMessageBox& box);
    // The width a box needs for its title: the text plus room for the window icon and buttons.
    static int TitleWidth(const QMessageBox& box);

    // Replaces the modal box (tests); an empty hook restores it.
    static void SetHook(Hook hook);

    // Nobody may be at the screen (the program was asked to end by a signal): every box goes to the
    // error output instead and takes its default answer (Ok, or the first button, when it has none).
    // A test's hook still hears every box.
    static void SetUnattended(bool on);
    static bool IsUnattended();

private:
    static QMessageBox::StandardButton Unattended(const Request& request);

    static QString s_strCaption;
    static Hook s_Hook;
    static bool s_bUnattended;
};
