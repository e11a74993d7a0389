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
    };
    using Hook = std::function<QMessageBox::StandardButton(const Request&)>;

    // Shows text with the application's display name as caption.
    static QMessageBox::StandardButton Show(QWidget* parent, const QString& text,
        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        QMessageBox::Icon icon = QMessageBox::Warning);
    // Shows text under an explicit caption.
    static QMessageBox::StandardButton Show(QWidget* parent, const QString& text, const QString& caption,
        QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);

    // The caption of message boxes without one of their own: "Program" until start-up names the
    // application after [language] Company.
    static void SetAppCaption(const QString& caption);
    static QString AppCaption();

    // Replaces the modal box (tests); an empty hook restores it.
    static void SetHook(Hook hook);

private:
    static QString s_strCaption;
    static Hook s_Hook;
};
