// The child process of the crash-safety test: from operation FIRST on, each
// operation of the cycle is announced on standard output, then run; the test
// kills the process somewhere in between. Only the layers that write files
// are linked, so that it starts quickly.
//
//   store_crash_child DATA_ROOT OUTSIDE FIRST

#include "crash_steps.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    QCoreApplication app(argc, argv);
    using namespace crashtest;
    Program p(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    for (int k = QByteArray(argv[3]).toInt(); k < kTotalSteps; ++k) {
        std::fprintf(stdout, "%d\n", k);
        std::fflush(stdout);
        runStep(p, k);
    }
    std::fputs("done\n", stdout);
    std::fflush(stdout);
    return 0;
}
