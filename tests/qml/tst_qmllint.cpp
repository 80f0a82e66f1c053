// qmllint over every QML file of the program and of its tests, with no warning
// allowed. qmllint cannot see what the program publishes at run time, so this
// test declares it first, generated from the real objects:
//   - the context objects ui_View, hid, ui_Ctl (and the tests' rig), from
//     their C++ meta-objects;
//   - the root item of main.qml (its properties and functions) and every id of
//     main.qml, which the pages reach by name, from a real instance of main.qml.
// They are added as global names to a copy of qmllint's JavaScript root
// description (jsroot.qmltypes), so qmllint checks every use of them: a call
// of a slot or function that does not exist is still a warning.

#include "app/app_rules_bridge.h"
#include "app/ui_controler.h"
#include "device/hid_thread.h"
#include "store/my_qquick_view.h"
#include "support/qml_rig.h"
#include "view/view_types.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// qmllint resolves the JavaScript root against its built-in types only.
QString lintType(const QMetaType& type)
{
    switch (type.id()) {
    case QMetaType::Bool:
        return QStringLiteral("bool");
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar: case QMetaType::Long:
    case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong:
        return QStringLiteral("int");
    case QMetaType::Double: case QMetaType::Float:
        return QStringLiteral("double");
    case QMetaType::QString:
        return QStringLiteral("QString");
    case QMetaType::QStringList:
        return QStringLiteral("QStringList");
    case QMetaType::QUrl:
        return QStringLiteral("QUrl");
    case QMetaType::Void: case QMetaType::UnknownType:
        return QString();
    default:
        return QStringLiteral("QVariant");
    }
}

QString quoted(const QString& s) { return QLatin1Char('"') + s + QLatin1Char('"'); }

QString methodText(const QMetaMethod& m, const QString& indent)
{
    const bool isSignal = m.methodType() == QMetaMethod::Signal;
    QString text = indent + (isSignal ? QStringLiteral("Signal {\n") : QStringLiteral("Method {\n"));
    text += indent + QStringLiteral("    name: ") + quoted(QString::fromLatin1(m.name())) + QLatin1Char('\n');
    const QString ret = lintType(m.returnMetaType());
    if (!ret.isEmpty() && !isSignal)
        text += indent + QStringLiteral("    type: ") + quoted(ret) + QLatin1Char('\n');
    const QList<QByteArray> names = m.parameterNames();
    for (int i = 0; i < m.parameterCount(); ++i) {
        QString type = lintType(m.parameterMetaType(i));
        if (type.isEmpty())
            type = QStringLiteral("QVariant");
        const QString name = names.value(i).isEmpty() ? QStringLiteral("arg%1").arg(i) : QString::fromLatin1(names.at(i));
        text += indent + QStringLiteral("    Parameter { name: ") + quoted(name) + QStringLiteral("; type: ")
                + quoted(type) + QStringLiteral(" }\n");
    }
    return text + indent + QStringLiteral("}\n");
}

// One qmltypes component with every property and method of `mo` (inherited
// ones included, so that e.g. `width` of a page is known too).
QString componentText(const QString& name, const QMetaObject* mo)
{
    QString text = QStringLiteral("    Component {\n        name: ") + quoted(name)
                   + QStringLiteral("\n        accessSemantics: \"reference\"\n        prototype: \"QObject\"\n");
    QSet<QString> seen;
    for (int i = 0; i < mo->propertyCount(); ++i) {
        const QMetaProperty p = mo->property(i);
        const QString pname = QString::fromLatin1(p.name());
        if (seen.contains(pname))
            continue;
        seen.insert(pname);
        QString type = lintType(p.metaType());
        if (type.isEmpty())
            type = QStringLiteral("QVariant");
        text += QStringLiteral("        Property { name: ") + quoted(pname) + QStringLiteral("; type: ")
                + quoted(type) + QStringLiteral(" }\n");
    }
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.access() == QMetaMethod::Private || m.methodType() == QMetaMethod::Constructor)
            continue;
        text += methodText(m, QStringLiteral("        "));
    }
    return text + QStringLiteral("    }\n");
}

QStringList qmlFiles()
{
    QStringList files;
    for (const char* dir : {"modules/qml", "tests/qml", "tests/data"}) {
        QDirIterator it(QStringLiteral(STRYDE_SOURCE_DIR "/") + QLatin1String(dir), {QStringLiteral("*.qml")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
    }
    files.sort();
    return files;
}

QString qmllintPath()
{
#ifdef STRYDE_QMLLINT
    return QStringLiteral(STRYDE_QMLLINT);
#else
    return QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/qmllint");
#endif
}

} // namespace

class QmlLint : public QObject {
    Q_OBJECT
private slots:
    void everyQmlFileIsClean();
    void noInlineComponents();
};

void QmlLint::everyQmlFileIsClean()
{
    // The declarations: context objects, then main.qml's root and its ids.
    QStringList components;
    QStringList globals;
    const QList<QPair<QString, const QMetaObject*>> contexts{
        {QStringLiteral("ui_View"), &myQQuickView::staticMetaObject},
        {QStringLiteral("hid"), &Hid_Thread::staticMetaObject},
        {QStringLiteral("ui_Ctl"), &Ui_Controler::staticMetaObject},
        {QStringLiteral("appRules"), &AppRulesBridge::staticMetaObject},
        {QStringLiteral("rig"), &QmlRig::staticMetaObject},
    };
    for (const auto& c : contexts) {
        const QString type = QStringLiteral("StrydeContext_") + c.first;
        components.append(componentText(type, c.second));
        globals.append(QStringLiteral("        Property { name: %1; type: %2 }\n").arg(quoted(c.first), quoted(type)));
    }

    registerViewTypes();
    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    std::unique_ptr<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    const QMetaObject* rootMo = root->metaObject();
    components.append(componentText(QStringLiteral("StrydeRoot"), rootMo));
    // The root's own properties and functions, reached unqualified by the pages.
    QSet<QString> declared;
    for (int i = rootMo->propertyOffset(); i < rootMo->propertyCount(); ++i) {
        const QMetaProperty p = rootMo->property(i);
        QString type = lintType(p.metaType());
        if (type.isEmpty())
            type = QStringLiteral("QVariant");
        declared.insert(QString::fromLatin1(p.name()));
        globals.append(QStringLiteral("        Property { name: %1; type: %2 }\n").arg(quoted(QString::fromLatin1(p.name())), quoted(type)));
    }
    for (int i = rootMo->methodOffset(); i < rootMo->methodCount(); ++i) {
        const QMetaMethod m = rootMo->method(i);
        if (m.methodType() == QMetaMethod::Method || m.methodType() == QMetaMethod::Slot)
            globals.append(methodText(m, QStringLiteral("        ")).replace(QStringLiteral("Signal {"), QStringLiteral("Method {")));
    }

    QFile mainFile(QStringLiteral(STRYDE_SOURCE_DIR "/modules/qml/main.qml"));
    QVERIFY(mainFile.open(QIODevice::ReadOnly));
    const QString mainSource = QString::fromUtf8(mainFile.readAll());
    QRegularExpression idPattern(QStringLiteral("\\bid:\\s*([A-Za-z_][A-Za-z0-9_]*)"));
    QQmlContext* rootContext = qmlContext(root.get());
    for (auto it = idPattern.globalMatch(mainSource); it.hasNext();) {
        const QString id = it.next().captured(1);
        if (declared.contains(id))
            continue;
        declared.insert(id);
        QObject* object = rootContext->objectForName(id);
        if (!object)
            continue;   // an id inside a delegate: not visible to the pages
        const QString type = QStringLiteral("StrydeId_") + id;
        components.append(componentText(type, object->metaObject()));
        globals.append(QStringLiteral("        Property { name: %1; type: %2 }\n").arg(quoted(id), quoted(type)));
    }

    // A copy of qmllint's built-in descriptions with the declarations added.
    const QString qtQml = QLibraryInfo::path(QLibraryInfo::QmlImportsPath);
    QFile jsroot(qtQml + QStringLiteral("/jsroot.qmltypes"));
    QVERIFY2(jsroot.open(QIODevice::ReadOnly), qPrintable(jsroot.fileName()));
    QString js = QString::fromUtf8(jsroot.readAll());
    const QString globalMarker = QStringLiteral("name: \"GlobalObject\"");
    const int global = js.indexOf(globalMarker);
    QVERIFY(global > 0);
    const int globalBodyStart = js.indexOf(QLatin1Char('\n'), js.indexOf(QStringLiteral("prototype:"), global)) + 1;
    js.insert(globalBodyStart, globals.join(QString()));
    const int moduleStart = js.indexOf(QStringLiteral("Module {"));
    QVERIFY(moduleStart >= 0);
    js.insert(js.indexOf(QLatin1Char('\n'), moduleStart) + 1, components.join(QString()));

    const QString declDir = QDir::cleanPath(QStringLiteral(STRYDE_BIN_DIR "/../qmllint"));
    QDir().mkpath(declDir);
    QFile out(declDir + QStringLiteral("/jsroot.qmltypes"));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(js.toUtf8());
    out.close();
    QFile::remove(declDir + QStringLiteral("/builtins.qmltypes"));
    QVERIFY(QFile::copy(qtQml + QStringLiteral("/builtins.qmltypes"), declDir + QStringLiteral("/builtins.qmltypes")));

    const QStringList files = qmlFiles();
    QVERIFY(files.size() > 10);
    QProcess lint;
    lint.setProcessChannelMode(QProcess::MergedChannels);
    // The program's own QML module (Stryde.View) is described in the build's qml folder.
    const QString viewModule = QDir::cleanPath(QStringLiteral(STRYDE_BIN_DIR "/../qml"));
    lint.start(qmllintPath(), QStringList{QStringLiteral("--bare"), QStringLiteral("-I"), declDir,
                                          QStringLiteral("-I"), viewModule, QStringLiteral("-I"), qtQml} + files);
    QVERIFY2(lint.waitForStarted(), qPrintable(qmllintPath()));
    QVERIFY(lint.waitForFinished(120000));
    const QString output = QString::fromUtf8(lint.readAll());
    QVERIFY2(lint.exitCode() == 0 && !output.contains(QStringLiteral("Warning")), qPrintable(output));
}

// Qt 6.4's disk cache refuses the cached compilation of a file that declares
// an inline component, and compiles that file again at every start: the
// program's pieces are files of their own (modules/qml/K7/parts).
void QmlLint::noInlineComponents()
{
    const QRegularExpression inlineComponent(QStringLiteral("^\\s*component\\s+\\w+\\s*:"),
                                             QRegularExpression::MultilineOption);
    QStringList found;
    for (const QString& path : qmlFiles()) {
        if (!path.startsWith(QStringLiteral(STRYDE_SOURCE_DIR "/modules/qml/")))
            continue;
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        for (auto it = inlineComponent.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();)
            found.append(path + QStringLiteral(": ") + it.next().captured(0).trimmed());
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(QmlLint)
#include "tst_qmllint.moc"
