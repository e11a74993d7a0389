#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "app/EditMenu.h"
#include "app/MainFrame.h"
#include "app/OpenBackupDlg.h"
#include "app/ProgramApp.h"
#include "radio/ChannelCodec.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "editor/RowEditor.h"
#include "image/BackupStore.h"
#include "image/ProgramDoc.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace ChannelCodec;

// Undo, redo and the whole-channel commands, driven through the window's keys, menus and grid.
class TestUndo : public QObject {
    Q_OBJECT

private:
    // Channels 1-4 at 141, 142, 143 and 144 MHz, the rest empty; the history starts here.
    static CRadioImage FourChannels(CGuiFixture& f)
    {
        CRadioImage image = f.Doc()->m_Image;
        for (int channel = 1; channel <= 4; ++channel)
            EncodeChannel(image, channel,
                { QString::number(140 + channel), QString::number(140 + channel), "None", "None", "Wide",
                    "Yes", "Off", "High" });
        f.Doc()->m_Image = image;
        f.View()->OnImageReplaced();
        return image;
    }

    // The receive column of rows 1-8, by MHz ("-" for an empty row).
    static QString Receive(CGuiFixture& f)
    {
        QStringList out;
        for (int row = 1; row <= 8; ++row) {
            const QString text = f.Grid()->GetTextMatrix(row, kRxFrequency);
            out << (text.isEmpty() ? QStringLiteral("-") : QString::number(text.toDouble()));
        }
        return out.join(' ');
    }

    static void Key(const QKeySequence& key)
    {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keySequence(target, key);
    }

private slots:
    // Each edit is one step; undo walks back to the saved state, where the document is unchanged
    // again, and redo walks forward; the grid always shows the image.
    void cellEdits_data()
    {
        QTest::addColumn<QKeySequence>("undo");
        QTest::addColumn<QKeySequence>("redo");
        QTest::newRow("Ctrl+Z, Ctrl+Y") << QKeySequence("Ctrl+Z") << QKeySequence("Ctrl+Y");
        QTest::newRow("Ctrl+Z, Ctrl+Shift+Z") << QKeySequence("Ctrl+Z") << QKeySequence("Ctrl+Shift+Z");
        QTest::newRow("Edit menu") << QKeySequence() << QKeySequence();
    }

    void cellEdits()
    {
        QFETCH(QKeySequence, undo);
        QFETCH(QKeySequence, redo);
        CGuiFixture f;
        QVERIFY(f.Start());
        auto step = [&](bool back) {
            const QKeySequence& key = back ? undo : redo;
            if (key.isEmpty())
                f.Run(back ? CEditMenu::kUndo : CEditMenu::kRedo);
            else
                Key(key);
        };
        QAction* undoEntry = f.Frame()->FindCommand(CEditMenu::kUndo);
        QVERIFY(undoEntry && !undoEntry->isEnabled());

        const CRadioImage start = f.Doc()->m_Image;
        f.ClickCell(4, kRxFrequency);
        f.Type("150");
        f.PressEnter();
        const CRadioImage typed = f.Doc()->m_Image;
        if (!undo.isEmpty()) {
            // The transmit box opened by Enter has no typing of its own to undo: the keys reach the document.
            QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
            step(true);
            QCOMPARE(f.Doc()->m_Image, start);
            f.ClickCell(4, kTxFrequency);
            f.Type("151");
            step(true); // the box's own typing first
            QCOMPARE(f.VisibleEditor()->property("text").toString(), QString()); // as it opened
            f.PressEnter();
            step(false);
            QCOMPARE(f.Doc()->m_Image, typed);
        }
        f.ClickCell(4, kBandwidth);
        QTest::keyClick(f.VisibleEditor(), Qt::Key_Down); // Wide to Narrow
        f.PressEnter(); // the scan list opens next, with the keyboard in it
        const CRadioImage narrow = f.Doc()->m_Image;
        const QStringList edited = f.RowTexts(4);
        QCOMPARE(edited,
            (QStringList { "150.00000", "150.00000", "None", "None", "Narrow", "Yes", "Off", "High" }));
        QVERIFY(undoEntry->isEnabled() && f.Doc()->IsModified());

        step(true);
        QCOMPARE(f.Doc()->m_Image, typed);
        QCOMPARE(f.RowTexts(4)[kBandwidth - 1], QString("Wide"));
        QVERIFY(f.Doc()->IsModified());
        step(true);
        QCOMPARE(f.Doc()->m_Image, start);
        QCOMPARE(f.RowTexts(4), QStringList(8, QString()));
        QVERIFY(!f.Doc()->IsModified() && !undoEntry->isEnabled());
        QVERIFY(!f.VisibleEditor()); // no editor is left over a cell that changed under it

        step(false);
        step(false);
        QCOMPARE(f.Doc()->m_Image, narrow);
        QCOMPARE(f.RowTexts(4), edited);
        QVERIFY(f.Doc()->IsModified());

        // Saved: that is the clean state now, before and after it is not.
        f.fileAnswers << f.DataPath("saved.dat");
        f.Run(CMainFrame::kFileSave);
        QVERIFY(!f.Doc()->IsModified());
        step(true);
        QVERIFY(f.Doc()->IsModified());
        step(false);
        QVERIFY(!f.Doc()->IsModified());
        QCOMPARE(f.messages.size(), 0);
    }

    // The settings dialogs are steps too.
    void optionsDialog()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        const CRadioImage start = f.Doc()->m_Image;
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            auto* box = dialog->findChild<QComboBox*>();
            box->setCurrentIndex(box->currentIndex() == 0 ? 1 : 0);
            static_cast<QDialog*>(dialog)->accept();
        });
        f.Run(CMainFrame::kOptionalFeatures);
        QVERIFY(f.Doc()->m_Image != start);
        const CRadioImage changed = f.Doc()->m_Image;
        f.Run(CEditMenu::kUndo);
        QCOMPARE(f.Doc()->m_Image, start);
        QVERIFY(!f.Doc()->IsModified());
        f.Run(CEditMenu::kRedo);
        QCOMPARE(f.Doc()->m_Image, changed);
    }

    // Rows picked by their numbers, a command by its key, and undo gives back every byte. A paste
    // with any refused line says why and changes nothing; one that does not fit neither.
    void rowCommands_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last"); // Shift+click; 0 works on the current cell's row instead
        // "row N" clicks a row's number, "clipboard TEXT" puts TEXT there.
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("message"); // null: none

        using Keys = QStringList;
        const QString none;
        QTest::newRow("Delete clears") << 2 << 3 << Keys { "Del" } << "141 - - 144 - - - -" << none;
        QTest::newRow("Ctrl+Delete removes")
            << 2 << 3 << Keys { "Ctrl+Del" } << "141 144 - - - - - -" << none;
        QTest::newRow("Insert") << 2 << 0 << Keys { "Ins" } << "141 - 142 143 144 - - -" << none;
        QTest::newRow("Alt+Up twice")
            << 3 << 4 << Keys { "Alt+Up", "Alt+Up" } << "143 144 141 142 - - - -" << none;
        QTest::newRow("Alt+Down") << 1 << 0 << Keys { "Alt+Down" } << "142 141 143 144 - - - -" << none;
        QTest::newRow("cut, then paste lower")
            << 1 << 2 << Keys { "Ctrl+X", "Alt+Down", "Alt+Down", "Alt+Down", "Alt+Down", "Ctrl+V" }
            << "143 144 - - 141 142 - -" << none;
        QTest::newRow("copy, paste over")
            << 4 << 0 << Keys { "Ctrl+C", "row 1", "Ctrl+V" } << "144 142 143 144 - - - -" << none;
        QTest::newRow("Shift+Down selects, Alt+Down moves")
            << 2 << 0 << Keys { "Shift+Down", "Shift+Down", "Shift+Up", "Alt+Down", "Alt+Down" }
            << "141 144 - 142 143 - - -" << none;
        QTest::newRow("Shift+Space, Shift+Down, Ctrl+Delete")
            << 3 << 0 << Keys { "Shift+Space", "Shift+Down", "Ctrl+Del" } << "141 142 - - - - - -" << none;
        const QString start = "141 142 143 144 - - - -";
        QTest::newRow("paste out of band") << 1 << 0 << Keys { "clipboard 146.5\n175\n", "row 1", "Ctrl+V" }
                                           << start << "Line 2: Rx Frequency 175 is out of range";
        QTest::newRow("paste too many") << 1 << 0 << Keys { "clipboard 150\n151\n", "row 16", "Ctrl+V" }
                                        << start << "2 channels do not fit from channel 16 on.";
        QTest::newRow("paste no channels")
            << 1 << 0 << Keys { "clipboard CH\tRx Frequency\n", "row 1", "Ctrl+V" } << start
            << "The clipboard holds no channels.";
    }

    void rowCommands()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QStringList, keys);
        QFETCH(QString, after);
        QFETCH(QString, message);
        CGuiFixture f;
        QVERIFY(f.Start());
        const CRadioImage start = FourChannels(f);
        if (last == 0) {
            f.ClickCell(first, kScan); // a list editor has the keyboard
        } else {
            f.ClickCell(first, 0);
            f.ClickCell(last, 0, Qt::ShiftModifier);
            QCOMPARE(f.View()->RowEditor()->Target().first, first);
            QCOMPARE(f.View()->RowEditor()->Target().last, last);
        }
        for (const QString& key : keys) {
            if (key.startsWith("row "))
                f.ClickCell(key.mid(4).toInt(), 0);
            else if (key.startsWith("clipboard "))
                QApplication::clipboard()->setText(key.mid(10));
            else
                Key(QKeySequence(key));
        }
        QCOMPARE(Receive(f), after);
        QCOMPARE(f.MessageTexts(), message.isNull() ? QStringList() : QStringList { message });
        QCOMPARE(f.Doc()->IsModified(), message.isNull());
        for (int i = 0; i < 10 && f.Doc()->UndoStack()->canUndo(); ++i)
            Key(QKeySequence("Ctrl+Z"));
        QCOMPARE(f.Doc()->m_Image, start);
        QCOMPARE(Receive(f), QString("141 142 143 144 - - - -"));
        QVERIFY(!f.Doc()->IsModified());
    }

    // The grid's context menu holds the Edit menu's channel commands; a right click inside the
    // selection keeps it.
    void contextMenu_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("history"); // the Edit menu's first two entries
        QTest::newRow("English") << "English"
                                 << QStringList { "Cu&t", "Cop&y", "P&aste", "", "&Insert Channel",
                                        "&Delete Channel", "Cl&ear", "", "Mo&ve Up", "Move Do&wn",
                                        "&Sort by Rx Frequency" }
                                 << QStringList { "&Undo", "&Redo" };
        QTest::newRow("Chinese") << "Chinese"
                                 << QStringList { "剪切(&T)", "复制(&Y)", "粘贴(&A)", "", "插入信道(&I)",
                                        "删除信道(&D)", "清除(&E)", "", "上移(&V)", "下移(&W)",
                                        "按接收频率排序(&S)" }
                                 << QStringList { "撤销(&U)", "重做(&R)" };
    }

    void contextMenu()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, history);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        const QList<QAction*> edit = f.Frame()->MenuOf(CEditMenu::kUndo)->actions();
        QCOMPARE((QStringList { edit[0]->text(), edit[1]->text() }), history);
        FourChannels(f);
        f.ClickCell(2, 0);
        f.ClickCell(3, 0, Qt::ShiftModifier);
        f.ClickCell(3, 4, {}, Qt::RightButton);
        QCOMPARE(f.View()->RowEditor()->Target().first, 2);
        QCOMPARE(f.View()->RowEditor()->Target().last, 3);

        std::unique_ptr<QMenu> menu(f.View()->RowEditor()->BuildContextMenu());
        QStringList texts;
        QAction* moveDown = nullptr;
        for (QAction* action : menu->actions()) {
            texts << action->text();
            if (action->data().toInt() == CEditMenu::kMoveDown)
                moveDown = action;
        }
        QCOMPARE(texts, entries);
        QVERIFY(moveDown && moveDown->isEnabled());
        moveDown->trigger();
        QCOMPARE(Receive(f), QString("141 144 142 143 - - - -"));
    }

    // Every read is kept; File > Open Backup lists them with type and band and opens one without a
    // file name, so saving it asks where.
    void openBackup_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QString>("unknown"); // the port of a backup that did not record one
        QTest::newRow("English") << "English" << QStringList { "Read at", "Port", "Type", "Frequency" } << "(not recorded)";
        QTest::newRow("Chinese") << "Chinese" << QStringList { "读取时间", "端口", "类型", "频率" } << "(未记录)";
    }

    void openBackup()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, headers);
        QFETCH(QString, unknown);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        CRadioImage older = f.Doc()->m_Image;
        older.SetByte(ImageMap::kFrequencyBand, 1);
        CRadioImage newer = FourChannels(f);
        const CBackupStore store(f.BackupFolder());
        const QDateTime when(QDate(2026, 12, 8), QTime(0, 30, 5));
        QVERIFY(store.Keep(older, when).ok());
        QVERIFY(store.Keep(newer, when.addSecs(60), nullptr, "COM3 (/dev/ttyUSB2)").ok());

        QStringList listed;
        QStringList shownHeaders;
        f.onDialog = [&](QDialog& dialog) {
            auto* list = static_cast<COpenBackupDlg&>(dialog).List();
            for (int col = 0; col < list->columnCount(); ++col)
                shownHeaders << list->headerItem()->text(col);
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                listed << list->topLevelItem(i)->text(1) + " | " + list->topLevelItem(i)->text(2) + " "
                        + list->topLevelItem(i)->text(3);
            list->setCurrentItem(list->topLevelItem(1));
            dialog.accept();
            return int(QDialog::Accepted);
        };
        f.Run(CMainFrame::kFileOpenBackup);
        QCOMPARE(shownHeaders, headers);
        QCOMPARE(listed, (QStringList { "COM3 (/dev/ttyUSB2) | QR-260 130 - 160MHz", unknown + " | QR-260 136 - 174MHz" }));
        QCOMPARE(f.Doc()->m_Image, older);
        QCOMPARE(f.Doc()->Title(), QString("read-20261208-003005"));
        QCOMPARE(f.messages.size(), 0);
        QVERIFY(f.Doc()->PathName().isEmpty() && !f.Doc()->IsModified());
        f.Run(CMainFrame::kFileSave);
        QCOMPARE(f.filePrompts.size(), 1);
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
