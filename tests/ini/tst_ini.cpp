#include "config/IniFile.h"
#include "tests/common/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace TestFiles;

namespace {

// Sections, comments and the odd lines a hand-edited file has.
const QByteArray kSample = "\xEF\xBB\xBF"
                           "top=1\r\n"
                           "[Setup]\r\n"
                           "  AppName = Radio Tool   // the product\r\n"
                           "Tabbed=a b\t; note\r\n"
                           "Block=x /* c */ y\r\n"
                           "Order=a/*b//c\r\n"
                           "Url=http://host\r\n"
                           "Word\r\n"
                           "Pair=a=b\r\n"
                           "=orphan\r\n"
                           "; semicolon=1\r\n"
                           "/slash=1\r\n"
                           "\\back=1\r\n"
                           "*star=1\r\n"
                           "Twice=first\r\n"
                           "twice=last\r\n"
                           "List= a | b ||c \r\n"
                           "Null=(null)\r\n"
                           "[ Spaced ]\r\n"
                           "k=spaced\r\n"
                           "[setup]\r\n"
                           "AppName=second section\r\n"
                           "Only=second\r\n"
                           "[Empty]\r\n";

} // namespace

class TestIni : public QObject {
    Q_OBJECT

private slots:
    void init();
    void getValue_data();
    void getValue();
    void getListItem_data();
    void getListItem();
    void saveWritesTheStoreBack();
    void setValueMarksChanges();
    void deleteAndList();
    void backupNames();
    void longNameSaves();
    void openFailures();

private:
    QTemporaryDir m_Dir;
    QString m_Path;
};

void TestIni::init()
{
    m_Path = m_Dir.filePath("Program.ini");
    QVERIFY(Write(m_Path, kSample));
}

// clang-format off
void TestIni::getValue_data()
{
    QTest::addColumn<bool>("anyCase");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("before the first header") << true << "" << "top" << "1";
    QTest::newRow("any case, blanks before // kept") << true << "SETUP" << "appname" << "Radio Tool   ";
    QTest::newRow("TAB ; comment") << true << "Setup" << "Tabbed" << "a b";
    QTest::newRow("/* comment") << true << "Setup" << "Block" << "x ";
    QTest::newRow("// cut before /*") << true << "Setup" << "Order" << "a";
    QTest::newRow("// inside a value") << true << "Setup" << "Url" << "http:";
    QTest::newRow("word without =") << true << "Setup" << "Word" << "";
    QTest::newRow("split at the first =") << true << "Setup" << "Pair" << "a=b";
    QTest::newRow("last key wins") << true << "Setup" << "TWICE" << "last";
    QTest::newRow("first section wins") << true << "setup" << "Only" << "<d>";
    QTest::newRow("blanks inside brackets") << true << " Spaced " << "k" << "spaced";
    QTest::newRow("name without the blanks") << true << "Spaced" << "k" << "  <d>  ";
    QTest::newRow("comment ;") << true << "Setup" << "; semicolon" << "<d>";
    QTest::newRow("comment /") << true << "Setup" << "/slash" << "<d>";
    QTest::newRow("comment \\") << true << "Setup" << "\\back" << "<d>";
    QTest::newRow("comment *") << true << "Setup" << "*star" << "<d>";
    QTest::newRow("missing key: default trimmed") << true << "Setup" << "Nope" << "<d>";
    QTest::newRow("missing section: default kept") << true << "Nope" << "AppName" << "  <d>  ";
    QTest::newRow("exact case: section") << false << "setup" << "AppName" << "second section";
    QTest::newRow("exact case: key") << false << "Setup" << "appname" << "<d>";
    QTest::newRow("exact case: last key") << false << "Setup" << "Twice" << "first";
}
// clang-format on

void TestIni::getValue()
{
    QFETCH(bool, anyCase);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    CIniFile ini;
    QCOMPARE(ini.Open(m_Path, false, anyCase, false), 1);
    QCOMPARE(ini.GetValue(section, key, "  <d>  "), value);
}

// clang-format off
void TestIni::getListItem_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::newRow("first, trimmed") << "List" << 0 << "a";
    QTest::newRow("second") << "List" << 1 << "b";
    QTest::newRow("empty item") << "List" << 2 << "";
    QTest::newRow("last") << "List" << 3 << "c";
    QTest::newRow("beyond") << "List" << 4 << "";
    QTest::newRow("negative") << "List" << -1 << "";
    QTest::newRow("no separator") << "Tabbed" << 0 << "a b";
    QTest::newRow("(null) has no items") << "Null" << 0 << "";
    QTest::newRow("missing key") << "Nope" << 0 << "";
}
// clang-format on

void TestIni::getListItem()
{
    QFETCH(QString, key);
    QFETCH(int, index);
    QFETCH(QString, item);
    CIniFile ini;
    ini.Open(m_Path, false, true, false);
    QCOMPARE(ini.GetListItem("Setup", key, index, '|'), item);
}

void TestIni::saveWritesTheStoreBack()
{
    {
        CIniFile ini;
        ini.Open(m_Path, true, true, false);
        QCOMPARE(ini.Save(false), QString()); // unchanged: nothing written
        QCOMPARE(Read(m_Path), kSample);
        ini.SetValue("Setup", "Language", "Chinese");
        ini.SetValue("New", "k", "v");
    } // auto-save
    // Comments and blank lines are gone, a word gets its "=", new keys and sections come last; the
    // byte-order mark and the CR LF line ends of the file as read stay.
    const QByteArray expected
        = QByteArray("\xEF\xBB\xBF"
                     "top=1\n[Setup]\nAppName=Radio Tool   // the product\nTabbed=a b\t; note\n"
                     "Block=x /* c */ y\nOrder=a/*b//c\nUrl=http://host\nWord=\nPair=a=b\n"
                     "Twice=first\ntwice=last\nList=a | b ||c\nNull=(null)\nLanguage=Chinese\n"
                     "[ Spaced ]\nk=spaced\n[setup]\nAppName=second section\nOnly=second\n[Empty]\n"
                     "[New]\nk=v\n")
              .replace("\n", "\r\n");
    QCOMPARE(Read(m_Path), expected);
    // The mark stays after a save: the auto-save at destruction wrote again, and so does a second Save.
    CIniFile ini;
    ini.Open(m_Path, false, true, false);
    ini.SetValue("New", "k", "w");
    QVERIFY(QFile::remove(m_Path));
    ini.Save(false);
    QVERIFY(QFile::remove(m_Path));
    ini.Save(false);
    QCOMPARE(CIniFile().GetValue("New", "k"), QString());
    CIniFile reread;
    reread.Open(m_Path, false, true, false);
    QCOMPARE(reread.GetValue("New", "k"), QStringLiteral("w"));
}

void TestIni::setValueMarksChanges()
{
    CIniFile closed;
    closed.SetValue("Setup", "k", "v"); // no file open: ignored
    QVERIFY(!closed.IsModified());
    QCOMPARE(closed.GetValue("Setup", "k", "d"), QStringLiteral("d"));

    CIniFile ini;
    ini.Open(m_Path, false, true, false);
    ini.SetValue("Setup", "Pair", "A=B"); // differs only in case
    QVERIFY(!ini.IsModified());
    QCOMPARE(ini.GetValue("Setup", "Pair"), QStringLiteral("A=B"));
    ini.SetValue("Setup", "Pair", "c");
    QVERIFY(ini.IsModified());
    ini.Clear();
    QVERIFY(!ini.IsModified());
    QCOMPARE(ini.Path(), QString());
    QCOMPARE(ini.GetValue("Setup", "Pair", "d"), QStringLiteral("d"));
}

void TestIni::deleteAndList()
{
    CIniFile ini;
    ini.Open(m_Path, false, true, false);
    QStringList names;
    ini.GetSectionNames(names);
    QCOMPARE(names, QStringList({ "Setup", " Spaced ", "setup", "Empty" }));
    QStringList keys;
    ini.GetKeys("setup", keys);
    QCOMPARE(keys.mid(7, 2), QStringList({ "Twice", "twice" }));
    QCOMPARE(ini.DeleteKey("Setup", "twice") + ini.DeleteKey("Setup", "Nope"), 1); // the last one goes
    QCOMPARE(ini.GetValue("Setup", "Twice"), QStringLiteral("first"));
    QCOMPARE(ini.DeleteSection("SETUP") + ini.DeleteSection("Nope"), 1);
    QCOMPARE(ini.GetValue("Setup", "AppName"), QStringLiteral("second section"));
    // The unnamed section loses its keys but keeps its place, so no header is lost on writing.
    QCOMPARE(ini.DeleteSection(""), 1);
    QVERIFY(ini.IsModified());
    ini.Save(false);
    QVERIFY(Read(m_Path).startsWith("\xEF\xBB\xBF[ Spaced ]\r\nk=spaced\r\n[setup]\r\n"));
}

void TestIni::backupNames()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("P[1].ini");
    QVERIFY(Write(path, "[A]\nk=old\n"));
    for (const char* name : { "P[1].ini.004", "P[1].txt", "P[1].ini.abc", "P[1].dat.099", "Q.ini.500" })
        QVERIFY(Write(dir.filePath(name), "x"));
    CIniFile ini;
    ini.Open(path, false, true, true);
    ini.SetValue("A", "k", "new");
    QCOMPARE(ini.Save(true), path + ".100");
    QCOMPARE(Read(path + ".100"), QByteArray("[A]\nk=old\n"));
    ini.SetValue("A", "k", "newer");
    QCOMPARE(ini.Save(true), path + ".100"); // the chosen name is kept and overwritten
    QCOMPARE(Read(path + ".100"), QByteArray("[A]\nk=new\n"));
    QCOMPARE(ini.Save(false), path + ".100");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 7);
}

void TestIni::longNameSaves()
{
    // The temporary file beside a name of 250 characters needs a shorter name of its own.
    const QString path = m_Dir.filePath(QString(250, 'i'));
    QVERIFY(Write(path, "[A]\nk=old\n"));
    CIniFile ini;
    ini.Open(path, false, true, false);
    ini.SetValue("A", "k", "new");
    ini.Save(false);
    QCOMPARE(ini.SaveError(), QString());
    QCOMPARE(Read(path), QByteArray("[A]\nk=new\n"));
}

void TestIni::openFailures()
{
    CIniFile ini;
    const QString created = m_Dir.filePath("created.ini");
    QCOMPARE(ini.Open(created, false, true, false), 1); // a missing file is created empty
    QVERIFY(QFile::exists(created));
    QCOMPARE(ini.GetValue("Setup", "AppName", " d "), QStringLiteral(" d "));
    QCOMPARE(ini.Open(m_Dir.path(), false, true, false), 0);
    QCOMPARE(ini.Path(), QString());
    QCOMPARE(ini.GetValue("", "top", "d"), QStringLiteral("d"));
    QCOMPARE(ini.Open(m_Dir.filePath("no/such/dir.ini"), false, true, false), 0);
    QVERIFY(!ini.LastError().isEmpty());
}

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
