#include "widgets/MessageBox.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGridLayout>

#include <cstdio>

QString CMessageBox::s_strCaption = QStringLiteral("Program");
CMessageBox::Hook CMessageBox::s_Hook;
bool CMessageBox::s_bUnattended = false;

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
    if (s_bUnattended)
        return Unattended({ parent, text, caption, buttons, icon });
    QMessageBox box(icon, caption, text, buttons, parent);
    FitTitle(box);
    if (QAbstractButton* discard = box.button(QMessageBox::Discard))
        discard->setText(QCoreApplication::translate("CMessageBox", "Don't Save"));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton CMessageBox::Ask(QWidget* parent, const QString& text,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon)
{
    if (s_Hook)
        return s_Hook({ parent, text, s_strCaption, buttons, icon, defaultButton });
    if (s_bUnattended)
        return Unattended({ parent, text, s_strCaption, buttons, icon, defaultButton });
    QMessageBox box(icon, s_strCaption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    FitTitle(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int CMessageBox::TitleWidth(const QMessageBox& box)
{
    // Title bars often use a bolder, larger face than the box's text: measure generously.
    QFont font = box.font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 1.2 : font.pointSizeF());
    constexpr int kIconAndButtons = 140;
    return QFontMetrics(font).horizontalAdvance(box.windowTitle()) + kIconAndButtons;
}

void CMessageBox::FitTitle(QMessageBox& box)
{
    // QMessageBox sizes itself from its text alone; a spacer across the bottom row holds it wider.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(TitleWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
        1, grid->columnCount());
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

void CMessageBox::SetUnattended(bool on)
{
    s_bUnattended = on;
}

bool CMessageBox::IsUnattended()
{
    return s_bUnattended;
}

QMessageBox::StandardButton CMessageBox::Unattended(const Request& request)
{
    const QByteArray text
        = (request.caption + QStringLiteral(": ") + request.text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(text.constData(), 1, std::size_t(text.size()), stderr);
    std::fflush(stderr);
    if (request.defaultButton != QMessageBox::NoButton)
        return request.defaultButton;
    if (request.buttons & QMessageBox::Ok)
        return QMessageBox::Ok;
    for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
        if (request.buttons & bit)
            return QMessageBox::StandardButton(bit);
    return QMessageBox::NoButton;
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
