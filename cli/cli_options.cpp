#include "cli/cli_options.h"

bool parseOptions(const QStringList& args, Options& o, QString* error)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args.at(i);
        auto value = [&](QString& into) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            into = args.at(++i);
            return true;
        };
        if (!o.command.isEmpty()) {
            o.command << a;
        } else if (a == QLatin1String("--data-dir")) {
            if (!value(o.dataDir))
                return false;
        } else if (a == QLatin1String("--virtual-mouse")) {
            o.virtualMouse = true;
        } else if (a == QLatin1String("--real-time")) {
            o.realTime = true;
        } else if (a == QLatin1String("--virtual-option")) {
            QString v;
            if (!value(v))
                return false;
            o.virtualOptions << v;
        } else if (a == QLatin1String("--virtual-state")) {
            if (!value(o.virtualState))
                return false;
        } else if (a == QLatin1String("--hid-trace")) {
            if (!value(o.hidTrace))
                return false;
        } else if (a == QLatin1String("--dialog-answer")) {
            QString v;
            if (!value(v))
                return false;
            o.dialogAnswers << v;
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            o.command << a;
        }
    }
    if (o.command.isEmpty()) {
        *error = QStringLiteral("no command given");
        return false;
    }
    return true;
}
