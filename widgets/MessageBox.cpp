#include "widgets/MessageBox.h"

#include <QAbstractButton>
#include <QCoreApplication>

QString CMessageBox::s_strCaption = QStringLiteral("Program");
CMessageBox::Hook CMessageBox::s_Hook;

QMessageBox::StandardButton CMessageBox::Show(
    QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    return Show(parent, text, s_strCaption, buttons, icon);
}

QMessageBox::StandardButton CMessageBox::Show(QWidget* parent, const QString& text, const QString& caption,
    QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    if (s_Hook)
        return s_Hook({ parent, text, caption, buttons, icon });
    QMessageBox box(icon, caption, text, buttons, parent);
    if (QAbstractButton* discard = box.button(QMessageBox::Discard))
        discard->setText(QCoreApplication::translate("CMessageBox", "Don't Save"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void CMessageBox::SetAppCaption(const QString& caption)
{
    s_strCaption = caption;
}

QString CMessageBox::AppCaption()
{
    return s_strCaption;
}

void CMessageBox::SetHook(Hook hook)
{
    s_Hook = std::move(hook);
}

// The buttons of Qt's own boxes and dialogs take their texts from this context; listing them here
// puts them into the language files with the program's other texts.
[[maybe_unused]] static const char* const kButtonTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Save"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Save All"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Open"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Apply"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Help"),
};
