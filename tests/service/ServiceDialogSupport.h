// What the service dialog tests share: the two bands, an image with known service tables, and
// answering the next modal dialog.
#pragma once

#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/MainFrame.h"
#include "dialogs/ProductInfoDlg.h"
#include "widgets/MessageBox.h"
#include "app/ProgramApp.h"
#include "app/ServiceMenu.h"
#include "link/ProgramLog.h"
#include "config/Language.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "service/ParamAdjustDlg.h"
#include "service/PasswordDlg.h"
#include "service/PowerAdjustDlg.h"
#include "radio/ServiceAccess.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace LinkTest;

namespace ServiceDialogTest {

const BandLimits kBand130 = ProductCatalog::LimitsFromBandText(QStringLiteral("130 - 160MHz"));
const BandLimits kBand430 = ProductCatalog::LimitsFromBandText(QStringLiteral("430 - 470MHz"));

// Runs answer on the next modal dialog of type T once it is up.
// Gives up after a while, so an answer never waits for the dialog of a later case.
template <typename T> void WhenModal(std::function<void(T*)> answer, int tries = 200)
{
    QTimer::singleShot(1, [answer, tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (tries > 0)
                WhenModal<T>(answer, tries - 1);
            return;
        }
        answer(dialog);
    });
}

CRadioImage Image()
{
    CRadioImage image;
    image.ApplyDefaults();
    for (int i = 0; i < 27; ++i)
        image.SetByte(0x3E0 + i, std::uint8_t(100 + i));
    const std::uint8_t params[] = { 10, 20, 30, 40, 50, 60, 70, 80, 90, 95, 99, 98, 97, 0, 0x83, 50, 51, 52,
        53, 54, 55, 10, 20, 5, 90, 10, 10 };
    std::copy(std::begin(params), std::end(params), image.Data().begin() + 0x300);
    return image;
}

QStringList EditEntries(CMainFrame* frame)
{
    QStringList texts;
    for (QAction* action : frame->menuBar()->actions().at(1)->menu()->actions())
        texts << action->text();
    return texts;
}

// Before each test: service access locked again, and every message box recorded into messages.
inline void ResetServiceTest(QStringList& messages)
{
    CServiceAccess::ResetForTest();
    messages.clear();
    CMessageBox::SetHook([&messages](const CMessageBox::Request& request) {
        messages << request.text;
        return QMessageBox::Ok;
    });
}

inline void EndServiceTest()
{
    CMessageBox::SetHook({});
    CLanguage::SetName(QString());
}

} // namespace ServiceDialogTest
