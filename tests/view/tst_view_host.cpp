// The view host as QML and the tools see it: its slot table, its calls into
// the QML root (queued or direct, from any thread) and the device-link flag.

#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/virtual_mouse.h"
#include "features/pointer_backend.h"
#include "store/my_qquick_view.h"
#include "store/scripted_file_dialogs.h"
#include "support/data_fixture.h"

#include <QMetaMethod>
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

    std::unique_ptr<myQQuickView> makeView()
    {
        auto v = std::make_unique<myQQuickView>(m_data.root(), &m_dialogs, nullptr);
        v->setSource(QUrl::fromLocalFile(QStringLiteral(STRYDE_SOURCE_DIR "/tests/data/root_probe.qml")));
        return v;
    }
    static QString log(myQQuickView& v) { return v.rootObject()->property("log").toString(); }

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
        QCOMPARE(QString::fromLatin1(myQQuickView::staticMetaObject.className()), QStringLiteral("myQQuickView"));
        QCOMPARE(publicSlots(myQQuickView::staticMetaObject), expected);
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

    // initUI and run are queued (they run after the caller returns, in order);
    // setBusy and setCurrentDPI run the root's function before returning.
    void callsIntoTheRoot()
    {
        auto v = makeView();
        QVERIFY(v->rootObject());
        v->initUI();
        v->runUI();
        v->setBusy(1000);
        v->setCurrentDPI(3);
        QCOMPARE(log(*v), QStringLiteral("protect:1000;dpi:3;"));
        QCoreApplication::processEvents();
        QCOMPARE(log(*v), QStringLiteral("protect:1000;dpi:3;initUI;run;"));
        v->notifyKeyboard(true, 0x28);
        v->notifyMouse(false, 0xF0, 4294967286u, 7);
        QVERIFY(!log(*v).contains(QStringLiteral("key:")));
        QCoreApplication::processEvents();
        QVERIFY(log(*v).endsWith(QStringLiteral("key:true,40;mouse:false,240,4294967286,7;")));
    }

    // From another thread the calls reach the root on the GUI thread, later.
    void callsFromAnotherThreadAreQueued()
    {
        auto v = makeView();
        QThread* t = QThread::create([&v] {
            v->setCurrentDPI(5);
            v->setBusy(20);
        });
        t->start();
        t->wait();
        delete t;
        QCOMPARE(log(*v), QString());
        QTRY_COMPARE(log(*v), QStringLiteral("dpi:5;protect:20;"));
    }

    void withoutARootNothingHappens()
    {
        myQQuickView v(m_data.root(), &m_dialogs, nullptr);
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
        myQQuickView v(m_data.root(), &m_dialogs, nullptr);
        v.setHidLink(&hid);
        QVERIFY(hid.transport().claim());
        QVERIFY(!hid.transport().isReady());
        v.clearHidBusy();
        QVERIFY(hid.transport().isReady());
    }

    // The store opens on the data folder with the model flags of the installed file.
    void storeOpensOnTheDataFolder()
    {
        myQQuickView v(m_data.root(), &m_dialogs, nullptr);
        QCOMPARE(v.getGlobalData(QStringLiteral("mouse/icType")).toString(), QStringLiteral("553"));
        QCOMPARE(v.getDataList(QStringLiteral("mouse/dpiValueArray"), true).size(), 8);
        v.setCurrentProfile(3);
        v.setData(QStringLiteral("mouse/probe"), 7);
        QCOMPARE(v.getData(QStringLiteral("mouse/probe"), false).toInt(), 7);
        v.setCurrentProfile(0);
        QVERIFY(!v.getData(QStringLiteral("mouse/probe"), false).isValid());
    }
};

QTEST_MAIN(TestViewHost)
#include "tst_view_host.moc"
