#pragma once

#include <QApplication>

namespace trelvano::bench {

// One application for the whole benchmark run, on the off-screen platform.
inline void EnsureApplication()
{
    static const bool ready = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "trelvano_bench";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
        return true;
    }();
    (void)ready;
}

}  // namespace trelvano::bench
