// stryde-cli: the device link without the window, for scripts, support and tests.

#include "cli/rules_command.h"
#include "cli/cli_options.h"
#include "cli/slot_invoker.h"
#include "device/clock.h"
#include "device/hid_api_system.h"
#include "device/hid_thread.h"
#include "device/link_host.h"
#include "device/tracing_hid_api.h"
#include "device/virtual_mouse.h"
#include "features/backup_folder.h"
#include "features/mouse_backup.h"
#include "features/profile_sync.h"
#include "features/pointer_backend.h"
#include "store/argument_check.h"
#include "store/data_location.h"
#include "store/language_strings.h"
#include "store/operation_failures.h"
#include "store/scripted_file_dialogs.h"
#include "store/settings_store.h"
#include "view/view_facade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTextStream>
#include <cstdio>
#include <memory>

namespace {

enum ExitCode { ExitOk = 0, ExitFailure = 1, ExitUsage = 2, ExitNoMouse = 3 };

void printOut(const QString& text)
{
    QTextStream out(stdout);
    out << text << Qt::endl;
}

void printErr(const QString& text)
{
    QTextStream err(stderr);
    err << text << Qt::endl;
}

QString usageText()
{
    QString text = QStringLiteral(
        "usage: stryde-cli [--data-dir DIR] [--virtual-mouse] [--real-time]\n"
        "                  [--virtual-option KEY=VALUE]... [--virtual-state FILE]\n"
        "                  [--hid-trace FILE] COMMAND\n"
        "\n"
        "commands:\n"
        "  devices                   each catalogue entry, whether it is present and answers the handshake\n"
        "  call OBJECT.SLOT [ARG...] run the device check, then call a public slot of OBJECT (hid or ui_View);\n"
        "                            each ARG is a JSON value (arrays for byte buffers and lists);\n"
        "                            prints one JSON object: \"result\" and the out-parameters by name\n"
        "  batch FILE|-              one call per line (OBJECT.SLOT ARG...), in one process\n"
        "  slots                     the slots of hid and ui_View that call can reach\n"
        "  rules                     the profiles chosen by the program in front (one JSON object a line)\n"
        "  rules add PROFILE PROGRAM give PROGRAM (an executable's file name) the profile PROFILE (0-5)\n"
        "  rules remove PROGRAM      take the rule of PROGRAM away\n"
        "  restore [FILE]            write a mouse backup (default: the newest of the connected mouse in\n"
        "                            modules/backup) back to the mouse it was taken from\n"
        "\n"
        "options:\n"
        "  --data-dir DIR            folder holding modules/ (default: the program's folder when it holds a\n"
        "                            writable modules/, else the user's data folder, which the program fills\n"
        "                            from the installed defaults); a folder without modules/, a file or a\n"
        "                            missing folder is a usage error\n"
        "  --help                    this text\n"
        "  --version                 the program's version\n"
        "  --virtual-mouse           use the virtual mouse instead of the USB devices; it takes the identity\n"
        "                            of the first mouse (type 1) of the catalogue and the family of mouse/icType\n"
        "  --real-time               with --virtual-mouse, really wait the pauses (default: virtual clock)\n"
        "  --virtual-state FILE      load the virtual mouse's memory from FILE and save it back afterwards\n"
        "  --hid-trace FILE          write every HID call to FILE (one line each)\n"
        "  --dialog-answer PATH      answer the next file dialog of ui_View with PATH (repeatable; then: cancelled)\n"
        "  --virtual-option KEY=VALUE  change the virtual mouse:\n");
    for (const QString& line : VirtualMouse::optionHelp())
        text += QStringLiteral("      ") + line + QLatin1Char('\n');
    text += QStringLiteral(
        "\nexit codes: 0 success; 1 a command did not reach the mouse, or a file could not be written\n"
        "(a write, import, reset or copy that did not take); 2 usage error (also a value the\n"
        "program refused, such as an index out of range); 3 no mouse passed the device check\n");
    return text;
}

// The data folder every command works on: DIR of --data-dir, else the
// executable's folder.
QString dataRoot(const Options& o)
{
    return o.dataDir.isEmpty() ? QCoreApplication::applicationDirPath() : o.dataDir;
}

// Empty when `root` is a data folder of the program (a folder holding
// modules/); else what it is instead. Without this check a mistyped folder
// lists no devices and no rules and succeeds, or has files made in it.
QString dataFolderProblem(const Options& o)
{
    const QString root = dataRoot(o);
    const QString shown = QDir::toNativeSeparators(root);
    const QString what = o.dataDir.isEmpty() ? QStringLiteral("the program's folder %1").arg(shown)
                                             : QStringLiteral("--data-dir %1").arg(shown);
    const QFileInfo info(root);
    if (!info.exists())
        return QStringLiteral("%1: no such folder").arg(what);
    if (!info.isDir())
        return QStringLiteral("%1 is not a folder").arg(what);
    if (!QFileInfo(QDir(root).filePath(QStringLiteral("modules"))).isDir())
        return QStringLiteral("%1 is not a data folder: it holds no modules folder").arg(what);
    return QString();
}

// The mouse's recoil-preset flag, as the view's settings store read it.
class CliHost : public LinkHost {
public:
    explicit CliHost(const SettingsStore& store) : m_store(store) {}
    bool isGun() const override { return m_store.isGun(); }
    void writeNotVerified(int block) override
    {
        printErr(QStringLiteral("profile block %1 did not read back as written, also after a second write").arg(block));
    }
private:
    const SettingsStore& m_store;
};

class Session {
public:
    explicit Session(const Options& o) : m_options(o) {}

    bool setUp(QString* error)
    {
        const QString root = dataRoot(m_options);
        m_apConfig = QDir(root).filePath(QStringLiteral("modules/setting/apConfig.bin"));
        // Before the catalogue is read: a damaged one is started afresh.
        SettingsStore::tidyDataFolder(root);
        if (m_options.virtualMouse && !m_options.realTime)
            m_clock = std::make_unique<VirtualClock>();
        else
            m_clock = std::make_unique<SystemClock>();
        HidApi* api = nullptr;
        if (m_options.virtualMouse) {
            m_virtual = std::make_unique<VirtualMouse>(*m_clock, identityFromCatalogue(m_apConfig));
            if (!m_options.virtualState.isEmpty() && QFileInfo::exists(m_options.virtualState)
                && !m_virtual->loadState(m_options.virtualState)) {
                *error = QStringLiteral("cannot load the virtual mouse state from %1").arg(m_options.virtualState);
                return false;
            }
            for (const QString& kv : m_options.virtualOptions) {
                const int eq = kv.indexOf(QLatin1Char('='));
                QString why;
                if (eq <= 0 || !m_virtual->setOption(kv.left(eq), kv.mid(eq + 1), &why)) {
                    *error = QStringLiteral("bad --virtual-option %1: %2").arg(kv, why.isEmpty() ? QStringLiteral("expected KEY=VALUE") : why);
                    return false;
                }
            }
            api = m_virtual.get();
        } else {
            if (!m_options.virtualOptions.isEmpty() || !m_options.virtualState.isEmpty()) {
                *error = QStringLiteral("--virtual-option and --virtual-state need --virtual-mouse");
                return false;
            }
            m_system = std::make_unique<HidApiSystem>();
            api = m_system.get();
        }
        if (!m_options.hidTrace.isEmpty()) {
            m_trace = std::make_unique<TracingHidApi>(*api, *m_clock);
            if (!m_trace->openFile(m_options.hidTrace)) {
                *error = QStringLiteral("cannot write the HID trace %1").arg(m_options.hidTrace);
                return false;
            }
            api = m_trace.get();
        }
        m_dialogs.answers = m_options.dialogAnswers;
        m_view = std::make_unique<ViewFacade>(root, &m_dialogs, nullptr);
        m_view->setObjectName(QStringLiteral("ui_View"));
        m_host = std::make_unique<CliHost>(m_view->store());
        m_hid = std::make_unique<Hid_Thread>(*api, *m_clock);
        m_hid->setHost(m_host.get());
        m_view->setHidLink(m_hid.get());
        m_view->languageStrings().setDpiSwitchSink([this](const QStringList& t) { m_hid->setDpiSwitchTexts(t); });
        return true;
    }

    void tearDown()
    {
        if (m_virtual && !m_options.virtualState.isEmpty() && !m_virtual->saveState(m_options.virtualState))
            printErr(QStringLiteral("cannot save the virtual mouse state to %1").arg(m_options.virtualState));
    }

    int listSlots()
    {
        for (const QString& line : callableSlots(m_hid.get(), QStringLiteral("hid")) + callableSlots(m_view.get(), QStringLiteral("ui_View")))
            printOut(line);
        return ExitOk;
    }

    int devices()
    {
        m_hid->scanDevices(m_apConfig);
        const QList<DeviceDescriptor> list = m_hid->devices();
        for (int i = 0; i < list.size(); ++i) {
            const DeviceDescriptor& d = list.at(i);
            const bool present = !d.path.isEmpty();
            QJsonObject o;
            o.insert(QStringLiteral("index"), i);
            o.insert(QStringLiteral("type"), d.type);
            o.insert(QStringLiteral("vid"), QStringLiteral("%1").arg(d.vid, 4, 16, QLatin1Char('0')));
            o.insert(QStringLiteral("pid"), QStringLiteral("%1").arg(d.pid, 4, 16, QLatin1Char('0')));
            o.insert(QStringLiteral("present"), present);
            o.insert(QStringLiteral("reportInterface"), !d.path2.isEmpty());
            o.insert(QStringLiteral("handshake"), present && m_hid->chkDeviceIsEnCode(i));
            printOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
        }
        if (list.isEmpty())
            printErr(QStringLiteral("the catalogue %1 lists no devices").arg(m_apConfig));
        return ExitOk;
    }

    // The device check and the connect sequence, without the listener and the window.
    bool connect()
    {
        m_view->clearHidBusy();
        if (m_hid->checkDevices(m_apConfig) < 0) {
            printErr(QStringLiteral("no mouse passed the device check"));
            return false;
        }
        m_view->clearHidBusy();
        if (m_view->featureContext().is560())
            m_view->profileSync().readAtConnect();
        return true;
    }

    struct Call {
        int line = 0;           // in a batch
        QString target;
        QObject* object = nullptr;
        QString objectName;
        QString slot;
        QJsonArray args;
    };

    // Resolves "OBJECT.SLOT" and its JSON words and checks them against the
    // slot's parameters, before anything is sent to the mouse.
    bool prepare(const QString& target, const QStringList& words, Call& c)
    {
        c.target = target;
        const int dot = target.indexOf(QLatin1Char('.'));
        c.objectName = dot > 0 ? target.left(dot) : QString();
        c.slot = dot > 0 ? target.mid(dot + 1) : QString();
        if (c.objectName == QLatin1String("hid"))
            c.object = m_hid.get();
        else if (c.objectName == QLatin1String("ui_View"))
            c.object = m_view.get();
        if (!c.object || c.slot.isEmpty()) {
            printErr(QStringLiteral("unknown call %1: expected hid.SLOT or ui_View.SLOT").arg(target));
            return false;
        }
        for (const QString& w : words) {
            QJsonParseError pe{};
            const QJsonDocument doc = QJsonDocument::fromJson(QByteArray("[") + w.toUtf8() + "]", &pe);
            if (pe.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1) {
                printErr(QStringLiteral("argument %1 is not a JSON value; expected %2")
                             .arg(w, slotSignatures(c.object, c.objectName, c.slot)));
                return false;
            }
            c.args.append(doc.array().at(0));
        }
        const InvokeResult check = invokeSlot(c.object, c.objectName, c.slot, c.args, false);
        if (!check.ok)
            printErr(check.error);
        return check.ok;
    }

    // Runs one call and tells how it went. A value the program refused (an
    // index out of range, a list of the wrong length, a path among its own
    // files) is a usage error and prints no result; a command that did not
    // reach the mouse, or an operation that did not do what was asked (a
    // write that did not take, a failed import, reset or copy), is a
    // failure, reported after the result. What the call changed in the
    // settings is written before the call counts as done.
    int run(const Call& c)
    {
        if (m_trace)
            m_trace->comment(QStringLiteral("call %1").arg(c.target));
        const quint64 refusedBefore = ArgumentCheck::refusals();
        const quint64 failedBefore = m_hid->transport().failedCommands();
        const quint64 opFailuresBefore = OperationFailures::failures();
        const InvokeResult r = invokeSlot(c.object, c.objectName, c.slot, c.args);
        m_view->store().flush();
        // Settings objects the call replaced go now: nothing holds them any more.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (ArgumentCheck::refusals() != refusedBefore) {
            printErr(ArgumentCheck::lastRefusal());
            return ExitUsage;
        }
        printOut(QString::fromUtf8(QJsonDocument(r.output).toJson(QJsonDocument::Compact)));
        const quint64 failed = m_hid->transport().failedCommands() - failedBefore;
        int rc = ExitOk;
        if (failed > 0) {
            printErr(QStringLiteral("%1: %2 command(s) did not reach the mouse").arg(c.target).arg(failed));
            rc = ExitFailure;
        }
        if (OperationFailures::failures() != opFailuresBefore) {
            printErr(QStringLiteral("%1: %2").arg(c.target, OperationFailures::lastFailure()));
            rc = ExitFailure;
        }
        return rc;
    }

    int call(const QString& target, const QStringList& words)
    {
        Call c;
        if (!prepare(target, words, c))
            return ExitUsage;
        if (!connect())
            return ExitNoMouse;
        return run(c);
    }

    int batch(const QString& file)
    {
        QFile f;
        bool opened = false;
        if (file == QLatin1String("-"))
            opened = f.open(stdin, QIODevice::ReadOnly | QIODevice::Text);
        else {
            f.setFileName(file);
            opened = f.open(QIODevice::ReadOnly | QIODevice::Text);
        }
        if (!opened) {
            printErr(QStringLiteral("cannot read %1").arg(file));
            return ExitUsage;
        }
        QList<Call> calls;
        int lineNo = 0;
        while (!f.atEnd()) {
            ++lineNo;
            const QString line = QString::fromUtf8(f.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            QString error;
            QStringList words = splitCallLine(line, &error);
            if (!error.isEmpty()) {
                printErr(QStringLiteral("line %1: %2").arg(lineNo).arg(error));
                return ExitUsage;
            }
            if (!words.isEmpty() && words.first() == QLatin1String("call"))
                words.removeFirst();
            if (words.isEmpty())
                continue;
            Call c;
            c.line = lineNo;
            const QString target = words.takeFirst();
            if (!prepare(target, words, c)) {
                printErr(QStringLiteral("line %1 not run; nothing was sent").arg(lineNo));
                return ExitUsage;
            }
            calls.append(c);
        }
        if (!connect())
            return ExitNoMouse;
        // Every call runs; the exit code is that of the first one that did
        // not succeed, and the lines that did not are named.
        int result = ExitOk;
        for (const Call& c : calls) {
            const int rc = run(c);
            if (rc != ExitOk) {
                printErr(QStringLiteral("line %1 did not succeed").arg(c.line));
                if (result == ExitOk)
                    result = rc;
            }
        }
        return result;
    }

    // Writes a backup back to the mouse. A damaged file is refused before the
    // mouse is even looked for; another mouse's backup once it is known.
    int restore(const QStringList& args)
    {
        QString file;
        if (!args.isEmpty()) {
            file = QFileInfo(args.first()).absoluteFilePath();
            QString error;
            if (!BackupFolder::load(file, &error)) {
                printErr(QStringLiteral("%1 is not a usable mouse backup: %2; nothing was sent").arg(args.first(), error));
                return ExitUsage;
            }
        }
        if (!connect())
            return ExitNoMouse;
        MouseBackup& backup = m_view->mouseBackup();
        if (file.isEmpty())
            file = backup.newestBackup();
        const MouseBackup::Result r = backup.restore(file);
        if (r.outcome == MouseBackup::Outcome::Refused) {
            printErr(r.message);
            return ExitUsage;
        }
        // The mouse passed the device check and was lost before the restore
        // began: a failure of the mouse, not of the command line.
        if (r.outcome == MouseBackup::Outcome::NoMouse) {
            printErr(r.message);
            return ExitFailure;
        }
        QJsonObject o;
        o.insert(QStringLiteral("restored"), QDir::toNativeSeparators(file));
        o.insert(QStringLiteral("backupBeforeRestore"), QDir::toNativeSeparators(backup.lastBackup()));
        o.insert(QStringLiteral("complete"), r.outcome == MouseBackup::Outcome::Restored);
        printOut(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
        if (r.outcome == MouseBackup::Outcome::Failed) {
            printErr(r.message);
            return ExitFailure;
        }
        return ExitOk;
    }

private:
    Options m_options;
    QString m_apConfig;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<VirtualMouse> m_virtual;
    std::unique_ptr<HidApiSystem> m_system;
    std::unique_ptr<TracingHidApi> m_trace;
    ScriptedFileDialogs m_dialogs;
    std::unique_ptr<ViewFacade> m_view;
    std::unique_ptr<CliHost> m_host;
    std::unique_ptr<Hid_Thread> m_hid;
};

} // namespace

int main(int argc, char** argv)
{
    // --help and --version need neither a display nor a data folder.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--help" || a == "-h") {
            printOut(usageText());
            return ExitOk;
        }
        if (a == "--version") {
            printOut(QStringLiteral("stryde-cli " STRYDE_VERSION));
            return ExitOk;
        }
    }
    // The tool shows no window: its file dialogs are answered by
    // --dialog-answer, so no widget (and no display) is needed.
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Options o;
    QString error;
    if (!parseOptions(args, o, &error)) {
        printErr(error);
        printErr(usageText());
        return ExitUsage;
    }
    // The same data folder as the window's.
    const DataLocation location = DataLocation::choose(o.dataDir);
    if (!location.prepare(&error)) {
        printErr(error);
        return ExitUsage;
    }
    o.dataDir = location.root;
    const QString command = o.command.first();
    const QString badFolder = dataFolderProblem(o);
    if (!badFolder.isEmpty()) {
        printErr(badFolder + QStringLiteral("; nothing was done"));
        return ExitUsage;
    }
    if (command == QLatin1String("rules")) {
        // The rules need no mouse.
        return runRulesCommand(dataRoot(o), o.command.mid(1), {printOut, printErr});
    }
    if (command != QLatin1String("devices") && command != QLatin1String("call") && command != QLatin1String("batch")
        && command != QLatin1String("slots") && command != QLatin1String("restore")) {
        printErr(QStringLiteral("unknown command %1: expected devices, call, batch, slots, rules or restore").arg(command));
        return ExitUsage;
    }
    if (command == QLatin1String("restore") && o.command.size() > 2) {
        printErr(QStringLiteral("restore takes at most one FILE"));
        return ExitUsage;
    }
    if ((command == QLatin1String("call") || command == QLatin1String("batch")) && o.command.size() < 2) {
        printErr(command == QLatin1String("call") ? QStringLiteral("call needs OBJECT.SLOT") : QStringLiteral("batch needs FILE or -"));
        return ExitUsage;
    }
    if (command == QLatin1String("batch") && o.command.size() != 2) {
        printErr(QStringLiteral("batch takes one FILE (or - for standard input)"));
        return ExitUsage;
    }
    if ((command == QLatin1String("devices") || command == QLatin1String("slots")) && o.command.size() != 1) {
        printErr(QStringLiteral("%1 takes no arguments").arg(command));
        return ExitUsage;
    }

    Session session(o);
    if (!session.setUp(&error)) {
        printErr(error);
        return ExitUsage;
    }
    int rc = ExitOk;
    if (command == QLatin1String("slots")) {
        rc = session.listSlots();
    } else if (command == QLatin1String("devices")) {
        rc = session.devices();
    } else if (command == QLatin1String("batch")) {
        rc = session.batch(o.command.at(1));
    } else if (command == QLatin1String("restore")) {
        rc = session.restore(o.command.mid(1));
    } else {
        rc = session.call(o.command.at(1), o.command.mid(2));
    }
    session.tearDown();
    return rc;
}
