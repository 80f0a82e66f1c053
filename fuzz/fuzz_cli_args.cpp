// The command line of stryde-cli: any argument list, any virtual-mouse
// option, any batch line and any JSON arguments are parsed, checked against
// the slots and (for the device link, against a virtual mouse on a virtual
// clock) run, without a crash; what is refused says why.

#include "cli/cli_options.h"
#include "cli/slot_invoker.h"
#include "device/clock.h"
#include "device/hid_thread.h"
#include "device/virtual_mouse.h"
#include "fuzz_input.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

// Slots with the parameter types of the view's slots, which do nothing: the
// command line converts its arguments for them the same way.
class ViewSignatures : public QObject {
    Q_OBJECT
public slots:
    bool loadProfile(int) { return true; }
    void copyProfile(int, int) {}
    QVariant createMacroIni(QVariant, QVariant) { return QVariant(true); }
    QVariant updataNameList(QVariant, QStringList) { return QVariant(true); }
    QVariantList getNameList(QVariant type) { return {type}; }
    QStringList getLangStrings(QString a, QString b) { return {a, b}; }
    void setDataList(QVariant, QVariantList) {}
    void mouseSetKeyboardoption(uchar, uchar, uchar, uchar) {}
    void mouseSetProfile(uint) {}
    void mouseSetKeyMatrix(QVariantList, bool, QVariantList) {}
    void setCurrentDPI(int) {}
    void outValues(uchar& a, int& b, QString& c) { a = 1; b = -2; c = QStringLiteral("x"); }
    double ratio(double d, float f) { return d + double(f); }
};

namespace {

QString catalogue;
VirtualClock* virtualClock = nullptr;
VirtualMouse* mouse = nullptr;
Hid_Thread* link = nullptr;
ViewSignatures* view = nullptr;

void runLine(const QString& line)
{
    QString error;
    QStringList words = splitCallLine(line, &error);
    if (!error.isEmpty() || words.isEmpty())
        return;
    if (words.first() == QLatin1String("call"))
        words.removeFirst();
    if (words.isEmpty())
        return;
    const QString target = words.takeFirst();
    const int dot = target.indexOf(QLatin1Char('.'));
    const QString objectName = dot > 0 ? target.left(dot) : QString();
    QObject* object = objectName == QLatin1String("hid") ? static_cast<QObject*>(link) : view;
    QJsonArray args;
    for (const QString& w : std::as_const(words)) {
        QJsonParseError pe{};
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray("[") + w.toUtf8() + "]", &pe);
        if (pe.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1)
            return;
        args.append(doc.array().at(0));
    }
    const QString slot = dot > 0 ? target.mid(dot + 1) : target;
    const InvokeResult check = invokeSlot(object, objectName, slot, args, false);
    FUZZ_CHECK(check.ok || !check.error.isEmpty());
    if (!check.ok)
        return;
    // The device link's commands go to the virtual mouse; a handshake or a
    // device check may pick another entry, which the next input undoes.
    const InvokeResult run = invokeSlot(object, objectName, slot, args, true);
    FUZZ_CHECK(run.ok);
    link->transport().release();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir data;
    virtualClock = new VirtualClock;
    mouse = new VirtualMouse(*virtualClock);
    link = new Hid_Thread(*mouse, *virtualClock);
    view = new ViewSignatures;
    // A catalogue naming the virtual mouse, so that commands reach it.
    QFile file(data.filePath(QStringLiteral("apConfig.bin")));
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write("[common]\ndeviceCount=1\n[0]\ntype=1\nvid=04d9\npid=a1ee\nusagePage=ff00\nusage=ff00\n"
                    "usagePage2=ff01\nusage2=ff01\nreportLength=32\n");
    file.close();
    catalogue = file.fileName();
    if (link->checkDevices(catalogue) != 0)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t mode = in.u8();
    const QByteArray rest = in.rest();
    if (mode & 1) {
        // Arguments as the shell hands them over, NUL-separated.
        QStringList args{QStringLiteral("stryde-cli")};
        for (const QByteArray& a : rest.split('\0'))
            args << QString::fromUtf8(a);
        Options o;
        QString error;
        const bool ok = parseOptions(args, o, &error);
        FUZZ_CHECK(ok ? !o.command.isEmpty() : !error.isEmpty());
        VirtualMouse scratch(*virtualClock);
        for (const QString& kv : std::as_const(o.virtualOptions)) {
            const int eq = kv.indexOf(QLatin1Char('='));
            QString why;
            if (eq > 0 && !scratch.setOption(kv.left(eq), kv.mid(eq + 1), &why))
                FUZZ_CHECK(!why.isEmpty());
        }
        return 0;
    }
    // A batch file: one call per line, on the connected mouse.
    link->transport().currentIndex = 0;
    if (link->devices().isEmpty() || link->devices().at(0).path.isEmpty())
        link->checkDevices(catalogue);
    for (const QByteArray& line : rest.split('\n'))
        runLine(QString::fromUtf8(line));
    return 0;
}

#include "fuzz_cli_args.moc"
