// ui_View as QML and the tools see it: its slot table, what it tells the
// pages (queued or direct, from any thread), the outcome of its writes and
// the device-link flag; and the window that shows the pages.

#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/virtual_mouse.h"
#include "features/pointer_backend.h"
#include "features/profile_sync.h"
#include "view/my_qquick_view.h"
#include "view/view_facade.h"
#include "store/scripted_file_dialogs.h"
#include "support/data_fixture.h"

#include <QMetaMethod>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QQuickItem>
#include <QThread>
#include <QtTest>

namespace {

QStringList publicSlots(const QMetaObject& mo)
{
    QStringList list;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        const QMetaMethod m = mo.method(i);
        if (m.methodType() != QMetaMethod::Slot || m.access() != QMetaMethod::Public)
            continue;
        QStringList params;
        const QList<QByteArray> types = m.parameterTypes();
        const QList<QByteArray> names = m.parameterNames();
        for (int p = 0; p < types.size(); ++p)
            params << QString::fromLatin1(types.at(p) + (names.at(p).isEmpty() ? QByteArray() : ' ' + names.at(p)));
        list << QStringLiteral("%1 %2(%3)").arg(QString::fromLatin1(m.typeName()), QString::fromLatin1(m.name()),
                                                params.join(QStringLiteral(", ")));
    }
    return list;
}

} // namespace

class TestViewHost : public QObject {
    Q_OBJECT
    DataFixture m_data;
    ScriptedFileDialogs m_dialogs;

    std::unique_ptr<myQQuickView> makeWindow()
    {
        auto w = std::make_unique<myQQuickView>(m_data.root(), &m_dialogs, nullptr);
        w->setSource(QUrl::fromLocalFile(QStringLiteral(STRYDE_SOURCE_DIR "/tests/data/root_probe.qml")));
        return w;
    }
    static QString log(myQQuickView& w) { return w.rootObject()->property("log").toString(); }

private slots:
    // QML and the tools address these by name and the table's order is the
    // interface's: a renamed parameter or a moved slot shows here.
    void slotTableOfTheView()
    {
        const QStringList expected = {
            "void clearHidBusy()", "void initUI()", "void runUI()", "void resetApconfig()",
            "bool loadMacroFile(QVariant macroFileName)", "void saveMacroFile(QVariant macroFileName)",
            "bool loadProfile(int profile)", "void saveProfile(int profile)", "void resetProfile(int profile)",
            "void copyProfile(int destprofile, int srcprofile)",
            "QStringList getLangStrings(QString typeStr, QString langCode)",
            "QVariant createMacroIni(QVariant name, QVariant macroIndex)",
            "QVariant updataNameList(QVariant type, QStringList nameList)",
            "QVariant modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)",
            "void deleteMacroUpdateProfile(QVariant macroName)", "QVariant deleteMacroIni(QVariant name)",
            "QVariantList getNameList(QVariant type)",
            "QVariant saveMacroIni(QVariant name, QStringList macros, QVariant repeat)",
            "QVariant mouseSendMacroData(QVariantList macroData, QVariant macroIndex)",
            "QStringList loadMacroIni(QVariant name)", "void mouseSaveGundata(QVariant index, QVariantList src6)",
            "void mouseSendGundata(int, QVariantList)", "void modifyGundata(QVariant modifyType, QVariantList src6)",
            "QVariantList getGunData(QVariant name)", "QStringList getGunDataKey()",
            "QVariant getXYSensitive(QVariant index)", "QVariant getselectGun(QVariant index)",
            "void setXYSensitive(QVariant index, QVariant xyData)", "void setSelectGun(QVariant index, QVariant xyData)",
            "void setCurrentProfile(int profile)",
            "void mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)",
            "void mouseSetReportRate(uchar rate, uchar en)", "void mouseSetCurrentDPI(uchar currentDPI)",
            "void mouseResetKeyMatrix()", "QVariant mouseGetCurrentDPI()",
            "void mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)",
            "void mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)",
            "void mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)",
            "void mouseSetRGBColor(uchar type, QVariantList src24)", "void mouseSetProfile(uint profileNo)",
            "void mouseReadProfile(uint profileNo)", "QVariant mouseReadCurrentProfile()",
            "void mouseSwitchKeyMatrix(int indexNo)", "QVariantList GetKeyboardoption()",
            "void mouseSetCursorSpeed(uint cursorSpeed)", "void mouseSetVerticalScrollLines(uint lines)",
            "void mouseSetDoubleClickSpeed(uint speed)", "QVariantList mouseGetKeydefine(QVariant index, bool)",
            "QVariant getData(QVariant key, bool isRecovery)", "QVariant getGlobalData(QVariant key)",
            "QVariantList getDataList(QVariant key, bool isRecovery)", "void setData(QVariant key, QVariant data)",
            "void setGlobalData(QVariant key, QVariant tmpdata)", "void setDataList(QVariant key, QVariantList datalist)",
            "void setBusy(int busyTime)", "void setCurrentDPI(int dpiValue)",
        };
        QCOMPARE(expected.size(), 56);
        QCOMPARE(publicSlots(ViewFacade::staticMetaObject), expected);
        // The window adds no slot of its own.
        QCOMPARE(publicSlots(myQQuickView::staticMetaObject), QStringList());
    }

    void slotOrderOfTheDeviceLink()
    {
        QStringList names;
        for (const QString& s : publicSlots(Hid_Thread::staticMetaObject))
            names << s.section(QLatin1Char(' '), 1).section(QLatin1Char('('), 0, 0);
        const QStringList expected = {
            "hidCS", "chkDeviceIsEnCode", "USBDataEncryption", "USBDataDecipher", "hid553_00H_GetSecrecyCode",
            "hid553_83H_GetKeyboardoption", "hid560_81H_GetKeyboardoption", "hid560_82H_GetCurrentProfile",
            "hid560_84H_GetCurrentDPI", "hid553_8BH_GetCurrentDPI", "hid553_03H_SetKeyboardoption",
            "hid553_04H_SetGunData", "hid560_01H_SetKeyboardoption", "hid553_01H_SetReportRate",
            "hid560_03H_SetReportRate", "hid560_04H_SetCurrentDPI", "hid553_0BH_SetCurrentDPI", "hid553_07H_Lod",
            "hid553_12H_SetKeyMatrix", "hid560_0DH_SetKeyMatrix", "hid560_0CH_setProfile", "hid560_8CH_readProfile",
            "hid560_02H_SetCurrentProfile", "hid553_13H_SetMacroKey", "hid560_0FH_SetMacroKey", "hid553_11H_SetDPISet",
            "hid553_02H_SetCurrentKeyMatrix", "hid553_0DH_SetRGBLedEffect", "hid553_0CH_SetFixLEDColor",
            "hid553_10H_SetLED8StageColor",
        };
        QCOMPARE(names, expected);
    }

    // initUI and run are queued (they reach the pages after the caller
    // returns, in order); setBusy and setCurrentDPI reach them before returning.
    void signalsToThePages()
    {
        auto w = makeWindow();
        QVERIFY(w->rootObject());
        ViewFacade* v = w->facade();
        v->initUI();
        v->runUI();
        v->setBusy(1000);
        v->setCurrentDPI(3);
        QCOMPARE(log(*w), QStringLiteral("protect:1000;dpi:3;"));
        QCOMPARE(v->currentDpi(), 3);
        QCoreApplication::processEvents();
        QCOMPARE(log(*w), QStringLiteral("protect:1000;dpi:3;initUI;run;"));
        v->notifyKeyboard(true, 0x28);
        v->notifyMouse(false, 0xF0, 4294967286u, 7);
        QVERIFY(!log(*w).contains(QStringLiteral("key:")));
        QCoreApplication::processEvents();
        QVERIFY(log(*w).endsWith(QStringLiteral("key:true,40;mouse:false,240,4294967286,7;")));
        // A restore holds the pages, then has them read everything again.
        v->showBusy(true);
        v->reloadPages();
        v->showBusy(false);
        QVERIFY(log(*w).endsWith(QStringLiteral("busy:true;reload;busy:false;")));
        // The stage 0 reaches the pages (they ignore it) but is no stage.
        v->setCurrentDPI(0);
        QVERIFY(log(*w).endsWith(QStringLiteral("dpi:0;")));
        QCOMPARE(v->currentDpi(), 3);
    }

    // The window takes input only while the pages are enabled.
    void windowFollowsTheEnabledState()
    {
        auto w = makeWindow();
        QSignalSpy changed(w->facade(), &ViewFacade::enabledChanged);
        w->facade()->setEnabled(false);
        QVERIFY(!w->isEnabled());
        w->facade()->setEnabled(false);
        QCOMPARE(changed.count(), 1);
        w->facade()->setEnabled(true);
        QVERIFY(w->isEnabled());
    }

    // A write that does not reach the mouse, or a profile block that does not
    // read back as written, is one writeFailed; a write the mouse took is none.
    void writeFailuresTravelUp_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("reached");
        QTest::newRow("553 taken") << "553" << "" << 0 << false;
        QTest::newRow("553 lost chunk") << "553" << "failChunk=0" << 1 << false;
        QTest::newRow("560 taken") << "560" << "" << 0 << false;
        QTest::newRow("560 block reads back wrong") << "560" << "corruptBlock=1" << 1 << true;
    }
    void writeFailuresTravelUp()
    {
        QFETCH(QString, family);
        QFETCH(QString, fault);
        QFETCH(int, failures);
        QFETCH(bool, reached);
        DataFixture data;
        {
            QSettings s(data.path(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
            s.setValue(QStringLiteral("mouse/icType"), family);
        }
        VirtualClock clock;
        VirtualMouse mouse(clock, identityFromCatalogue(data.path(QStringLiteral("modules/setting/apConfig.bin"))));
        if (!fault.isEmpty())
            QVERIFY(mouse.setOption(fault.section(QLatin1Char('='), 0, 0), fault.section(QLatin1Char('='), 1)));
        Hid_Thread hid(mouse, clock);
        ViewFacade v(data.root(), &m_dialogs, nullptr);
        v.setHidLink(&hid);
        QVERIFY(hid.checkDevices(data.path(QStringLiteral("modules/setting/apConfig.bin"))) >= 0);
        v.clearHidBusy();
        if (v.featureContext().is560())
            v.profileSync().readAtConnect();
        QSignalSpy failed(&v, &ViewFacade::writeFailed);
        if (reached)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("did not read back as written")));
        if (failures)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^mouseSetDpi: the mouse")));
        v.mouseSetDpi(4, QStringLiteral("3389"), {400, 800, 1600, 3200, 6400, 8000, 10000, 12000});
        QCOMPARE(failed.count(), failures);
        if (failures) {
            QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("mouseSetDpi"));
            QCOMPARE(failed.at(0).at(1).toBool(), reached);
        }
        // The next operation starts afresh.
        v.mouseSetCurrentDPI(2);
        QCOMPARE(failed.count(), failures);
    }

    // From another thread the calls reach the root on the GUI thread, later.
    void callsFromAnotherThreadAreQueued()
    {
        auto w = makeWindow();
        ViewFacade* v = w->facade();
        QThread* t = QThread::create([v] {
            v->setCurrentDPI(5);
            v->setBusy(20);
        });
        t->start();
        t->wait();
        delete t;
        QCOMPARE(log(*w), QString());
        QTRY_COMPARE(log(*w), QStringLiteral("dpi:5;protect:20;"));
    }

    void withoutPagesNothingHappens()
    {
        ViewFacade v(m_data.root(), &m_dialogs, nullptr);
        v.initUI();
        v.setBusy(5);
        v.setCurrentDPI(1);
        v.clearHidBusy();
        QCoreApplication::processEvents();
    }

    void clearHidBusyFreesTheLink()
    {
        VirtualClock clock;
        VirtualMouse mouse(clock);
        Hid_Thread hid(mouse, clock);
        ViewFacade v(m_data.root(), &m_dialogs, nullptr);
        v.setHidLink(&hid);
        QVERIFY(hid.transport().claim());
        QVERIFY(!hid.transport().isReady());
        v.clearHidBusy();
        QVERIFY(hid.transport().isReady());
    }

    // The store opens on the data folder with the model flags of the installed file.
    void storeOpensOnTheDataFolder()
    {
        ViewFacade v(m_data.root(), &m_dialogs, nullptr);
        QCOMPARE(v.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
        QCOMPARE(v.getDataList(QStringLiteral("mouse/dpiValueArray"), true).size(), 8);
        QSignalSpy profile(&v, &ViewFacade::currentProfileChanged);
        v.setCurrentProfile(3);
        QCOMPARE(v.profileNo(), 3);
        QCOMPARE(profile.count(), 1);
        QSignalSpy keys(&v, &ViewFacade::keyCountChanged);
        v.setGlobalData(QStringLiteral("mouse/keyCount"), 6);
        QCOMPARE(v.keyCount(), 6);
        v.setGlobalData(QStringLiteral("mouse/keyCount"), QStringLiteral("many"));
        QCOMPARE(v.keyCount(), 0);
        QCOMPARE(keys.count(), 2);
        v.setData(QStringLiteral("mouse/probe"), 7);
        QCOMPARE(v.getData(QStringLiteral("mouse/probe"), false).toInt(), 7);
        v.setCurrentProfile(0);
        QVERIFY(!v.getData(QStringLiteral("mouse/probe"), false).isValid());
    }
};

QTEST_MAIN(TestViewHost)
#include "tst_view_host.moc"
